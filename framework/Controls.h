#pragma once

#include "framework/Window.h"

// Thin typed helpers over the standard and common controls; each wraps a
// control made by a template (subclassDlgItem) or by create.

class CStatic : public CWnd
{
};

class CButton : public CWnd
{
};

class CComboBox : public CWnd
{
public:
    int count() const { return int(send(CB_GETCOUNT)); }
    int currentSelection() const { return int(send(CB_GETCURSEL)); }
    int setCurrentSelection(int index) { return int(send(CB_SETCURSEL, WPARAM(index))); }
    int insertString(int index, const String& text)
    {
        return int(send(CB_INSERTSTRING, WPARAM(index), LPARAM(text.c_str())));
    }
    int deleteString(int index) { return int(send(CB_DELETESTRING, WPARAM(index))); }
    void resetContent() { send(CB_RESETCONTENT); }
    LRESULT itemData(int index) const { return send(CB_GETITEMDATA, WPARAM(index)); }
    void setItemData(int index, LRESULT data) { send(CB_SETITEMDATA, WPARAM(index), LPARAM(data)); }
    String itemText(int index) const;
};

class CTabCtrl : public CWnd
{
public:
    int insertItem(int index, const String& text);
    int currentSelection() const { return int(send(TCM_GETCURSEL)); }
    int setCurrentSelection(int index) { return int(send(TCM_SETCURSEL, WPARAM(index))); }
    int itemCount() const { return int(send(TCM_GETITEMCOUNT)); }
    void setToolTips(HWND tooltips) { send(TCM_SETTOOLTIPS, WPARAM(tooltips)); }
};

// A tooltip window over a parent; tools are the parent's child windows.
class CToolTipCtrl : public CWnd
{
public:
    bool create(HWND parent, DWORD style = 0);
    bool addTool(HWND tool, const String& text);
    void updateTipText(HWND tool, const String& text);
    void setMaxTipWidth(int width) { send(TTM_SETMAXTIPWIDTH, 0, width); }
    void activate(bool on) { send(TTM_ACTIVATE, on); }
    void setDelayTime(DWORD which, int milliseconds) { send(TTM_SETDELAYTIME, which, milliseconds); }
    void relayEvent(const MSG& message) { send(TTM_RELAYEVENT, 0, LPARAM(&message)); }

private:
    TTTOOLINFOA toolInfo(HWND tool, const String& text) const;
    HWND owner_ = nullptr;
};
