#include "shell/app/MainFrame.h"

#include <algorithm>
#include <cstdio>

#include <commctrl.h>

#include "framework/DocView.h"
#include "framework/Resources.h"
#include "framework/WinApp.h"
#include "shell/app/ShellResources.h"

namespace {

const char kSettingsSection[] = "Settings";
const char kFramePosEntry[] = "FramePos";
const UINT kTabBarId = 42;

} // namespace

// ------------------------------------------------------------ CShellToolBar

CShellToolBar::CShellToolBar(int imageWidth, int imageHeight)
    : wantWidth_(imageWidth), wantHeight_(imageHeight)
{
}

bool CShellToolBar::loadToolBar(UINT resourceId)
{
    if (!CToolBar::loadToolBar(resourceId))
        return false;
    SetWindowLongA(hwnd_, GWL_STYLE,
                   GetWindowLongA(hwnd_, GWL_STYLE) | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT |
                       TBSTYLE_LIST);
    int widest = 0, tallest = 0;
    const int count = buttonCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        send(TB_GETBUTTON, WPARAM(i), reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP)
            continue;
        RECT r = {0, 0, 0, 0};
        send(TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
        widest = std::max(widest, int(r.right - r.left));
        tallest = std::max(tallest, int(r.bottom - r.top));
    }
    const int width = std::max(widest + 4, wantWidth_ + 7);
    const int height = std::max(tallest + 8, wantHeight_ + 6);
    send(TB_SETBITMAPSIZE, 0, MAKELPARAM(wantWidth_, wantHeight_));
    send(TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
    send(TB_AUTOSIZE);
    return true;
}

String CShellToolBar::buttonLabel(UINT id) const
{
    const String text = loadResourceString(id);
    const size_t cut = text.find('\n');
    if (cut == String::npos)
        return String();
    return text.substr(cut + 1);
}

String CShellToolBar::buttonText(int index) const
{
    TBBUTTON button = {};
    if (!send(TB_GETBUTTON, WPARAM(index), reinterpret_cast<LPARAM>(&button)))
        return String();
    char text[256] = "";
    if (send(TB_GETBUTTONTEXTA, WPARAM(button.idCommand), 0) >= LRESULT(sizeof text))
        return String();
    send(TB_GETBUTTONTEXTA, WPARAM(button.idCommand), reinterpret_cast<LPARAM>(text));
    return text;
}

// --------------------------------------------------------------- CMdiTabBar

CMdiTabBar::CMdiTabBar()
    : mdiClient_(nullptr), images_(nullptr), frame_(nullptr), height_(0), minimumTabs_(1),
      icons_(false), atTop_(false)
{
}

CMdiTabBar::~CMdiTabBar()
{
    if (images_)
        ImageList_Destroy(images_);
}

bool CMdiTabBar::createBar(CFrameWnd& frame, UINT flags)
{
    frame_ = &frame;
    atTop_ = (flags & 1) != 0;
    icons_ = (flags & 2) != 0;
    minimumTabs_ = (flags & 4) ? 2 : 1;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FOCUSNEVER | TCS_FORCEICONLEFT;
    if (!atTop_)
        style |= TCS_BOTTOM;
    const RECT none = {0, 0, 0, 0};
    if (!create(WS_EX_CLIENTEDGE, WC_TABCONTROLA, "", style, none, frame.hwnd(), kTabBarId))
        return false;
    send(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (HWND child = GetWindow(frame.hwnd(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "MDIClient") == 0) {
            mdiClient_ = child;
            break;
        }
    }
    SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (mdiClient_)
        SetWindowPos(mdiClient_, hwnd_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (icons_) {
        images_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
        send(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    }
    return true;
}

String CMdiTabBar::tabTextFor(const String& title)
{
    if (title.size() < 32)
        return title;
    return title.substr(0, 10) + "..." + title.substr(title.size() - 14);
}

int CMdiTabBar::tabCount() const
{
    return hwnd_ ? int(send(TCM_GETITEMCOUNT)) : 0;
}

HWND CMdiTabBar::tabWindow(int index) const
{
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    if (!send(TCM_GETITEMA, WPARAM(index), reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<HWND>(item.lParam);
}

String CMdiTabBar::tabText(int index) const
{
    char text[300] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    send(TCM_GETITEMA, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

int CMdiTabBar::selectedTab() const
{
    return int(send(TCM_GETCURSEL));
}

void CMdiTabBar::selectTab(int index)
{
    send(TCM_SETCURSEL, WPARAM(index));
    HWND window = tabWindow(index);
    if (window && mdiClient_)
        SendMessageA(mdiClient_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window), 0);
}

void CMdiTabBar::rebuild()
{
    if (!hwnd_ || !mdiClient_)
        return;
    send(WM_SETREDRAW, FALSE);
    std::vector<HWND> windows;
    for (HWND h = GetWindow(mdiClient_, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (!GetWindow(h, GW_OWNER))
            windows.push_back(h);
    HWND active = windows.empty() ? nullptr : windows.front();
    auto titleOf = [](HWND window) {
        char title[257] = "";
        GetWindowTextA(window, title, sizeof title);
        return tabTextFor(title);
    };
    for (int i = tabCount() - 1; i >= 0; --i) {
        HWND window = tabWindow(i);
        auto found = std::find(windows.begin(), windows.end(), window);
        if (found == windows.end()) {
            send(TCM_DELETEITEM, WPARAM(i));
            continue;
        }
        String text = titleOf(window);
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = &text[0];
        send(TCM_SETITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        if (window == active)
            send(TCM_SETCURSEL, WPARAM(i));
        windows.erase(found);
    }
    for (HWND window : windows) {
        String text = titleOf(window);
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = &text[0];
        item.lParam = reinterpret_cast<LPARAM>(window);
        if (icons_ && images_) {
            HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
            item.mask |= TCIF_IMAGE;
            item.iImage = icon ? ImageList_AddIcon(images_, icon) : -1;
        }
        const int index = int(send(TCM_INSERTITEMA, WPARAM(tabCount()),
                                   reinterpret_cast<LPARAM>(&item)));
        if (window == active)
            send(TCM_SETCURSEL, WPARAM(index));
    }
    const bool wanted = tabCount() >= minimumTabs_;
    if (wanted != (IsWindowVisible(hwnd_) != FALSE) && frame_)
        frame_->recalcLayout();
    send(WM_SETREDRAW, TRUE);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void CMdiTabBar::layout(RECT& rect)
{
    if (tabCount() < minimumTabs_) {
        ShowWindow(hwnd_, SW_HIDE);
        return;
    }
    height_ = icons_ ? 27 : 26;
    const int windowHeight = height_ + 2;
    const int width = rect.right - rect.left;
    int top;
    if (atTop_) {
        top = rect.top;
        rect.top += height_;
    } else {
        rect.bottom -= height_;
        top = rect.bottom - 2;
    }
    SetWindowPos(hwnd_, nullptr, rect.left, top, width, windowHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CMdiTabBar::paintStrip()
{
    if (tabCount() < 1)
        return;
    RECT client = clientRect();
    RECT strip = client;
    if (atTop_)
        strip.top = strip.bottom - 7;
    else
        strip.bottom = strip.top + 3;
    HDC dc = GetDC(hwnd_);
    FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNSHADOW));
    ReleaseDC(hwnd_, dc);
}

bool CMdiTabBar::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case kMsgSizeParent: {
        // Along the document area: inside any bar docked at a side.
        SizeParentLayout* parentLayout = reinterpret_cast<SizeParentLayout*>(lParam);
        if (parentLayout->pass == kLayoutInnerBars)
            layout(parentLayout->rect);
        result = 0;
        return true;
    }
    case WM_PAINT:
        result = defaultProc(message, wParam, lParam);
        paintStrip();
        return true;
    case WM_NCPAINT: {
        result = defaultProc(message, wParam, lParam);
        HDC dc = GetWindowDC(hwnd_);
        RECT window = windowRect();
        OffsetRect(&window, -window.left, -window.top);
        RECT r = window;
        if (!atTop_)
            r.top -= 2;
        DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT | BF_RIGHT | (atTop_ ? BF_TOP : BF_BOTTOM));
        // The inner side joins the document area: the client edge's two
        // lines there are painted over in the face colour.
        for (int i = 0; i < 2; ++i) {
            const int y = atTop_ ? window.bottom - 1 - i : window.top + i;
            const RECT line = {window.left + 2, y, window.right - 2, y + 1};
            FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
        }
        ReleaseDC(hwnd_, dc);
        return true;
    }
    default:
        return CWnd::onMessage(message, wParam, lParam, result);
    }
}

bool CMdiTabBar::onReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (message != WM_NOTIFY + kReflectOffset)
        return false;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != TCN_SELCHANGE)
        return false;
    HWND window = tabWindow(selectedTab());
    if (window && mdiClient_)
        SendMessageA(mdiClient_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window), 0);
    result = 0;
    return true;
}

bool CMdiTabBar::onLButtonDoubleClick(UINT, POINT)
{
    HWND window = tabWindow(selectedTab());
    if (window && mdiClient_)
        SendMessageA(mdiClient_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(window), 0);
    return true;
}

bool CMdiTabBar::onContextMenu(HWND, POINT screenPoint)
{
    TCHITTESTINFO hit = {};
    hit.pt = screenPoint;
    ScreenToClient(hwnd_, &hit.pt);
    const int index = int(send(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (index < 0)
        return true;
    selectTab(index);
    HWND window = tabWindow(index);
    if (!window)
        return true;
    HWND top = GetTopWindow(window);
    HMENU menu = top ? reinterpret_cast<HMENU>(SendMessageA(top, WM_QUERY_TAB_MENU, 0, 0)) : nullptr;
    if (!menu)
        menu = GetSystemMenu(window, FALSE);
    if (!menu)
        return true;
    const UINT command = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                             screenPoint.x, screenPoint.y, 0, hwnd_, nullptr));
    if (command)
        SendMessageA(window, WM_SYSCOMMAND, command, 0);
    return true;
}

// -------------------------------------------------------------- CImageFrame

void CImageFrame::activateFrame(int show)
{
    CMDIChildWnd* active = mainFrame() ? mainFrame()->activeChild() : nullptr;
    if (!active || active == this)
        show = SW_SHOWMAXIMIZED;
    CMDIChildWnd::activateFrame(show);
}

bool CImageFrame::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_SIZE) {
        const LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
        const LONG wanted = wParam == SIZE_MAXIMIZED ? (style & ~(WS_BORDER | WS_THICKFRAME))
                                                     : (style | WS_BORDER | WS_THICKFRAME);
        if (wanted != style) {
            SetWindowLongA(hwnd_, GWL_STYLE, wanted);
            SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                             SWP_NOACTIVATE);
        }
        if (wParam == SIZE_MAXIMIZED)
            placeMaximised();
    }
    return CMDIChildWnd::onMessage(message, wParam, lParam, result);
}

// The system sized the maximised window for the style it had then, caption
// included; WS_BORDER is half of WS_CAPTION, so dropping it took the caption
// away and the client area would start that much above the MDI client's.
void CImageFrame::placeMaximised()
{
    HWND client = GetParent(hwnd_);
    if (placing_ || !client)
        return;
    RECT target;
    GetClientRect(client, &target);
    AdjustWindowRectEx(&target, DWORD(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
    RECT now;
    GetWindowRect(hwnd_, &now);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &target))
        return;
    // Moving it sends WM_SIZE again, which must not move it once more.
    placing_ = true;
    SetWindowPos(hwnd_, nullptr, target.left, target.top, target.right - target.left,
                 target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE);
    placing_ = false;
}

// --------------------------------------------------------------- CMainFrame

bool parseWindowPlacement(const String& text, WINDOWPLACEMENT& placement)
{
    WINDOWPLACEMENT read = {};
    read.length = sizeof read;
    unsigned flags = 0, show = 0;
    int values[8] = {};
    if (std::sscanf(text.c_str(), "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", &flags, &show, &values[0],
                    &values[1], &values[2], &values[3], &values[4], &values[5], &values[6],
                    &values[7]) != 10)
        return false;
    read.flags = flags;
    read.showCmd = show;
    read.ptMinPosition.x = values[0];
    read.ptMinPosition.y = values[1];
    read.ptMaxPosition.x = values[2];
    read.ptMaxPosition.y = values[3];
    read.rcNormalPosition.left = values[4];
    read.rcNormalPosition.top = values[5];
    read.rcNormalPosition.right = values[6];
    read.rcNormalPosition.bottom = values[7];
    placement = read;
    return true;
}

String formatWindowPlacement(const WINDOWPLACEMENT& p)
{
    return String::fromFormat("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", unsigned(p.flags),
                              unsigned(p.showCmd), int(p.ptMinPosition.x),
                              int(p.ptMinPosition.y), int(p.ptMaxPosition.x),
                              int(p.ptMaxPosition.y), int(p.rcNormalPosition.left),
                              int(p.rcNormalPosition.top), int(p.rcNormalPosition.right),
                              int(p.rcNormalPosition.bottom));
}

void clampWindowPlacement(WINDOWPLACEMENT& placement, const RECT& screen)
{
    if (placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_MINIMIZE ||
        placement.showCmd == SW_SHOWMINNOACTIVE || placement.showCmd == SW_FORCEMINIMIZE)
        placement.showCmd = (placement.flags & WPF_RESTORETOMAXIMIZED) ? SW_SHOWMAXIMIZED
                                                                       : SW_SHOWNORMAL;
    RECT& r = placement.rcNormalPosition;
    const LONG screenW = screen.right - screen.left, screenH = screen.bottom - screen.top;
    LONG width = std::max<LONG>(200, std::min<LONG>(r.right - r.left, screenW));
    LONG height = std::max<LONG>(150, std::min<LONG>(r.bottom - r.top, screenH));
    if (r.right - r.left <= 0 || r.bottom - r.top <= 0) {
        width = std::min<LONG>(800, screenW);
        height = std::min<LONG>(600, screenH);
    }
    LONG left = std::max(screen.left, std::min<LONG>(r.left, screen.right - width));
    LONG top = std::max(screen.top, std::min<LONG>(r.top, screen.bottom - height));
    r.left = left;
    r.top = top;
    r.right = left + width;
    r.bottom = top + height;
}

CMainFrame::CMainFrame() : progress_(nullptr)
{
    for (String& text : statusTexts_)
        text = "  ";
}

CMainFrame::~CMainFrame()
{
}

int CMainFrame::onCreate(CREATESTRUCTA* create)
{
    if (CMDIFrameWnd::onCreate(create) != 0)
        return -1;
    toolBar_.reset(new CShellToolBar(40, 40));
    if (!toolBar_->createBar(hwnd_, WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_LIST |
                                        CCS_TOP,
                             kIdViewToolbar) ||
        !toolBar_->loadToolBar(IDR_TOOLBAR))
        return -1;
    toolBar_->setText("Toolbar");
    toolBar_->enableDocking(*this, kDockAny);
    toolBar_->dock(DockSide::top);
    toolBarWindow_ = toolBar_->hwnd();
    static const UINT indicators[] = {0, ID_STATUS_PANE1, ID_STATUS_PANE2, ID_STATUS_PANE3};
    if (!statusBarObject_.createBar(hwnd_, kIdViewStatusBar) ||
        !statusBarObject_.setIndicators(indicators, 4))
        return -1;
    statusBarObject_.setPaneInfo(2, ID_STATUS_PANE2, 100);
    statusBarObject_.setPaneInfo(3, ID_STATUS_PANE3, 60);
    setStatusBar(&statusBarObject_);
    statusBarObject_.setPaneText(0, loadResourceString(kIdsIdleMessage));
    // Wakes the message loop once a second so the idle update refreshes
    // the panes; nothing handles the timer itself.
    statusBarObject_.setTimer(5, 1000);
    tabBar_.createBar(*this, 0);
    recalcLayout();
    return 0;
}

void CMainFrame::restoreWindowPlacement(int showCommand)
{
    CWinApp* app = CWinApp::currentApp();
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    const String text = app ? app->profileString(kSettingsSection, kFramePosEntry, "") : String();
    if (!parseWindowPlacement(text, placement)) {
        ShowWindow(hwnd_, showCommand);
        UpdateWindow(hwnd_);
        return;
    }
    const RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                         GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    // A stored minimised state is not restored; a minimised start asked for
    // now is.
    clampWindowPlacement(placement, screen);
    if (showCommand != SW_SHOWNORMAL)
        placement.showCmd = UINT(showCommand);
    placement.length = sizeof placement;
    SetWindowPlacement(hwnd_, &placement);
    ShowWindow(hwnd_, int(placement.showCmd));
    UpdateWindow(hwnd_);
}

void CMainFrame::onClose()
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(hwnd_, &placement)) {
        placement.flags = IsZoomed(hwnd_) ? WPF_RESTORETOMAXIMIZED : 0;
        if (CWinApp* app = CWinApp::currentApp())
            app->writeProfileString(kSettingsSection, kFramePosEntry,
                                    formatWindowPlacement(placement));
    }
    CMDIFrameWnd::onClose();
}

void CMainFrame::setStatusText(int pane, const String& text)
{
    if (pane < 0 || pane > 3)
        return;
    statusTexts_[pane] = text;
    if (statusBarObject_.isWindow())
        statusBarObject_.updatePanes(*this);
}

HWND CMainFrame::showProgress()
{
    if (progress_ && IsWindow(progress_))
        return progress_;
    const RECT r = statusBarObject_.paneRect(0);
    progress_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, statusBarObject_.hwnd(),
                                reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    return progress_;
}

void CMainFrame::hideProgress()
{
    if (progress_ && IsWindow(progress_))
        DestroyWindow(progress_);
    progress_ = nullptr;
}

void CMainFrame::onUpdateFrameTitle()
{
    CMDIFrameWnd::onUpdateFrameTitle();
    tabBar_.rebuild();
}

bool CMainFrame::onCmdMsg(UINT id, CCmdUI* ui)
{
    if (id >= ID_STATUS_PANE1 && id <= ID_STATUS_PANE4) {
        if (!ui)
            return false;
        ui->setText(statusTexts_[id - ID_STATUS_PANE1]);
        ui->enable(true);
        return true;
    }
    return CMDIFrameWnd::onCmdMsg(id, ui);
}

namespace {

BOOL CALLBACK sendPaletteMessage(HWND window, LPARAM view)
{
    SendMessageA(window, WM_USER, WPARAM(view), 0);
    return TRUE;
}

} // namespace

bool CMainFrame::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_PALETTECHANGED: {
        result = frameDefault(message, wParam, lParam);
        if (CView* view = activeView())
            EnumChildWindows(hwnd_, &sendPaletteMessage, reinterpret_cast<LPARAM>(view->hwnd()));
        return true;
    }
    case WM_QUERYNEWPALETTE:
        if (CView* view = activeView()) {
            SendMessageA(view->hwnd(), WM_USER, reinterpret_cast<WPARAM>(view->hwnd()), 0);
            result = TRUE;
            return true;
        }
        return false;
    default:
        return CMDIFrameWnd::onMessage(message, wParam, lParam, result);
    }
}
