#pragma once

#include "framework/DocView.h"
#include "image/ZoomRatio.h"

class CDibDoc;

// The scrolling, zooming view of one image: centred when smaller than the
// window, zoom steps of eighths up to 16:1 and down to 1:16.
class CDibView : public CScrollView
{
public:
    CDibView();

    CDibDoc* dibDocument() const;
    bool setZoom(int steps, POINT clientPoint);
    RECT imageRect() const;
    SIZE zoomedSize() const;
    const ZoomRatio& zoom() const { return zoom_; }
    String zoomText() const { return zoom_.percentText(); }
    void updateScrollSizes();
    // Where the image goes on a printed page: as large as fits, keeping its
    // shape in physical units.
    static RECT printRect(int imageWidth, int imageHeight, int pageWidth, int pageHeight,
                          int dpiX, int dpiY);

    void onZoomToFit();
    void onZoomIn();
    void onZoomOut();
    void onZoomOneToOne();

    void onDraw(DrawContext& context) override;
    void onInitialUpdate() override;
    void onUpdate(CView* sender, LPARAM hint, void* object) override;
    void onActivateView(bool activate) override;
    int onCreate(CREATESTRUCTA* create) override;
    bool onCmdMsg(UINT id, CCmdUI* ui) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onEraseBackground(HDC dc) override;

private:
    bool fits() const;
    void fitLoops();
    void fitFrame(bool toLeft, bool toTop);
    ZoomRatio zoom_;
};
