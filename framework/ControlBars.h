#pragma once

#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "framework/Window.h"

class CFrameWnd;

// A bar along one edge of a frame: takes its strip of the layout while
// visible (kMsgSizeParent) and nothing while hidden.
class CControlBar : public CWnd
{
public:
    CControlBar() : atTop_(true) {}
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Height the bar wants.
    virtual int barHeight() const;
    bool atTop() const { return atTop_; }

protected:
    bool atTop_;
};

// A toolbar common control loaded from a toolbar resource (the button ids,
// type 241) and a bitmap of the same id with one image per button; magenta
// is transparent.
class CToolBar : public CControlBar
{
public:
    CToolBar() : images_(nullptr), imageWidth_(16), imageHeight_(15) {}
    ~CToolBar() override;

    bool createBar(HWND parent, DWORD style, UINT id);
    bool loadToolBar(UINT resourceId);
    int buttonCount() const;
    // Update-UI for every button through the frame's route; buttons nobody
    // answers are disabled.
    void updateButtons(CFrameWnd& frame);
    int barHeight() const override;
    bool isButtonEnabled(UINT id) const;
    // A wrapping bar takes as many rows as its buttons need at its width.
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    // The text shown on a button; none by default.
    virtual String buttonLabel(UINT id) const;

    HIMAGELIST images_;
    int imageWidth_;
    int imageHeight_;
    std::vector<UINT> ids_;
};

// A status bar common control with panes named by ids: id 0 is the
// stretching message pane; other ids get their text through update-UI.
class CStatusBar : public CControlBar
{
public:
    CStatusBar() { atTop_ = false; }

    bool createBar(HWND parent, UINT id);
    // Widths of id panes come from their string resources.
    bool setIndicators(const UINT* ids, int count);
    void setPaneInfo(int index, UINT id, int width);
    UINT paneId(int index) const { return panes_[size_t(index)].id; }
    int paneCount() const { return int(panes_.size()); }
    void setPaneText(int index, const String& text);
    String paneText(int index) const;
    RECT paneRect(int index) const;
    void updatePanes(CFrameWnd& frame);
    int barHeight() const override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct Pane
    {
        UINT id;
        int width;
    };
    void applyParts();
    std::vector<Pane> panes_;
};
