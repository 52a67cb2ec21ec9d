#pragma once

#include <windows.h>

#include "foundation/String.h"

class CView;

// Whether a default printer exists (GetDefaultPrinter), or the installed
// query; tests answer it. Null restores the system's answer.
typedef bool (*PrinterQuery)();
PrinterQuery setPrinterQuery(PrinterQuery query);
bool printerAvailable();

// The page a preview shows: the default printer's, else A4 at 300 dpi.
struct PageMetrics
{
    int width;
    int height;
    int dpiX;
    int dpiY;
};
PageMetrics defaultPageMetrics();

// File > Print Setup: the system's dialog, or a message when no printer is
// installed.
void runPrintSetup(HWND owner);

// The text shown when there is no printer to print on.
extern const char kNoPrinterMessage[];

// The print preview window of a view: a popup over the main frame with Print
// and Close buttons and the page drawn as the printer would get it. The frame
// is disabled while it is up, so the document cannot go away under it.
HWND openPrintPreview(CView& view);
// The preview that is up, or null.
HWND currentPrintPreview();
