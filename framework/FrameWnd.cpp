#include "framework/FrameWnd.h"

#include <commctrl.h>
#include <shellapi.h>

#include "framework/Application.h"
#include "framework/ControlBars.h"
#include "framework/ToolBar.h"
#include "framework/DocView.h"
#include "framework/FrameworkErrors.h"
#include "framework/Resources.h"
#include "framework/WinApp.h"

namespace {

// The frame whose window is being created: bound at its first message.
CFrameWnd* pendingFrame = nullptr;

bool isRoutable(UINT id)
{
    return id != 0 && id < 0xF000;
}

} // namespace

// ---------------------------------------------------------------- CFrameWnd

CFrameWnd::CFrameWnd() : statusBar_(nullptr), toolBarWindow_(nullptr)
{
}

CFrameWnd::~CFrameWnd()
{
}

LRESULT CALLBACK CFrameWnd::bindingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!CWnd::fromHandle(window) && pendingFrame) {
        CFrameWnd* frame = pendingFrame;
        pendingFrame = nullptr;
        frame->bind(window);
        frame->previousProc_ = &DefWindowProcA;
        frame->ownsWindow_ = true;
    }
    if (!CWnd::fromHandle(window)) {
        // Messages of a child after its object is gone still need the MDI
        // child's default handling.
        if (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_MDICHILD)
            return DefMDIChildProcA(window, message, wParam, lParam);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return CWnd::standardProc(window, message, wParam, lParam);
}

bool CFrameWnd::createFrameWindow(DWORD exStyle, const char* title, DWORD style, const RECT& rect,
                                  HWND parent, HMENU menu, UINT iconId, const char* classPrefix,
                                  void* createParam)
{
    const String className = String::fromFormat("%s%u", classPrefix, iconId);
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    HINSTANCE module = GetModuleHandleA(nullptr);
    if (!GetClassInfoExA(module, className.c_str(), &existing)) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &CFrameWnd::bindingProc;
        wc.hInstance = module;
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        wc.hIcon = LoadIconA(resourceModule(), MAKEINTRESOURCEA(iconId));
        wc.hIconSm = static_cast<HICON>(LoadImageA(resourceModule(), MAKEINTRESOURCEA(iconId),
                                                   IMAGE_ICON, 16, 16, 0));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className.c_str();
        if (!RegisterClassExA(&wc))
            return false;
    }
    CFrameWnd* outer = pendingFrame;
    pendingFrame = this;
    HWND window = nullptr;
    if (exStyle & WS_EX_MDICHILD) {
        MDICREATESTRUCTA mdi = {};
        mdi.szClass = className.c_str();
        mdi.szTitle = title ? title : "";
        mdi.hOwner = module;
        mdi.x = rect.left;
        mdi.y = rect.top;
        mdi.cx = rect.right - rect.left;
        mdi.cy = rect.bottom - rect.top;
        mdi.style = style;
        mdi.lParam = reinterpret_cast<LPARAM>(createParam);
        window = reinterpret_cast<HWND>(
            SendMessageA(parent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mdi)));
    } else {
        window = CreateWindowExA(exStyle, className.c_str(), title ? title : "", style,
                                 rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parent, menu, module, createParam);
    }
    pendingFrame = outer;
    return window != nullptr && hwnd_ == window;
}

LRESULT CFrameWnd::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (onMessage(message, wParam, lParam, result))
        return result;
    return frameDefault(message, wParam, lParam);
}

LRESULT CFrameWnd::frameDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

int CFrameWnd::onCreate(CREATESTRUCTA*)
{
    return 0;
}

void CFrameWnd::onClose()
{
    DestroyWindow(hwnd_);
}

bool CFrameWnd::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_CREATE: {
        const LRESULT base = frameDefault(message, wParam, lParam);
        result = base == -1 ? -1 : onCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
        return true;
    }
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            recalcLayout();
        result = 0;
        return true;
    case WM_CLOSE:
        onClose();
        return true;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam))
            updateMenuPopup(reinterpret_cast<HMENU>(wParam));
        return false;
    case WM_MENUSELECT: {
        const UINT id = LOWORD(wParam), flags = HIWORD(wParam);
        if (flags == 0xFFFF && !lParam)
            setMessageText(loadResourceString(kIdsIdleMessage));
        else if (!(flags & (MF_POPUP | MF_SEPARATOR)) && id)
            setMessageText(commandPrompt(id));
        return false;
    }
    default:
        return CWnd::onMessage(message, wParam, lParam, result);
    }
}

bool CFrameWnd::onCommand(UINT id, UINT code, HWND control)
{
    // Menu items (code 0, no control), accelerators (code 1) and toolbar
    // buttons; other control notifications are not commands.
    if (control && control != toolBarWindow_)
        return false;
    if (code > 1 || !isRoutable(id))
        return false;
    executeCommand(id);
    return true;
}

bool CFrameWnd::onNotify(UINT, NMHDR* header, LRESULT& result)
{
    if (header->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        static String tip;
        tip = commandTip(UINT(header->idFrom));
        info->lpszText = const_cast<char*>(tip.c_str());
        result = 0;
        return true;
    }
    return false;
}

bool CFrameWnd::onCmdMsg(UINT id, CCmdUI* ui)
{
    if (id == kIdViewToolbar || id == kIdViewStatusBar) {
        HWND bar = id == kIdViewToolbar ? toolBarWindow_
                                        : (statusBar_ ? statusBar_->hwnd() : nullptr);
        if (!bar)
            return false;
        if (ui) {
            ui->enable(true);
            ui->setCheck(IsWindowVisible(bar) != FALSE);
        } else {
            showControlBar(bar, !IsWindowVisible(bar));
        }
        return true;
    }
    return false;
}

void CFrameWnd::showControlBar(HWND bar, bool show)
{
    if (CControlBar* controlBar = dynamic_cast<CControlBar*>(CWnd::fromHandle(bar)))
        controlBar->showBar(show);
    else
        ShowWindow(bar, show ? SW_SHOWNA : SW_HIDE);
    recalcLayout();
}

bool CFrameWnd::isCommandEnabled(UINT id)
{
    CCmdUI probe(id, CCmdUI::kProbe);
    return onCmdMsg(id, &probe) && (!probe.handled || probe.enabled);
}

bool CFrameWnd::executeCommand(UINT id)
{
    if (!isCommandEnabled(id))
        return false;
    return onCmdMsg(id, nullptr);
}

void CFrameWnd::updateMenuPopup(HMENU popup)
{
    if (CWinApp* app = CWinApp::currentApp())
        app->updateRecentFileMenu(popup);
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id == UINT(-1) || !isRoutable(id))
            continue;
        CCmdUI ui(id, CCmdUI::kMenuItem);
        ui.menu = popup;
        ui.index = UINT(i);
        // A command with a handler and no update-UI is enabled; one that
        // nobody has is greyed.
        const bool known = onCmdMsg(id, &ui);
        if (!ui.handled)
            ui.enable(known);
    }
}

void CFrameWnd::recalcLayout()
{
    if (!hwnd_)
        return;
    SizeParentLayout layout;
    GetClientRect(hwnd_, &layout.rect);
    HWND client = clientWindow();
    for (layout.pass = 0; layout.pass < kLayoutPassCount; ++layout.pass)
        for (HWND child = GetWindow(hwnd_, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (child != client)
                SendMessageA(child, kMsgSizeParent, 0, reinterpret_cast<LPARAM>(&layout));
        }
    if (client) {
        const RECT& r = layout.rect;
        SetWindowPos(client, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CFrameWnd::setMessageText(const String& text)
{
    if (statusBar_ && statusBar_->isWindow())
        statusBar_->setPaneText(0, text);
}

// ------------------------------------------------------------- CMDIFrameWnd

namespace {

// The "&Window" popup of a menu bar, which lists the MDI children.
HMENU windowMenuOf(HMENU menu)
{
    if (!menu)
        return nullptr;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[64] = "";
        GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
        if (lstrcmpiA(text, "&Window") == 0)
            return GetSubMenu(menu, i);
    }
    return nullptr;
}

} // namespace

CMDIFrameWnd::CMDIFrameWnd()
    : mdiClient_(nullptr), defaultMenu_(nullptr), accelerators_(nullptr), titleDirty_(true)
{
}

bool CMDIFrameWnd::loadFrame(UINT resourceId, DWORD style)
{
    HINSTANCE module = resourceModule();
    defaultMenu_ = LoadMenuA(module, MAKEINTRESOURCEA(resourceId));
    accelerators_ = LoadAcceleratorsA(module, MAKEINTRESOURCEA(resourceId));
    appTitle_ = loadResourceString(resourceId);
    const size_t cut = appTitle_.find('\n');
    if (cut != String::npos)
        appTitle_.resize(cut);
    if (appTitle_.empty() && CApplication::current())
        appTitle_ = CApplication::current()->title();
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT rect = {area.left + 20, area.top + 20, area.left + 20 + 1000, area.top + 20 + 740};
    if (rect.right > area.right) rect.right = area.right;
    if (rect.bottom > area.bottom) rect.bottom = area.bottom;
    return createFrameWindow(0, appTitle_.c_str(), style | WS_CLIPCHILDREN, rect, nullptr,
                             defaultMenu_, resourceId, "QxFrame", nullptr);
}

int CMDIFrameWnd::onCreate(CREATESTRUCTA*)
{
    CLIENTCREATESTRUCT client = {};
    client.hWindowMenu = windowMenuOf(defaultMenu_);
    client.idFirstChild = kIdFirstMdiChild;
    mdiClient_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                     WS_VSCROLL | WS_HSCROLL,
                                 0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(UINT_PTR(kIdPaneFirst)),
                                 GetModuleHandleA(nullptr), &client);
    return mdiClient_ ? 0 : -1;
}

LRESULT CMDIFrameWnd::frameDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcA(hwnd_, mdiClient_, message, wParam, lParam);
}

CMDIChildWnd* CMDIFrameWnd::activeChild() const
{
    if (!mdiClient_)
        return nullptr;
    HWND active = reinterpret_cast<HWND>(SendMessageA(mdiClient_, WM_MDIGETACTIVE, 0, 0));
    return dynamic_cast<CMDIChildWnd*>(CWnd::fromHandle(active));
}

CView* CMDIFrameWnd::activeView() const
{
    CMDIChildWnd* child = activeChild();
    return child ? child->activeView() : nullptr;
}

void CMDIFrameWnd::setMenuBar(HMENU menu)
{
    if (!menu)
        menu = defaultMenu_;
    if (!mdiClient_ || !menu)
        return;
    SendMessageA(mdiClient_, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                 reinterpret_cast<LPARAM>(windowMenuOf(menu)));
    DrawMenuBar(hwnd_);
}

void CMDIFrameWnd::onUpdateFrameTitle()
{
    titleDirty_ = false;
    String title = appTitle_;
    CMDIChildWnd* child = activeChild();
    if (child) {
        child->onUpdateFrameTitle();
        // A maximised child's title is shown by the system in brackets.
        if (child->document() && !IsZoomed(child->hwnd()))
            title += " - " + child->document()->title();
    }
    if (text() != title)
        setText(title);
}

void CMDIFrameWnd::idleUpdate()
{
    if (CToolBar* bar = dynamic_cast<CToolBar*>(CWnd::fromHandle(toolBarWindow_)))
        if (IsWindowVisible(bar->hwnd()))
            bar->updateButtons(*this);
    if (statusBar_ && IsWindowVisible(statusBar_->hwnd()))
        statusBar_->updatePanes(*this);
    if (titleDirty_)
        onUpdateFrameTitle();
}

bool CMDIFrameWnd::onCmdMsg(UINT id, CCmdUI* ui)
{
    if (CMDIChildWnd* child = activeChild())
        if (child->onCmdMsg(id, ui))
            return true;
    UINT mdiMessage = 0;
    WPARAM mdiParam = 0;
    switch (id) {
    case kIdWindowCascade: mdiMessage = WM_MDICASCADE; break;
    case kIdWindowTileHorz: mdiMessage = WM_MDITILE; mdiParam = MDITILE_HORIZONTAL; break;
    case kIdWindowTileVert: mdiMessage = WM_MDITILE; mdiParam = MDITILE_VERTICAL; break;
    case kIdWindowArrange: mdiMessage = WM_MDIICONARRANGE; break;
    case kIdNextPane: case kIdPrevPane: mdiMessage = WM_MDINEXT; break;
    default: break;
    }
    if (mdiMessage) {
        if (ui)
            ui->enable(activeChild() != nullptr);
        else if (mdiMessage == WM_MDINEXT)
            SendMessageA(mdiClient_, WM_MDINEXT, 0, id == kIdPrevPane);
        else
            SendMessageA(mdiClient_, mdiMessage, mdiParam, 0);
        return true;
    }
    if (CFrameWnd::onCmdMsg(id, ui))
        return true;
    CWinApp* app = CWinApp::currentApp();
    return app && app->onCmdMsg(id, ui);
}

bool CMDIFrameWnd::onCommand(UINT id, UINT code, HWND control)
{
    return CFrameWnd::onCommand(id, code, control);
}

void CMDIFrameWnd::openDroppedFiles(HDROP drop)
{
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // One file that cannot be opened (or throws) does not stop the rest,
        // and the drop is always released.
        try {
            // Paths may be longer than MAX_PATH; a cut one would name another file.
            std::vector<char> path(size_t(DragQueryFileA(drop, i, nullptr, 0)) + 1, '\0');
            DragQueryFileA(drop, i, path.data(), UINT(path.size()));
            if (CWinApp* app = CWinApp::currentApp())
                app->openDocumentFile(path.data());
        } catch (...) {
            reportCurrentException("dropped file");
        }
    }
    DragFinish(drop);
}

bool CMDIFrameWnd::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case kMsgIdleUpdateCmdUi:
        idleUpdate();
        return true;
    case kMsgShellOpen:
        if (CWinApp* app = CWinApp::currentApp())
            if (app->mainWindow == hwnd_)
                app->runShellOpens();
        return true;
    case WM_ENABLE:
        // Opens a dialog held run once it is gone: posted, since this comes
        // inside the dialog's own teardown.
        if (CWinApp* app = CWinApp::currentApp())
            if (wParam && app->mainWindow == hwnd_ && app->shellOpensWaiting())
                PostMessageA(hwnd_, kMsgShellOpen, 0, 0);
        return false;
    case WM_DROPFILES:
        openDroppedFiles(reinterpret_cast<HDROP>(wParam));
        return true;
    case WM_DESTROY: {
        CWinApp* app = CWinApp::currentApp();
        if (app && app->mainWindow == hwnd_) {
            app->mainWindow = nullptr;
            PostQuitMessage(0);
        }
        return false;
    }
    default:
        return CFrameWnd::onMessage(message, wParam, lParam, result);
    }
}

void CMDIFrameWnd::onClose()
{
    CWinApp* app = CWinApp::currentApp();
    if (app) {
        if (!app->saveAllModified())
            return;
        app->closeAllDocuments();
    }
    DestroyWindow(hwnd_);
}

// ------------------------------------------------------------- CMDIChildWnd

CMDIChildWnd::CMDIChildWnd()
    : frame_(nullptr), template_(nullptr), document_(nullptr), view_(nullptr)
{
}

bool CMDIChildWnd::createChild(CMDIFrameWnd* frame, CMultiDocTemplate* docTemplate,
                               CDocument* document, CView* view)
{
    frame_ = frame;
    template_ = docTemplate;
    document_ = document;
    view_ = view;
    const RECT none = {0, 0, 0, 0};
    const UINT iconId = docTemplate ? docTemplate->resourceId() : 0;
    if (!createFrameWindow(WS_EX_MDICHILD, document ? document->title().c_str() : "",
                           WS_CHILD | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                           none, frame->mdiClient(), nullptr, iconId, "QxChild", nullptr))
        return false;
    if (view && !view->createView(*this, document)) {
        destroyChild();
        return false;
    }
    recalcLayout();
    return true;
}

HWND CMDIChildWnd::clientWindow() const
{
    return view_ ? view_->hwnd() : nullptr;
}

LRESULT CMDIChildWnd::frameDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcA(hwnd_, message, wParam, lParam);
}

void CMDIChildWnd::activateFrame(int show)
{
    ShowWindow(hwnd_, show);
    if (frame_)
        SendMessageA(frame_->mdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hwnd_), 0);
    if (view_)
        SetFocus(view_->hwnd());
}

void CMDIChildWnd::destroyChild()
{
    if (hwnd_ && frame_)
        SendMessageA(frame_->mdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd_), 0);
}

void CMDIChildWnd::onUpdateFrameTitle()
{
    if (!document_)
        return;
    const String title = document_->title();
    if (text() != title)
        setText(title);
}

bool CMDIChildWnd::onCmdMsg(UINT id, CCmdUI* ui)
{
    if (view_ && view_->onCmdMsg(id, ui))
        return true;
    return false;
}

bool CMDIChildWnd::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_MDIACTIVATE: {
        const bool activating = reinterpret_cast<HWND>(lParam) == hwnd_;
        if (frame_) {
            if (activating)
                frame_->setMenuBar(template_ ? template_->sharedMenu() : nullptr);
            else if (!lParam)
                frame_->setMenuBar(nullptr);
            frame_->delayUpdateFrameTitle();
        }
        if (view_)
            view_->onActivateView(activating);
        return false;
    }
    case WM_SIZE:
        result = frameDefault(message, wParam, lParam);
        if (wParam != SIZE_MINIMIZED)
            recalcLayout();
        if (frame_)
            frame_->delayUpdateFrameTitle();
        return true;
    case WM_SETFOCUS:
        result = frameDefault(message, wParam, lParam);
        if (view_ && view_->isWindow())
            SetFocus(view_->hwnd());
        return true;
    case WM_DESTROY:
        if (frame_)
            frame_->delayUpdateFrameTitle();
        return false;
    default:
        return CFrameWnd::onMessage(message, wParam, lParam, result);
    }
}

void CMDIChildWnd::onClose()
{
    if (document_ && document_->frameCount() <= 1) {
        if (!document_->saveModified())
            return;
        document_->onCloseDocument();
        return;
    }
    destroyChild();
}

void CMDIChildWnd::postNcDestroy()
{
    delete this;
}
