#include "framework/Printing.h"

#include <algorithm>

#include <commdlg.h>

#include "framework/Application.h"
#include "framework/DocView.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"

const char kNoPrinterMessage[] =
    "No printer is installed. Install a printer to print or to change the print setup.";

namespace {

PrinterQuery printerQuery = nullptr;

bool systemHasPrinter()
{
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    return size > 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

HWND mainWindowHandle()
{
    CApplication* app = CApplication::current();
    return app ? app->mainWindow : nullptr;
}

const int kPrintButton = 1001;
const int kCloseButton = 1002;
const int kButtonRow = 36;

// The popup that shows one page of a view.
class CPreviewWnd : public CWnd
{
public:
    explicit CPreviewWnd(CView& view) : view_(view), owner_(nullptr) {}

    bool open()
    {
        owner_ = mainWindowHandle();
        RECT r = {60, 60, 900, 760};
        if (owner_)
            GetWindowRect(owner_, &r);
        if (!create(0, nullptr, "Print Preview",
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, r,
                    owner_, 0))
            return false;
        const RECT none = {0, 0, 0, 0};
        print_.create(0, "BUTTON", "&Print...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, none,
                      hwnd_, kPrintButton);
        close_.create(0, "BUTTON", "&Close", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, none, hwnd_,
                      kCloseButton);
        HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        print_.send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        close_.send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        layoutButtons();
        current() = hwnd_;
        if (owner_)
            EnableWindow(owner_, FALSE);
        ShowWindow(hwnd_, SW_SHOW);
        UpdateWindow(hwnd_);
        return true;
    }

    static HWND& current()
    {
        static HWND window = nullptr;
        return window;
    }

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (message) {
        case WM_SIZE:
            layoutButtons();
            invalidate(true);
            return true;
        case WM_CLOSE:
            closePreview();
            return true;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                closePreview();
                return true;
            }
            break;
        default:
            break;
        }
        return CWnd::onMessage(message, wParam, lParam, result);
    }

    bool onCommand(UINT id, UINT, HWND) override
    {
        if (id == kCloseButton) {
            closePreview();
            return true;
        }
        if (id == kPrintButton) {
            CView& view = view_;
            closePreview();
            view.onFilePrint();
            return true;
        }
        return false;
    }

    bool onEraseBackground(HDC) override { return true; }

    bool onPaint() override
    {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd_, &paint);
        RECT client = clientRect();
        FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
        RECT bar = {0, 0, client.right, kButtonRow};
        FillRect(dc, &bar, GetSysColorBrush(COLOR_BTNFACE));
        const RECT page = pageRect();
        if (page.right > page.left && page.bottom > page.top)
            drawPage(dc, page);
        EndPaint(hwnd_, &paint);
        return true;
    }

    void postNcDestroy() override { delete this; }

    // The page's place in the window: as large as fits, keeping its aspect.
    RECT pageRect() const
    {
        const PageMetrics metrics = defaultPageMetrics();
        RECT client = clientRect();
        const int margin = 16;
        const int room_w = client.right - 2 * margin;
        const int room_h = client.bottom - kButtonRow - 2 * margin;
        RECT r = {0, 0, 0, 0};
        if (room_w <= 0 || room_h <= 0 || metrics.width <= 0 || metrics.height <= 0)
            return r;
        // Physical page size decides the shape.
        const double pageW = double(metrics.width) / metrics.dpiX;
        const double pageH = double(metrics.height) / metrics.dpiY;
        double w = room_w, h = room_w * pageH / pageW;
        if (h > room_h) {
            h = room_h;
            w = room_h * pageW / pageH;
        }
        r.left = (client.right - int(w)) / 2;
        r.top = kButtonRow + margin + (room_h - int(h)) / 2;
        r.right = r.left + int(w);
        r.bottom = r.top + int(h);
        return r;
    }

private:
    void layoutButtons()
    {
        MoveWindow(print_.hwnd(), 8, 6, 90, 24, TRUE);
        MoveWindow(close_.hwnd(), 106, 6, 90, 24, TRUE);
    }

    void drawPage(HDC dc, const RECT& page)
    {
        const int w = page.right - page.left, h = page.bottom - page.top;
        RECT shadow = {page.left + 4, page.top + 4, page.right + 4, page.bottom + 4};
        FillRect(dc, &shadow, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
        HGDIOBJ old = SelectObject(memory, bitmap);
        RECT all = {0, 0, w, h};
        FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        // The view draws in printer pixels; the mapping shrinks them.
        const PageMetrics metrics = defaultPageMetrics();
        SetMapMode(memory, MM_ANISOTROPIC);
        SetWindowExtEx(memory, metrics.width, metrics.height, nullptr);
        SetViewportExtEx(memory, w, h, nullptr);
        SetStretchBltMode(memory, HALFTONE);
        SetBrushOrgEx(memory, 0, 0, nullptr);
        DrawContext context;
        context.dc = memory;
        context.printing = true;
        context.pageWidth = metrics.width;
        context.pageHeight = metrics.height;
        context.dpiX = metrics.dpiX;
        context.dpiY = metrics.dpiY;
        view_.onDraw(context);
        SetMapMode(memory, MM_TEXT);
        BitBlt(dc, page.left, page.top, w, h, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }

    void closePreview()
    {
        if (owner_) {
            EnableWindow(owner_, TRUE);
            SetActiveWindow(owner_);
        }
        current() = nullptr;
        DestroyWindow(hwnd_);
    }

    CView& view_;
    HWND owner_;
    CWnd print_;
    CWnd close_;
};

} // namespace

PrinterQuery setPrinterQuery(PrinterQuery query)
{
    PrinterQuery previous = printerQuery;
    printerQuery = query;
    return previous;
}

bool printerAvailable()
{
    return printerQuery ? printerQuery() : systemHasPrinter();
}

PageMetrics defaultPageMetrics()
{
    PageMetrics metrics = {2480, 3508, 300, 300};
    if (!printerAvailable() || printerQuery)
        return metrics;
    PRINTDLGA request = {};
    request.lStructSize = sizeof request;
    request.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (PrintDlgA(&request) && request.hDC) {
        metrics.width = GetDeviceCaps(request.hDC, HORZRES);
        metrics.height = GetDeviceCaps(request.hDC, VERTRES);
        metrics.dpiX = std::max(1, GetDeviceCaps(request.hDC, LOGPIXELSX));
        metrics.dpiY = std::max(1, GetDeviceCaps(request.hDC, LOGPIXELSY));
        DeleteDC(request.hDC);
    }
    if (request.hDevMode)
        GlobalFree(request.hDevMode);
    if (request.hDevNames)
        GlobalFree(request.hDevNames);
    return metrics;
}

void runPrintSetup(HWND owner)
{
    if (!printerAvailable()) {
        showMessageBox(owner, kNoPrinterMessage, String(), MB_ICONEXCLAMATION);
        return;
    }
    PRINTDLGA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.Flags = PD_PRINTSETUP;
    PrintDlgA(&request);
    if (request.hDevMode)
        GlobalFree(request.hDevMode);
    if (request.hDevNames)
        GlobalFree(request.hDevNames);
}

HWND openPrintPreview(CView& view)
{
    if (currentPrintPreview())
        return currentPrintPreview();
    CPreviewWnd* preview = new CPreviewWnd(view);
    if (!preview->open()) {
        delete preview;
        return nullptr;
    }
    return preview->hwnd();
}

HWND currentPrintPreview()
{
    return CPreviewWnd::current();
}

void CView::onFilePrintPreview()
{
    openPrintPreview(*this);
}

void CView::onFilePrint()
{
    HWND owner = mainWindowHandle();
    if (!printerAvailable()) {
        showMessageBox(owner, kNoPrinterMessage, String(), MB_ICONEXCLAMATION);
        return;
    }
    PRINTDLGA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS;
    if (!PrintDlgA(&request) || !request.hDC) {
        if (request.hDevMode)
            GlobalFree(request.hDevMode);
        if (request.hDevNames)
            GlobalFree(request.hDevNames);
        return;
    }
    HDC dc = request.hDC;
    const String name = document() ? document()->title() : String("Document");
    DOCINFOA info = {};
    info.cbSize = sizeof info;
    info.lpszDocName = name.c_str();
    bool ok = StartDocA(dc, &info) > 0;
    if (ok && StartPage(dc) > 0) {
        DrawContext context;
        context.dc = dc;
        context.printing = true;
        context.pageWidth = GetDeviceCaps(dc, HORZRES);
        context.pageHeight = GetDeviceCaps(dc, VERTRES);
        context.dpiX = std::max(1, GetDeviceCaps(dc, LOGPIXELSX));
        context.dpiY = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
        onDraw(context);
        ok = EndPage(dc) > 0;
        ok = EndDoc(dc) > 0 && ok;
    } else {
        if (ok)
            AbortDoc(dc);
        ok = false;
    }
    DeleteDC(dc);
    if (request.hDevMode)
        GlobalFree(request.hDevMode);
    if (request.hDevNames)
        GlobalFree(request.hDevNames);
    if (!ok)
        showMessageBox(owner, "Unable to print " + name, String(), MB_ICONEXCLAMATION);
}
