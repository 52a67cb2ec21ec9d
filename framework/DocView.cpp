#include "framework/DocView.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/CommandIds.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "framework/SaveFileDialog.h"
#include "framework/WinApp.h"

namespace {

String fileNameOf(const String& path)
{
    const size_t cut = path.find_last_of("\\/");
    return cut == String::npos ? path : String(path.substr(cut + 1));
}

HWND mainWindowHandle()
{
    CApplication* app = CApplication::current();
    return app ? app->mainWindow : nullptr;
}

} // namespace

// ---------------------------------------------------------------- CDocument

CDocument::CDocument() : modified_(false), closing_(false), template_(nullptr)
{
}

CDocument::~CDocument()
{
}

void CDocument::setTitle(const String& title)
{
    title_ = title;
    for (CView* view : views_)
        if (CMDIChildWnd* frame = view->parentFrame()) {
            frame->onUpdateFrameTitle();
            if (frame->mainFrame())
                frame->mainFrame()->delayUpdateFrameTitle();
        }
}

void CDocument::setPathName(const String& path, bool addToRecent)
{
    char full[MAX_PATH] = "";
    String absolute = path;
    if (GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr))
        absolute = full;
    pathName_ = absolute;
    setTitle(fileNameOf(absolute));
    if (addToRecent)
        if (CWinApp* app = CWinApp::currentApp())
            app->addToRecentFileList(absolute);
}

void CDocument::addView(CView* view)
{
    if (std::find(views_.begin(), views_.end(), view) == views_.end())
        views_.push_back(view);
}

void CDocument::removeView(CView* view)
{
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

int CDocument::frameCount() const
{
    std::vector<CMDIChildWnd*> frames;
    for (CView* view : views_) {
        CMDIChildWnd* frame = view->parentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    return int(frames.size());
}

void CDocument::updateAllViews(CView* sender, LPARAM hint, void* object)
{
    const std::vector<CView*> views = views_;
    for (CView* view : views)
        if (view != sender)
            view->onUpdate(sender, hint, object);
}

bool CDocument::onNewDocument()
{
    pathName_.clear();
    modified_ = false;
    return true;
}

bool CDocument::onOpenDocument(const String&)
{
    modified_ = false;
    return true;
}

bool CDocument::onSaveDocument(const String&)
{
    modified_ = false;
    return true;
}

bool CDocument::doSave(const String& path, bool)
{
    String target = path;
    if (target.empty()) {
        int filterIndex = 1;
        if (!askSaveFileName(mainWindowHandle(), "All Files (*.*)|*.*||", title_, filterIndex,
                             target))
            return false;
    }
    if (!onSaveDocument(target))
        return false;
    setPathName(target);
    return true;
}

bool CDocument::saveModified()
{
    if (!modified_)
        return true;
    const String name = pathName_.empty() ? title_ : fileNameOf(pathName_);
    const int answer = showMessageBox(mainWindowHandle(), "Save changes to " + name + "?",
                                      String(), MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES)
        return doSave(pathName_);
    return true;
}

void CDocument::onCloseDocument()
{
    if (closing_)
        return;
    closing_ = true;
    std::vector<CMDIChildWnd*> frames;
    for (CView* view : views_) {
        CMDIChildWnd* frame = view->parentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    for (CMDIChildWnd* frame : frames)
        frame->destroyChild();
    if (template_)
        template_->removeDocument(this);
    delete this;
}

bool CDocument::onCmdMsg(UINT id, CCmdUI* ui)
{
    switch (id) {
    case kIdFileSave:
        if (!ui)
            doSave(pathName_);
        return true;
    case kIdFileSaveAs:
        if (!ui)
            doSave(String());
        return true;
    case kIdFileClose:
        if (!ui && saveModified())
            onCloseDocument();
        return true;
    default:
        return false;
    }
}

// -------------------------------------------------------------------- CView

CView::CView() : document_(nullptr)
{
}

CView::~CView()
{
    if (document_)
        document_->removeView(this);
}

CMDIChildWnd* CView::parentFrame() const
{
    if (!hwnd_)
        return nullptr;
    return dynamic_cast<CMDIChildWnd*>(CWnd::fromHandle(GetParent(hwnd_)));
}

bool CView::createView(CMDIChildWnd& frame, CDocument* document)
{
    document_ = document;
    if (document)
        document->addView(this);
    const RECT none = {0, 0, 0, 0};
    if (!create(0, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, none, frame.hwnd(),
                kIdPaneFirst)) {
        if (document)
            document->removeView(this);
        document_ = nullptr;
        return false;
    }
    return true;
}

int CView::onCreate(CREATESTRUCTA*)
{
    return 0;
}

void CView::onInitialUpdate()
{
    onUpdate(nullptr, 0, nullptr);
}

void CView::onUpdate(CView*, LPARAM, void*)
{
    invalidate(true);
}

void CView::onActivateView(bool)
{
}

void CView::onPrepareDC(HDC)
{
}

bool CView::onCmdMsg(UINT id, CCmdUI* ui)
{
    if (id == kIdFilePrint || id == kIdFilePrintPreview) {
        if (!ui) {
            if (id == kIdFilePrint)
                onFilePrint();
            else
                onFilePrintPreview();
        }
        return true;
    }
    return document_ && document_->onCmdMsg(id, ui);
}

bool CView::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_CREATE) {
        result = onCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
        return true;
    }
    if (message == WM_MOUSEACTIVATE) {
        // Clicking a view activates its child frame and takes the focus.
        result = defaultProc(message, wParam, lParam);
        SetFocus(hwnd_);
        return true;
    }
    return CWnd::onMessage(message, wParam, lParam, result);
}

bool CView::onPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    onPrepareDC(dc);
    DrawContext context;
    context.dc = dc;
    context.dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    context.dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    onDraw(context);
    EndPaint(hwnd_, &paint);
    return true;
}

void CView::onDestroy()
{
    if (CMDIChildWnd* frame = parentFrame())
        frame->detachView(this);
    if (document_)
        document_->removeView(this);
    document_ = nullptr;
}

void CView::postNcDestroy()
{
    delete this;
}

// -------------------------------------------------------------- CScrollView

CScrollView::CScrollView() : inUpdate_(false)
{
    total_.cx = total_.cy = 0;
}

void CScrollView::setScrollSizes(SIZE total)
{
    total_ = total;
    updateBars();
}

POINT CScrollView::scrollPosition() const
{
    POINT p = {GetScrollPos(hwnd_, SB_HORZ), GetScrollPos(hwnd_, SB_VERT)};
    return p;
}

void CScrollView::updateBars()
{
    if (!hwnd_ || inUpdate_)
        return;
    inUpdate_ = true;
    RECT client = clientRect();
    const LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    int width = client.right + ((style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    int height = client.bottom + ((style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    bool needH = total_.cx > width;
    bool needV = total_.cy > height;
    if (needH)
        height -= GetSystemMetrics(SM_CYHSCROLL);
    if (needV)
        width -= GetSystemMetrics(SM_CXVSCROLL);
    if (!needH && needV && total_.cx > width) {
        needH = true;
        height -= GetSystemMetrics(SM_CYHSCROLL);
    }
    if (!needV && needH && total_.cy > height) {
        needV = true;
        width -= GetSystemMetrics(SM_CXVSCROLL);
    }
    const POINT old = scrollPosition();
    const int bars[2] = {SB_HORZ, SB_VERT};
    const bool need[2] = {needH, needV};
    const int totals[2] = {int(total_.cx), int(total_.cy)};
    const int pages[2] = {width, height};
    const int positions[2] = {int(old.x), int(old.y)};
    for (int i = 0; i < 2; ++i) {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        if (need[i]) {
            info.nMax = totals[i] - 1;
            info.nPage = UINT(std::max(1, pages[i]));
            info.nPos = std::min(positions[i], std::max(0, totals[i] - pages[i]));
        }
        ShowScrollBar(hwnd_, bars[i], need[i]);
        SetScrollInfo(hwnd_, bars[i], &info, TRUE);
    }
    const POINT now = scrollPosition();
    if (now.x != old.x || now.y != old.y)
        invalidate(true);
    inUpdate_ = false;
}

void CScrollView::scrollToPosition(POINT position)
{
    const RECT client = clientRect();
    const LONG limitX = std::max<LONG>(0, total_.cx - client.right);
    const LONG limitY = std::max<LONG>(0, total_.cy - client.bottom);
    const POINT old = scrollPosition();
    POINT p = {std::max<LONG>(0, std::min(position.x, limitX)),
               std::max<LONG>(0, std::min(position.y, limitY))};
    // An axis whose window already shows the whole extent keeps its place.
    if (total_.cx <= client.right)
        p.x = old.x;
    if (total_.cy <= client.bottom)
        p.y = old.y;
    SetScrollPos(hwnd_, SB_HORZ, p.x, TRUE);
    SetScrollPos(hwnd_, SB_VERT, p.y, TRUE);
    if (p.x != old.x || p.y != old.y)
        invalidate(true);
}

void CScrollView::onScroll(int bar, UINT code)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, bar, &info);
    const int total = bar == SB_HORZ ? total_.cx : total_.cy;
    const int line = std::max(1, total / 100);
    const int page = std::max(1, int(info.nPage));
    int pos = info.nPos;
    switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = total; break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    default: return;
    }
    POINT p = scrollPosition();
    if (bar == SB_HORZ)
        p.x = pos;
    else
        p.y = pos;
    scrollToPosition(p);
}

void CScrollView::onPrepareDC(HDC dc)
{
    const POINT p = scrollPosition();
    SetViewportOrgEx(dc, -p.x, -p.y, nullptr);
}

bool CScrollView::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SIZE:
        updateBars();
        result = 0;
        return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam)
            break;
        onScroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        result = 0;
        return true;
    case WM_MOUSEWHEEL: {
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        for (int i = 0; i < std::abs(notches) * 3; ++i)
            onScroll(SB_VERT, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
        result = 0;
        return true;
    }
    default:
        break;
    }
    return CView::onMessage(message, wParam, lParam, result);
}

// -------------------------------------------------------- CMultiDocTemplate

CMultiDocTemplate::CMultiDocTemplate(UINT resourceId, DocumentFactory document,
                                     FrameFactory frame, ViewFactory view)
    : resourceId_(resourceId), menu_(LoadMenuA(resourceModule(), MAKEINTRESOURCEA(resourceId))),
      accelerators_(LoadAcceleratorsA(resourceModule(), MAKEINTRESOURCEA(resourceId))),
      docString_(loadResourceString(resourceId)), makeDocument_(std::move(document)),
      makeFrame_(std::move(frame)), makeView_(std::move(view)), untitledCount_(0)
{
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    closeAllDocuments();
    if (menu_)
        DestroyMenu(menu_);
}

String CMultiDocTemplate::docString(int field) const
{
    size_t start = 0;
    for (int i = 0; i < field; ++i) {
        const size_t next = docString_.find('\n', start);
        if (next == String::npos)
            return String();
        start = next + 1;
    }
    const size_t end = docString_.find('\n', start);
    return docString_.substr(start, end == String::npos ? String::npos : end - start);
}

CDocument* CMultiDocTemplate::createNewDocument()
{
    CDocument* document = makeDocument_ ? makeDocument_() : nullptr;
    if (document) {
        document->setDocTemplate(this);
        documents_.push_back(document);
    }
    return document;
}

void CMultiDocTemplate::removeDocument(CDocument* document)
{
    documents_.remove(document);
}

CMDIChildWnd* CMultiDocTemplate::createNewFrame(CDocument* document)
{
    CWinApp* app = CWinApp::currentApp();
    CMDIFrameWnd* main = app ? app->mainFrame() : nullptr;
    if (!main || !makeFrame_)
        return nullptr;
    CMDIChildWnd* frame = makeFrame_();
    CView* view = makeView_ ? makeView_() : nullptr;
    if (!frame->createChild(main, this, document, view)) {
        // A child that was made deletes itself when destroyed; one that was
        // not is ours.
        if (!frame->hwnd())
            delete frame;
        if (view && !view->hwnd())
            delete view;
        return nullptr;
    }
    return frame;
}

void CMultiDocTemplate::initialUpdateFrame(CMDIChildWnd* frame, CDocument*, bool makeVisible)
{
    if (CView* view = frame->activeView())
        view->onInitialUpdate();
    if (makeVisible)
        frame->activateFrame(SW_SHOW);
    frame->onUpdateFrameTitle();
    if (frame->mainFrame())
        frame->mainFrame()->onUpdateFrameTitle();
}

CDocument* CMultiDocTemplate::openDocumentFile(const char* path, bool makeVisible)
{
    if (path) {
        char full[MAX_PATH] = "";
        const String wanted = GetFullPathNameA(path, MAX_PATH, full, nullptr) ? full : path;
        for (CDocument* open : documents_)
            if (lstrcmpiA(open->pathName().c_str(), wanted.c_str()) == 0 && !open->views().empty()) {
                if (CMDIChildWnd* frame = open->views().front()->parentFrame())
                    frame->activateFrame(IsIconic(frame->hwnd()) ? SW_RESTORE : SW_SHOW);
                return open;
            }
    }
    CDocument* document = createNewDocument();
    if (!document)
        return nullptr;
    if (!path) {
        document->setTitle(docString(1) + String::fromFormat("%d", ++untitledCount_));
        if (!document->onNewDocument()) {
            removeDocument(document);
            delete document;
            return nullptr;
        }
    } else if (!document->onOpenDocument(path)) {
        removeDocument(document);
        delete document;
        return nullptr;
    }
    CMDIChildWnd* frame = createNewFrame(document);
    if (!frame) {
        showMessageBox(mainWindowHandle(), "Unable to create the document window", String(),
                       MB_ICONEXCLAMATION);
        removeDocument(document);
        delete document;
        return nullptr;
    }
    initialUpdateFrame(frame, document, makeVisible);
    return document;
}

void CMultiDocTemplate::closeAllDocuments()
{
    const std::list<CDocument*> documents = documents_;
    for (CDocument* document : documents)
        document->onCloseDocument();
}

bool CMultiDocTemplate::saveAllModified()
{
    const std::list<CDocument*> documents = documents_;
    for (CDocument* document : documents)
        if (!document->saveModified())
            return false;
    return true;
}
