#include "framework/ControlBars.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/CommandIds.h"
#include "framework/CommandTarget.h"
#include "framework/FrameWnd.h"
#include "framework/Resources.h"

// -------------------------------------------------------------- CControlBar

bool CControlBar::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == kMsgSizeParent) {
        SizeParentLayout* layout = reinterpret_cast<SizeParentLayout*>(lParam);
        if (!IsWindowVisible(hwnd_))
            return true;
        RECT& r = layout->rect;
        const int height = barHeight();
        const int top = atTop_ ? r.top : r.bottom - height;
        SetWindowPos(hwnd_, nullptr, r.left, top, r.right - r.left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (atTop_)
            r.top += height;
        else
            r.bottom -= height;
        result = 0;
        return true;
    }
    return CWnd::onMessage(message, wParam, lParam, result);
}

int CControlBar::barHeight() const
{
    RECT r = windowRect();
    return r.bottom - r.top;
}

// ----------------------------------------------------------------- CToolBar

CToolBar::~CToolBar()
{
    if (images_)
        ImageList_Destroy(images_);
}

bool CToolBar::createBar(HWND parent, DWORD style, UINT id)
{
    const RECT none = {0, 0, 0, 0};
    if (!create(0, TOOLBARCLASSNAMEA, nullptr,
                style | WS_CHILD | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, none,
                parent, id))
        return false;
    send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return true;
}

bool CToolBar::loadToolBar(UINT resourceId)
{
    HINSTANCE module = resourceModule();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(241));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const WORD* data = loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    if (!data || size < 8 || data[0] != 1)
        return false;
    const WORD count = data[3];
    if (size < 8u + 2u * count)
        return false;
    imageWidth_ = data[1];
    imageHeight_ = data[2];
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(resourceId),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap)
        return false;
    if (images_)
        ImageList_Destroy(images_);
    images_ = ImageList_Create(imageWidth_, imageHeight_, ILC_COLOR24 | ILC_MASK, count, 0);
    ImageList_AddMasked(images_, bitmap, RGB(255, 0, 255));
    DeleteObject(bitmap);
    send(TB_SETBITMAPSIZE, 0, MAKELPARAM(imageWidth_, imageHeight_));
    send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    ids_.clear();
    int image = 0;
    for (WORD i = 0; i < count; ++i) {
        TBBUTTON button = {};
        const UINT id = data[4 + i];
        ids_.push_back(id);
        if (id == 0) {
            button.fsStyle = BTNS_SEP;
            button.iBitmap = 6;
        } else {
            button.iBitmap = image++;
            button.idCommand = int(id);
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
            button.iString = -1;
            const String label = buttonLabel(id);
            if (!label.empty()) {
                std::string list = label;
                list.push_back('\0');
                button.iString = INT_PTR(send(TB_ADDSTRINGA, 0,
                                              reinterpret_cast<LPARAM>(list.c_str())));
            }
        }
        send(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    send(TB_AUTOSIZE);
    return true;
}

String CToolBar::buttonLabel(UINT) const
{
    return String();
}

int CToolBar::buttonCount() const
{
    return int(send(TB_BUTTONCOUNT));
}

bool CToolBar::isButtonEnabled(UINT id) const
{
    return send(TB_ISBUTTONENABLED, id) != 0;
}

void CToolBar::updateButtons(CFrameWnd& frame)
{
    for (UINT id : ids_) {
        if (!id)
            continue;
        CCmdUI ui(id, CCmdUI::kToolButton);
        ui.bar = hwnd_;
        const bool known = frame.onCmdMsg(id, &ui);
        if (!ui.handled)
            ui.enable(known);
    }
}

bool CToolBar::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == kMsgSizeParent && IsWindowVisible(hwnd_) &&
        (GetWindowLongA(hwnd_, GWL_STYLE) & TBSTYLE_WRAPABLE)) {
        RECT& r = reinterpret_cast<SizeParentLayout*>(lParam)->rect;
        const int width = r.right - r.left;
        SetWindowPos(hwnd_, nullptr, r.left, r.top, width, barHeight(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        // Lay the buttons out at this width and measure the rows they took.
        send(TB_AUTOSIZE);
        int bottom = 0;
        const int count = buttonCount();
        for (int i = 0; i < count; ++i) {
            RECT item = {0, 0, 0, 0};
            if (send(TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item)))
                bottom = std::max(bottom, int(item.bottom));
        }
        const int height = std::max(barHeight(), bottom + 4);
        SetWindowPos(hwnd_, nullptr, r.left, r.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        r.top += height;
        result = 0;
        return true;
    }
    return CControlBar::onMessage(message, wParam, lParam, result);
}

int CToolBar::barHeight() const
{
    const LRESULT size = send(TB_GETBUTTONSIZE);
    return HIWORD(size) + 6;
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

bool CStatusBar::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_SIZE) {
        result = defaultProc(message, wParam, lParam);
        applyParts();
        return true;
    }
    return CControlBar::onMessage(message, wParam, lParam, result);
}
