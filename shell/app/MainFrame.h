#pragma once

#include <memory>

#include "framework/ControlBars.h"
#include "framework/FrameWnd.h"
#include "framework/ToolBar.h"

// The main toolbar: flat, list style, each button labelled with the short tip
// of its command string, buttons sized to the widest label.
class CShellToolBar : public CToolBar
{
public:
    CShellToolBar(int imageWidth, int imageHeight);
    bool loadToolBar(UINT resourceId);
    String buttonText(int index) const;

protected:
    String buttonLabel(UINT id) const override;

private:
    int wantWidth_;
    int wantHeight_;
};

// One tab per MDI child along the bottom of the document area.
class CMdiTabBar : public CWnd
{
public:
    CMdiTabBar();
    ~CMdiTabBar() override;

    bool createBar(CFrameWnd& frame, UINT flags);
    // Follows the MDI client's children: texts, order, selection.
    void rebuild();
    int tabCount() const;
    HWND tabWindow(int index) const;
    String tabText(int index) const;
    int selectedTab() const;
    void selectTab(int index);
    // The text a tab shows for a window title.
    static String tabTextFor(const String& title);

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onContextMenu(HWND window, POINT screenPoint) override;
    bool onLButtonDoubleClick(UINT flags, POINT point) override;

private:
    void layout(RECT& rect);
    void paintStrip();
    HWND mdiClient_;
    HIMAGELIST images_;
    CFrameWnd* frame_;
    int height_;
    int minimumTabs_;
    bool icons_;
    bool atTop_;
};

// An image window: opens maximised when it is the first, and has no border
// while maximised.
class CImageFrame : public CMDIChildWnd
{
public:
    void activateFrame(int show) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void placeMaximised();
    bool placing_ = false;
};

// The shell's main window.
class CMainFrame : public CMDIFrameWnd
{
public:
    CMainFrame();
    ~CMainFrame() override;

    void restoreWindowPlacement(int showCommand);
    void setStatusText(int pane, const String& text);
    const String& statusText(int pane) const { return statusTexts_[pane & 3]; }
    HWND showProgress();
    void hideProgress();
    HWND progressControl() const { return progress_; }

    CShellToolBar& toolBar() { return *toolBar_; }
    CStatusBar& shellStatusBar() { return statusBarObject_; }
    CMdiTabBar& tabBar() { return tabBar_; }

    void onUpdateFrameTitle() override;
    bool onCmdMsg(UINT id, CCmdUI* ui) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    int onCreate(CREATESTRUCTA* create) override;
    void onClose() override;

private:
    CStatusBar statusBarObject_;
    std::unique_ptr<CShellToolBar> toolBar_;
    CMdiTabBar tabBar_;
    HWND progress_;
    String statusTexts_[4];
};

// The placement text "flags,show,minX,minY,maxX,maxY,left,top,right,bottom".
bool parseWindowPlacement(const String& text, WINDOWPLACEMENT& placement);
String formatWindowPlacement(const WINDOWPLACEMENT& placement);
// Keeps a restored placement usable: the normal rectangle moved onto the
// visible screen (shrunk when larger) and a minimised show command turned
// into a normal one.
void clampWindowPlacement(WINDOWPLACEMENT& placement, const RECT& screen);
