#include "shell/app/DibView.h"

#include <cmath>

#include "framework/FrameWnd.h"
#include "shell/app/DibDoc.h"
#include "shell/app/ShellResources.h"

CDibView::CDibView() : zoom_(8, 16)
{
}

CDibDoc* CDibView::dibDocument() const
{
    return static_cast<CDibDoc*>(document());
}

SIZE CDibView::zoomedSize() const
{
    SIZE size = {0, 0};
    if (!dibDocument())
        return size;
    const SIZE image = dibDocument()->imageSize();
    const double ratio = double(zoom_.numerator()) / double(zoom_.denominator());
    size.cx = LONG(std::lround(image.cx * ratio));
    size.cy = LONG(std::lround(image.cy * ratio));
    return size;
}

RECT CDibView::imageRect() const
{
    const SIZE size = zoomedSize();
    RECT r = {0, 0, size.cx, size.cy};
    const RECT client = clientRect();
    if (client.right > size.cx)
        OffsetRect(&r, (client.right - size.cx) / 2, 0);
    if (client.bottom > size.cy)
        OffsetRect(&r, 0, (client.bottom - size.cy) / 2);
    return r;
}

void CDibView::updateScrollSizes()
{
    setScrollSizes(zoomedSize());
}

bool CDibView::setZoom(int steps, POINT p)
{
    if (steps == 0)
        return false;
    const float r0 = float(zoom_.numerator()) / float(zoom_.denominator());
    if (zoom_.step(steps) == 0)
        return false;
    const float r1 = float(zoom_.numerator()) / float(zoom_.denominator());
    const POINT s = scrollPosition();
    POINT target = {LONG(std::lround((float(s.x) + float(p.x)) * r1 / r0)) - p.x,
                    LONG(std::lround((float(s.y) + float(p.y)) * r1 / r0)) - p.y};
    if (steps > 0) {
        updateScrollSizes();
        scrollToPosition(target);
    } else {
        scrollToPosition(target);
        updateScrollSizes();
    }
    invalidate(true);
    return true;
}

bool CDibView::fits() const
{
    const SIZE size = zoomedSize();
    const RECT client = clientRect();
    return size.cx <= client.right && size.cy <= client.bottom;
}

void CDibView::fitLoops()
{
    const RECT client = clientRect();
    const POINT centre = {(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    while (fits() && setZoom(1, centre)) {
    }
    while (!fits() && setZoom(-1, centre)) {
    }
}

void CDibView::onZoomToFit()
{
    fitLoops();
    if (dibDocument())
        dibDocument()->updateStatus();
}

void CDibView::onZoomIn()
{
    const RECT c = clientRect();
    setZoom(1, POINT{(c.left + c.right) / 2, (c.top + c.bottom) / 2});
    if (dibDocument())
        dibDocument()->updateStatus();
}

void CDibView::onZoomOut()
{
    const RECT c = clientRect();
    setZoom(-1, POINT{(c.left + c.right) / 2, (c.top + c.bottom) / 2});
    if (dibDocument())
        dibDocument()->updateStatus();
}

void CDibView::onZoomOneToOne()
{
    if (zoom_.numerator() != zoom_.denominator()) {
        zoom_ = ZoomRatio(8, 16);
        updateScrollSizes();
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
    if (dibDocument())
        dibDocument()->updateStatus();
}

void CDibView::fitFrame(bool toLeft, bool toTop)
{
    CMDIChildWnd* frame = parentFrame();
    if (!frame || IsZoomed(frame->hwnd()) || IsIconic(frame->hwnd()) || !frame->mainFrame())
        return;
    frame->recalcLayout();
    HWND client = frame->mainFrame()->mdiClient();
    RECT area;
    GetClientRect(client, &area);
    RECT placed = frame->windowRect();
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&placed), 2);
    const int x = toLeft ? 0 : placed.left;
    const int y = toTop ? 0 : placed.top;
    MoveWindow(frame->hwnd(), x, y, area.right - x, area.bottom - y, TRUE);
    // Shrink to what the image needs at 1:1.
    const SIZE total = totalSize();
    const RECT view = clientRect();
    const int dx = view.right - total.cx, dy = view.bottom - total.cy;
    if (dx > 0 || dy > 0) {
        RECT now = frame->windowRect();
        MoveWindow(frame->hwnd(), x, y, (now.right - now.left) - (dx > 0 ? dx : 0),
                   (now.bottom - now.top) - (dy > 0 ? dy : 0), TRUE);
    }
}

void CDibView::onInitialUpdate()
{
    updateScrollSizes();
    fitFrame(true, true);
    fitLoops();
    if (dibDocument())
        dibDocument()->updateStatus();
    invalidate(true);
}

void CDibView::onUpdate(CView*, LPARAM hint, void*)
{
    if (hint & 2) {
        const SIZE size = zoomedSize();
        const SIZE total = totalSize();
        if (size.cx != total.cx || size.cy != total.cy) {
            updateScrollSizes();
            fitLoops();
        }
        if (dibDocument())
            dibDocument()->updateStatus();
    }
    invalidate(true);
}

void CDibView::onActivateView(bool activate)
{
    if (activate && dibDocument())
        dibDocument()->updateStatus();
    LockWindowUpdate(nullptr);
}

int CDibView::onCreate(CREATESTRUCTA*)
{
    if (CDibDoc* doc = dibDocument()) {
        doc->setLastView(this);
        doc->updateStatus();
    }
    return 0;
}

RECT CDibView::printRect(int imageWidth, int imageHeight, int pageWidth, int pageHeight, int dpiX,
                         int dpiY)
{
    RECT r = {0, 0, 0, 0};
    if (imageWidth <= 0 || imageHeight <= 0 || pageWidth <= 0 || pageHeight <= 0 || dpiX <= 0 ||
        dpiY <= 0)
        return r;
    // The page width spans the image unless its height would then run off
    // the page; 64-bit products keep large pictures and printers exact.
    long long width = pageWidth;
    long long height = (long long)imageHeight * dpiY * pageWidth / ((long long)imageWidth * dpiX);
    if (height > pageHeight) {
        height = pageHeight;
        width = (long long)imageWidth * dpiX * pageHeight / ((long long)imageHeight * dpiY);
    }
    r.right = LONG(width);
    r.bottom = LONG(height);
    return r;
}

void CDibView::onDraw(DrawContext& context)
{
    CDibDoc* doc = dibDocument();
    const DocumentDib* image = doc ? doc->imageToDraw() : nullptr;
    if (!image || image->width() <= 0 || image->height() <= 0 || !image->bits())
        return;
    const RECT source = {0, 0, image->width(), image->height()};
    RECT destination;
    if (context.printing)
        destination = printRect(image->width(), image->height(), context.pageWidth,
                                context.pageHeight, context.dpiX, context.dpiY);
    else
        destination = imageRect();
    DrawDib(*image, context.dc, source, destination);
}

bool CDibView::onEraseBackground(HDC dc)
{
    const RECT client = clientRect();
    const RECT image = imageRect();
    HBRUSH brush = GetSysColorBrush(COLOR_INACTIVEBORDER);
    // Screen coordinates of the image: its rectangle moves with scrolling.
    const POINT s = scrollPosition();
    RECT shown = image;
    OffsetRect(&shown, -s.x, -s.y);
    const RECT parts[4] = {
        {client.left, client.top, client.right, shown.top},
        {client.left, shown.bottom, client.right, client.bottom},
        {client.left, shown.top, shown.left, shown.bottom},
        {shown.right, shown.top, client.right, shown.bottom},
    };
    for (const RECT& part : parts)
        if (part.right > part.left && part.bottom > part.top)
            FillRect(dc, &part, brush);
    return true;
}

bool CDibView::onCmdMsg(UINT id, CCmdUI* ui)
{
    switch (id) {
    case ID_ZOOM_FIT:
        if (!ui)
            onZoomToFit();
        return true;
    case ID_ZOOM_IN:
        if (ui)
            ui->enable(zoom_.numerator() / zoom_.denominator() < 16);
        else
            onZoomIn();
        return true;
    case ID_ZOOM_OUT:
        if (ui)
            ui->enable(zoom_.denominator() / zoom_.numerator() < 16);
        else
            onZoomOut();
        return true;
    case ID_ZOOM_ONE:
        if (ui)
            ui->enable(true);
        else
            onZoomOneToOne();
        return true;
    default:
        return CScrollView::onCmdMsg(id, ui);
    }
}

bool CDibView::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_USER:
        result = 0;
        return true;
    case WM_SIZE:
        // The centred image moves with the view's size even when the
        // scroll position stays: the bits the system keeps are in the
        // wrong place.
        CScrollView::onMessage(message, wParam, lParam, result);
        invalidate(true);
        return true;
    case WM_ZOOM_AT: {
        const POINT p = {LONG(short(LOWORD(lParam))), LONG(int(lParam) >> 16)};
        setZoom(int(wParam), p);
        result = 1;
        return true;
    }
    case WM_KEYDOWN: {
        UINT scroll = 0, code = 0;
        switch (wParam) {
        case VK_LEFT: scroll = WM_HSCROLL; code = SB_LINEUP; break;
        case VK_RIGHT: scroll = WM_HSCROLL; code = SB_LINEDOWN; break;
        case VK_UP: scroll = WM_VSCROLL; code = SB_LINEUP; break;
        case VK_DOWN: scroll = WM_VSCROLL; code = SB_LINEDOWN; break;
        default: break;
        }
        if (scroll) {
            send(scroll, code);
            result = 0;
            return true;
        }
        break;
    }
    default:
        break;
    }
    return CScrollView::onMessage(message, wParam, lParam, result);
}
