#include "plugin/PreviewWnd.h"

#include <algorithm>
#include <cmath>

#include "engine/Canvas.h"
#include "engine/Painter.h"
#include "foundation/Vec2.h"
#include "framework/Application.h"
#include "image/Checkerboard.h"
#include "image/ImageWarp.h"
#include "plugin/PluginResources.h"
#include "plugin/PreviewSurface.h"

CPreviewWnd::CPreviewWnd(Canvas* canvas, PreviewSurface* surface)
    : canvas_(canvas), surface_(surface), viewport_(2, 3), panAllowed_(false), dragging_(false)
{
}

RECT CPreviewWnd::create(HWND parent, const RECT& place)
{
    Rect r(place.left, place.top, place.right, place.bottom);
    r.normalize();
    const RECT placed = {r.left, r.top, r.right, r.bottom};
    CWnd::create(0, nullptr, "", WS_CHILD | WS_VISIBLE, placed, parent, kPreviewWindowId);
    const Rect image = canvas_ && canvas_->reference ? canvas_->reference->bounds() : Rect();
    viewport_.setRects(image, Rect(0, 0, r.right - r.left, r.bottom - r.top));
    panAllowed_ = viewport_.canScroll();
    if (surface_)
        surface_->allocate(r.right - r.left, r.bottom - r.top, 3);
    return placed;
}

Rect CPreviewWnd::visibleImageRect() const
{
    const Image* reference = canvas_ ? canvas_->reference : nullptr;
    if (!surface_ || !reference)
        return Rect();
    return previewVisibleImageRect(surface_->image.width(), surface_->image.height(),
                                   viewport_.ratio(), pan_, reference->width(),
                                   reference->height());
}

void CPreviewWnd::copyVisibleFromReference()
{
    if (!canvas_ || !canvas_->reference || !canvas_->target)
        return;
    Rect visible = visibleImageRect();
    // Clipped to both pictures: the pan offset is not limited.
    Rect bounds = canvas_->reference->bounds();
    visible.left = std::max(visible.left, 0);
    visible.top = std::max(visible.top, 0);
    visible.right = std::min(visible.right, std::min(bounds.right, canvas_->target->width()));
    visible.bottom = std::min(visible.bottom, std::min(bounds.bottom, canvas_->target->height()));
    if (visible.right <= visible.left || visible.bottom <= visible.top)
        return;
    canvas_->target->copyRectAt(*canvas_->reference, Point(visible.left, visible.top), visible);
}

void CPreviewWnd::refresh()
{
    panAllowed_ = true;
    copyVisibleFromReference();
    if (isWindow())
        invalidate(false);
}

bool CPreviewWnd::renderPreview(Painter& painter, RenderCallbacks& callbacks)
{
    if (!canvas_ || !canvas_->reference || !canvas_->target)
        return false;
    Canvas canvas;
    canvas.reference = canvas_->reference;
    canvas.target = canvas_->target;
    canvas.area = visibleImageRect();
    const Rect bounds = canvas.reference->bounds();
    canvas.area.left = std::max(canvas.area.left, bounds.left);
    canvas.area.top = std::max(canvas.area.top, bounds.top);
    canvas.area.right = std::min(canvas.area.right, std::min(bounds.right, canvas.target->width()));
    canvas.area.bottom =
        std::min(canvas.area.bottom, std::min(bounds.bottom, canvas.target->height()));
    canvas.origin = Point(canvas.area.left, canvas.area.top);
    if (canvas.area.right <= canvas.area.left || canvas.area.bottom <= canvas.area.top)
        return false;
    return painter.paint(canvas, callbacks);
}

bool CPreviewWnd::zoomStep(int direction)
{
    const float old = viewport_.ratio();
    if (!(direction > 0 ? viewport_.zoomIn() : viewport_.zoomOut()))
        return false;
    pan_ = panAfterZoom(pan_, old, viewport_.ratio());
    panAllowed_ = true;
    copyVisibleFromReference();
    if (isWindow())
        invalidate(false);
    return true;
}

bool CPreviewWnd::zoomIn()
{
    return zoomStep(+1);
}

bool CPreviewWnd::zoomOut()
{
    return zoomStep(-1);
}

bool CPreviewWnd::onPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (surface_ && !surface_->image.isEmpty()) {
        Image& picture = surface_->image;
        Checkerboard(Pixel(255, 255, 255, 255), Pixel(191, 191, 191, 255)).fill(picture);
        if (canvas_ && canvas_->target && !canvas_->target->isEmpty()) {
            const float cx = float((0 + picture.width()) >> 1);
            const float cy = float((0 + picture.height()) >> 1);
            transformImage(*canvas_->target, picture, Vec2(cx - float(pan_.x), cy - float(pan_.y)),
                           viewport_.ratio(), 0.0f);
        }
        if (keyColour.word() != replacementColour.word())
            picture.replaceMaskedColor(keyColour, replacementColour, 0xFFFFFFu);
        surface_->draw(dc);
    }
    EndPaint(hwnd_, &ps);
    return true;
}

bool CPreviewWnd::onEraseBackground(HDC dc)
{
    HWND parent = GetParent(hwnd_);
    HBRUSH brush = parent ? reinterpret_cast<HBRUSH>(SendMessageA(
                                parent, WM_CTLCOLORDLG, WPARAM(dc), LPARAM(parent)))
                          : nullptr;
    const RECT r = clientRect();
    FillRect(dc, &r, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

bool CPreviewWnd::onSetCursor(HWND, UINT, UINT)
{
    if (panAllowed_) {
        HCURSOR cursor = LoadCursorA(resourceModule(), MAKEINTRESOURCEA(IDC_PAN_CURSOR));
        SetCursor(cursor ? cursor : LoadCursorA(nullptr, IDC_SIZEALL));
    } else {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    }
    return true;
}

bool CPreviewWnd::onLButtonDown(UINT, POINT point)
{
    if (!panAllowed_)
        return true;
    dragStart_ = Point(point.x, point.y);
    panAtDragStart_ = pan_;
    dragging_ = true;
    SetCapture(hwnd_);
    return true;
}

bool CPreviewWnd::onMouseMove(UINT, POINT point)
{
    if (!dragging_)
        return false;
    const Point moved(panAtDragStart_.x - (point.x - dragStart_.x),
                      panAtDragStart_.y - (point.y - dragStart_.y));
    if (moved.x != pan_.x || moved.y != pan_.y) {
        pan_ = moved;
        notifyParent();
    }
    return true;
}

bool CPreviewWnd::onLButtonUp(UINT, POINT)
{
    if (dragging_) {
        dragging_ = false;
        if (GetCapture() == hwnd_)
            ReleaseCapture();
    }
    return true;
}

bool CPreviewWnd::onLButtonDoubleClick(UINT, POINT)
{
    pan_ = Point(0, 0);
    notifyParent();
    return false;
}

void CPreviewWnd::notifyParent()
{
    if (HWND parent = GetParent(hwnd_))
        SendMessageA(parent, WM_PREVIEW_VIEW_CHANGED, 0, 0);
}

bool CPreviewWnd::setDisplayGamma(float exponent)
{
    WORD ramp[3][256];
    for (int k = 0; k < 256; ++k) {
        const double level = 65535.0 * std::pow((k + 1) / 256.0, double(exponent)) + 0.5;
        // A NaN exponent gives 0, not an undefined conversion.
        ramp[0][k] = ramp[1][k] = ramp[2][k] = WORD(level > 0.0 ? std::min(level, 65535.0) : 0.0);
    }
    HDC dc = GetDC(hwnd_);
    if (!dc)
        return false;
    const bool set = SetDeviceGammaRamp(dc, ramp) != FALSE;
    ReleaseDC(hwnd_, dc);
    return set;
}
