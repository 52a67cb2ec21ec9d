#pragma once

#include "foundation/Rect.h"
#include "foundation/String.h"
#include "framework/Window.h"
#include "image/Pixel.h"
#include "plugin/PreviewViewport.h"

struct Canvas;
class Painter;
class PreviewSurface;
class RenderCallbacks;

// Sent to the parent when the pan offset changed by dragging or was reset.
const UINT WM_PREVIEW_VIEW_CHANGED = 0x80C8;
// Control id of the preview window.
const int kPreviewWindowId = 4096;

// The settings dialog's live preview: renders only the visible part of the
// canvas, shows it zoomed over a checkerboard and pans by dragging. The
// canvas's target is the preview's own picture, never the caller's.
class CPreviewWnd : public CWnd
{
public:
    CPreviewWnd(Canvas* canvas, PreviewSurface* surface);

    // Makes the visible child window (id 4096) over place; resets zoom to
    // 100 % and sizes the surface to the window. Returns the rectangle.
    RECT create(HWND parent, const RECT& place);

    bool canZoomIn() const { return viewport_.canZoomIn(); }
    bool canZoomOut() const { return viewport_.canZoomOut(); }
    bool zoomIn();
    bool zoomOut();
    // Shows the unpainted source of the current view.
    void refresh();
    void copyVisibleFromReference();
    bool renderPreview(Painter& painter, RenderCallbacks& callbacks);
    // The image rectangle the surface shows.
    Rect visibleImageRect() const;
    String zoomText() const { return viewport_.percentText(); }
    // Sets the same gamma ramp for red, green and blue on the window's display.
    bool setDisplayGamma(float exponent);

    Point panOffset() const { return pan_; }
    bool panAllowed() const { return panAllowed_; }
    bool dragging() const { return dragging_; }

    Pixel keyColour;
    Pixel replacementColour;

    bool onPaint() override;
    bool onEraseBackground(HDC dc) override;
    bool onSetCursor(HWND window, UINT hitTest, UINT mouseMessage) override;
    bool onMouseMove(UINT flags, POINT point) override;
    bool onLButtonDown(UINT flags, POINT point) override;
    bool onLButtonUp(UINT flags, POINT point) override;
    bool onLButtonDoubleClick(UINT flags, POINT point) override;

private:
    bool zoomStep(int direction);
    void notifyParent();

    Canvas* canvas_;
    PreviewSurface* surface_;
    PreviewViewport viewport_;
    bool panAllowed_;
    bool dragging_;
    Point dragStart_;
    Point panAtDragStart_;
    Point pan_;
};
