#pragma once

#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "framework/Window.h"

class CFrameWnd;

// Where a bar sits: along one edge of its frame, or in a small window of its
// own.
enum class DockSide { top, bottom, left, right, floating };

// The sides a bar may be docked at.
const UINT kDockTop = 1, kDockBottom = 2, kDockLeft = 4, kDockRight = 8;
const UINT kDockAny = kDockTop | kDockBottom | kDockLeft | kDockRight;

// A bar along one edge of a frame: takes its strip of the layout while
// visible (kMsgSizeParent) and nothing while hidden or floating.
class CControlBar : public CWnd
{
public:
    CControlBar() : side_(DockSide::top) {}
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Thickness the bar wants along the top or bottom edge.
    virtual int barHeight() const;
    // Thickness the bar wants along a side.
    virtual int barWidth() const;
    DockSide dockSide() const { return side_; }
    bool isVertical() const { return side_ == DockSide::left || side_ == DockSide::right; }
    // View > Toolbar and the like.
    virtual void showBar(bool show);
    // The layout pass in which the bar takes its strip.
    virtual int layoutPass() const;

protected:
    DockSide side_;
};

// A status bar common control with panes named by ids: id 0 is the
// stretching message pane; other ids get their text through update-UI.
class CStatusBar : public CControlBar
{
public:
    CStatusBar() { side_ = DockSide::bottom; }

    bool createBar(HWND parent, UINT id);
    // Widths of id panes come from their string resources.
    bool setIndicators(const UINT* ids, int count);
    void setPaneInfo(int index, UINT id, int width);
    void setPaneText(int index, const String& text);
    String paneText(int index) const;
    RECT paneRect(int index) const;
    void updatePanes(CFrameWnd& frame);
    int barHeight() const override;
    int layoutPass() const override;
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
