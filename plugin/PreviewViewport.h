#pragma once

#include "foundation/Rect.h"
#include "image/ZoomRatio.h"

// Zoom and geometry of the settings dialog's preview: the image and window
// rectangles, the scaled image and the scroll origin within it.
class PreviewViewport : public ZoomRatio
{
public:
    // The preview walks 2/6 .. 2/2 .. 6/2, i.e. 33.3 % to 300 %.
    PreviewViewport(uint32_t base = 2, uint32_t maximum = 3);
    ~PreviewViewport() override;

    // Resets the zoom to 1:1, stores both rectangles normalised and centres.
    void setRects(const Rect& image, const Rect& window);

    Rect scaledImageRect() const;
    // The window narrowed to the scaled image and centred where it is smaller.
    Rect displayRect() const;
    Point clampOrigin(Point p) const;
    void centre();
    bool scrollTo(Point p);
    bool scrollBy(Point delta);
    bool canScroll() const;
    Rect visibleRect() const;
    Point visibleCentre() const;

    // Whole-number ratio tests of the preview's zoom buttons.
    bool canZoomIn() const { return numerator() / denominator() < maximum(); }
    bool canZoomOut() const { return denominator() / numerator() < maximum(); }
    float ratio() const { return float(numerator()) / float(denominator()); }

    const Rect& imageRect() const { return image_; }
    const Rect& windowRect() const { return window_; }
    Point origin() const { return origin_; }

private:
    Rect image_;
    Rect window_;
    Point origin_;
};

// The image rectangle shown by a preview surface of the given size whose
// centre shows the image point (image centre + pan / ratio).
Rect previewVisibleImageRect(int surfaceWidth, int surfaceHeight, float ratio, Point pan,
                             int imageWidth, int imageHeight);

// The pan offset that keeps the centred image point in place across a zoom
// step from oldRatio to newRatio (components truncated toward zero).
Point panAfterZoom(Point pan, float oldRatio, float newRatio);
