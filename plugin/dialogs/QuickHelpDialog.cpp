#include "plugin/dialogs/QuickHelpDialog.h"

#include "image/PaintDc.h"
#include "framework/Application.h"
#include "image/BinResource.h"
#include "image/GdiBridge.h"
#include "plugin/PluginResources.h"

namespace {

const int kPngType = 2;

} // namespace

CQuickHelpDialog::CQuickHelpDialog(UINT pictureId, HWND parent)
    : CDialog(IDD_QUICK_HELP, parent), pictureId_(pictureId)
{
}

bool CQuickHelpDialog::onInitDialog()
{
    CDialog::onInitDialog();
    bool decoded = false;
    try {
        BinResource resource;
        decoded = resource.loadImage(picture_, pictureId_, kPngType, resourceModule());
    } catch (...) {
        decoded = false;
    }
    if (!decoded || picture_.width() < 1 || picture_.height() < 1 || picture_.step() != 3) {
        // Nothing to show: end before the dialog is ever shown.
        endDialog(IDCANCEL);
        return true;
    }
    SetWindowPos(hwnd_, nullptr, 0, 0, picture_.width(), picture_.height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    centerWindow(parentWindow());
    return true;
}

bool CQuickHelpDialog::onPaint()
{
    PaintDc paint(hwnd_);
    const RECT client = clientRect();
    drawImageScaled(picture_, paint.dc(), client);
    return true;
}

bool CQuickHelpDialog::onLButtonUp(UINT, POINT)
{
    PostMessageA(hwnd_, WM_CLOSE, 0, 0);
    return false;
}
