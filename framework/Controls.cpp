#include "framework/Controls.h"

String CComboBox::itemText(int index) const
{
    const LRESULT length = send(CB_GETLBTEXTLEN, WPARAM(index));
    if (length == CB_ERR || length <= 0)
        return String();
    String text(size_t(length) + 1, '\0');
    const LRESULT got = send(CB_GETLBTEXT, WPARAM(index), LPARAM(&text[0]));
    text.resize(got > 0 ? size_t(got) : 0);
    return text;
}

int CTabCtrl::insertItem(int index, const String& text)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text.c_str());
    return int(send(TCM_INSERTITEMA, WPARAM(index), LPARAM(&item)));
}

bool CToolTipCtrl::create(HWND parent, DWORD style)
{
    owner_ = parent;
    RECT none = {0, 0, 0, 0};
    if (!CWnd::create(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | style,
                      none, parent, 0))
        return false;
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

// The record size without the trailing reserved pointer, which older common
// controls refuse.
TTTOOLINFOA CToolTipCtrl::toolInfo(HWND tool, const String& text) const
{
    TTTOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = owner_;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<char*>(text.c_str());
    return info;
}

bool CToolTipCtrl::addTool(HWND tool, const String& text)
{
    if (!tool)
        return false;
    TTTOOLINFOA info = toolInfo(tool, text);
    return send(TTM_ADDTOOLA, 0, LPARAM(&info)) != 0;
}

void CToolTipCtrl::updateTipText(HWND tool, const String& text)
{
    if (!tool)
        return;
    TTTOOLINFOA info = toolInfo(tool, text);
    send(TTM_UPDATETIPTEXTA, 0, LPARAM(&info));
}
