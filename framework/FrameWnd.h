#pragma once

#include <vector>

#include <windows.h>
#include <shellapi.h>

#include "framework/CommandIds.h"
#include "framework/CommandTarget.h"
#include "framework/Window.h"

class CControlBar;
class CDocument;
class CMultiDocTemplate;
class CStatusBar;
class CView;

// The passes of a frame's layout: the status bar takes the bottom edge
// first, other bars along the top and bottom edges span the frame, bars
// along the sides fill the height between them, and bars that belong to the
// client window (a tab bar) come last.
enum LayoutPass
{
    kLayoutStatusBar,
    kLayoutEdgeBars,
    kLayoutSideBars,
    kLayoutInnerBars,
    kLayoutPassCount
};

// What a bar gets with kMsgSizeParent: the room still free and the pass; a
// bar takes its strip off an edge in its own pass and moves itself there.
struct SizeParentLayout
{
    RECT rect;
    int pass;
};

// A top-level or MDI-child frame: a window of the framework's frame class
// whose unhandled messages go to the right default procedure, command
// routing with update-UI, and the layout of its bars around the client.
class CFrameWnd : public CWnd, public CCmdTarget
{
public:
    CFrameWnd();
    ~CFrameWnd() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onCommand(UINT id, UINT code, HWND control) override;
    bool onNotify(UINT id, NMHDR* header, LRESULT& result) override;
    bool onCmdMsg(UINT id, CCmdUI* ui) override;

    // Runs a command unless its update-UI says disabled or nobody has it;
    // true when it ran.
    bool executeCommand(UINT id);
    // Asks the route whether the command is enabled (false when unhandled).
    bool isCommandEnabled(UINT id);
    // Update-UI for every item of a popup; items nobody answers are greyed.
    void updateMenuPopup(HMENU popup);

    // Bars above, below, then the client window in the rest.
    virtual void recalcLayout();
    // The window that takes the room the bars leave.
    virtual HWND clientWindow() const { return nullptr; }
    virtual CView* activeView() const { return nullptr; }
    // Text of the status bar's message pane (none when there is no bar).
    void setMessageText(const String& text);
    void setStatusBar(CStatusBar* bar) { statusBar_ = bar; }
    // A bar window that View > Toolbar or View > Status Bar shows and hides.
    void showControlBar(HWND bar, bool show);

protected:
    // Creates a window of the frame class with the icon of iconId.
    bool createFrameWindow(DWORD exStyle, const char* title, DWORD style, const RECT& rect,
                           HWND parent, HMENU menu, UINT iconId, const char* classPrefix,
                           void* createParam);
    virtual int onCreate(CREATESTRUCTA* create);
    virtual void onClose();
    virtual LRESULT frameDefault(UINT message, WPARAM wParam, LPARAM lParam);

    CStatusBar* statusBar_;
    HWND toolBarWindow_;

private:
    static LRESULT CALLBACK bindingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    friend class CMDIChildWnd;
};

class CMDIChildWnd;

// The main window of an MDI program: menu and accelerators from one
// resource id, the MDI client, menu switching as children activate, and
// routing to the active child first.
class CMDIFrameWnd : public CFrameWnd
{
public:
    CMDIFrameWnd();

    // Menu, accelerators, icon and title (string of the id) of resource id.
    bool loadFrame(UINT resourceId, DWORD style);
    HWND mdiClient() const { return mdiClient_; }
    CMDIChildWnd* activeChild() const;
    HACCEL accelerators() const { return accelerators_; }
    HWND clientWindow() const override { return mdiClient_; }
    CView* activeView() const override;

    // Shows this menu bar (the default one when null) with its Window list.
    void setMenuBar(HMENU menu);
    // Title from the active document; derived frames add to it.
    virtual void onUpdateFrameTitle();
    void delayUpdateFrameTitle() { titleDirty_ = true; }

    bool onCmdMsg(UINT id, CCmdUI* ui) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onCommand(UINT id, UINT code, HWND control) override;

    // The idle pass: bars, panes and a pending title.
    void idleUpdate();
    // Opens each file of a drop in turn as a document, then releases it.
    void openDroppedFiles(HDROP drop);

protected:
    int onCreate(CREATESTRUCTA* create) override;
    void onClose() override;
    LRESULT frameDefault(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND mdiClient_;
    HMENU defaultMenu_;
    HACCEL accelerators_;
    bool titleDirty_;
    String appTitle_;
};

// One MDI child: one view of a document filling its client area.
class CMDIChildWnd : public CFrameWnd
{
public:
    CMDIChildWnd();

    // Creates the child in the frame's MDI client, then its view.
    bool createChild(CMDIFrameWnd* frame, CMultiDocTemplate* docTemplate, CDocument* document,
                     CView* view);
    virtual void activateFrame(int show);
    CMDIFrameWnd* mainFrame() const { return frame_; }
    CView* activeView() const override { return view_; }
    CDocument* document() const { return document_; }
    CMultiDocTemplate* docTemplate() const { return template_; }
    HWND clientWindow() const override;
    void onUpdateFrameTitle();
    // Destroys the window through the MDI client.
    void destroyChild();
    // The view's window is going.
    void detachView(CView* view)
    {
        if (view_ == view)
            view_ = nullptr;
    }

    bool onCmdMsg(UINT id, CCmdUI* ui) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void onClose() override;
    LRESULT frameDefault(UINT message, WPARAM wParam, LPARAM lParam) override;
    void postNcDestroy() override;

private:
    CMDIFrameWnd* frame_;
    CMultiDocTemplate* template_;
    CDocument* document_;
    CView* view_;
};
