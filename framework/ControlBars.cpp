#include "framework/ControlBars.h"

#include <vector>

#include "framework/CommandIds.h"
#include "framework/CommandTarget.h"
#include "framework/FrameWnd.h"
#include "framework/Resources.h"

// -------------------------------------------------------------- CControlBar

bool CControlBar::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == kMsgSizeParent) {
        SizeParentLayout* layout = reinterpret_cast<SizeParentLayout*>(lParam);
        result = 0;
        if (side_ == DockSide::floating || layout->pass != layoutPass() || !IsWindowVisible(hwnd_))
            return true;
        RECT& r = layout->rect;
        if (isVertical()) {
            const int width = barWidth();
            const int left = side_ == DockSide::left ? r.left : r.right - width;
            SetWindowPos(hwnd_, nullptr, left, r.top, width, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            if (side_ == DockSide::left)
                r.left += width;
            else
                r.right -= width;
        } else {
            const int height = barHeight();
            const int top = side_ == DockSide::top ? r.top : r.bottom - height;
            SetWindowPos(hwnd_, nullptr, r.left, top, r.right - r.left, height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            if (side_ == DockSide::top)
                r.top += height;
            else
                r.bottom -= height;
        }
        return true;
    }
    return CWnd::onMessage(message, wParam, lParam, result);
}

int CControlBar::barHeight() const
{
    RECT r = windowRect();
    return r.bottom - r.top;
}

int CControlBar::barWidth() const
{
    RECT r = windowRect();
    return r.right - r.left;
}

int CControlBar::layoutPass() const
{
    return isVertical() ? kLayoutSideBars : kLayoutEdgeBars;
}

void CControlBar::showBar(bool show)
{
    ShowWindow(hwnd_, show ? SW_SHOWNA : SW_HIDE);
}

// --------------------------------------------------------------- CStatusBar

bool CStatusBar::createBar(HWND parent, UINT id)
{
    const RECT none = {0, 0, 0, 0};
    return create(0, STATUSCLASSNAMEA, nullptr,
                  WS_CHILD | WS_VISIBLE | CCS_BOTTOM | CCS_NOPARENTALIGN | CCS_NORESIZE |
                      SBARS_SIZEGRIP,
                  none, parent, id);
}

bool CStatusBar::setIndicators(const UINT* ids, int count)
{
    panes_.clear();
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(send(WM_GETFONT)));
    for (int i = 0; i < count; ++i) {
        Pane pane = {ids[i], 0};
        if (pane.id) {
            const String text = loadResourceString(pane.id);
            SIZE extent = {0, 0};
            GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
            pane.width = extent.cx + 8;
        }
        panes_.push_back(pane);
    }
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    applyParts();
    return true;
}

void CStatusBar::setPaneInfo(int index, UINT id, int width)
{
    if (index < 0 || size_t(index) >= panes_.size())
        return;
    panes_[size_t(index)].id = id;
    panes_[size_t(index)].width = width;
    applyParts();
}

void CStatusBar::applyParts()
{
    if (!hwnd_ || panes_.empty())
        return;
    const RECT client = clientRect();
    // The grip takes the bar's height at the right.
    int right = client.right - (client.bottom - client.top);
    std::vector<int> edges(panes_.size());
    for (size_t i = panes_.size(); i-- > 1;) {
        edges[i] = right;
        right -= panes_[i].width;
    }
    edges[0] = right;
    edges.back() = -1;
    send(SB_SETPARTS, WPARAM(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
}

void CStatusBar::setPaneText(int index, const String& text)
{
    if (paneText(index) != text)
        send(SB_SETTEXTA, WPARAM(index), reinterpret_cast<LPARAM>(text.c_str()));
}

String CStatusBar::paneText(int index) const
{
    const LRESULT length = LOWORD(send(SB_GETTEXTLENGTHA, WPARAM(index)));
    String text(size_t(length) + 1, '\0');
    send(SB_GETTEXTA, WPARAM(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(size_t(length));
    return text;
}

RECT CStatusBar::paneRect(int index) const
{
    RECT r = {0, 0, 0, 0};
    send(SB_GETRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

void CStatusBar::updatePanes(CFrameWnd& frame)
{
    for (size_t i = 0; i < panes_.size(); ++i) {
        const UINT id = panes_[i].id;
        if (!id)
            continue;
        CCmdUI ui(id, CCmdUI::kStatusPane);
        ui.bar = hwnd_;
        ui.index = UINT(i);
        frame.onCmdMsg(id, &ui);
        // A pane nobody enables stays empty.
        if (ui.handled && !ui.enabled)
            setPaneText(int(i), String());
    }
}

int CStatusBar::barHeight() const
{
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(send(WM_GETFONT)));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    return metrics.tmHeight + 8;
}

int CStatusBar::layoutPass() const
{
    // Below a toolbar docked at the bottom, as desktop programs have it.
    return kLayoutStatusBar;
}

bool CStatusBar::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_SIZE) {
        result = defaultProc(message, wParam, lParam);
        applyParts();
        return true;
    }
    return CControlBar::onMessage(message, wParam, lParam, result);
}
