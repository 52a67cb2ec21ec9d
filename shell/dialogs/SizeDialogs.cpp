#include "shell/dialogs/SizeDialogs.h"

#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/PropertyWriter.h"
#include "framework/DataExchange.h"
#include "framework/NumberExchange.h"
#include "shell/dialogs/ShellDialogIds.h"
#include "shell/files/ApplicationOptions.h"

namespace {

const int kMinimumSize = 2;
const int kMaximumSize = 32767;

// Both dialogs ask for a size in the same two edits with their up-downs.
void limitSizeSpins(CDialog& dialog)
{
    for (UINT spin : {IDC_WIDTH_SPIN, IDC_HEIGHT_SPIN})
        dialog.sendItem(spin, UDM_SETRANGE32, WPARAM(kMinimumSize), LPARAM(kMaximumSize));
}

void exchangeSize(DataExchange& exchange, int& width, int& height)
{
    ddxInt(exchange, IDC_WIDTH, width);
    ddvMinMaxInt(exchange, IDC_WIDTH, width, kMinimumSize, kMaximumSize);
    ddxInt(exchange, IDC_HEIGHT, height);
    ddvMinMaxInt(exchange, IDC_HEIGHT, height, kMinimumSize, kMaximumSize);
}

} // namespace

CNewImageDialog::CNewImageDialog(HWND parent)
    : CDialog(IDD_NEW_IMAGE, parent),
      width(int(readOption(kOptionNewImageWidth))),
      height(int(readOption(kOptionNewImageHeight))),
      // Any stored depth but 24 offers 32 bits here.
      depthChoice(readOption(kOptionNewImageBpp) == 24 ? 0 : 1)
{
}

bool CNewImageDialog::onInitDialog()
{
    CDialog::onInitDialog();
    centerWindow();
    // The ranges go in after the values: the up-downs would otherwise
    // rewrite their buddies with their own position.
    limitSizeSpins(*this);
    return true;
}

void CNewImageDialog::doDataExchange(DataExchange& exchange)
{
    exchangeSize(exchange, width, height);
    ddxRadio(exchange, IDC_BPP_24, depthChoice);
}

void CNewImageDialog::onOK()
{
    if (!updateData(true))
        return;
    PropertyWriter& section = createOptionsSection(kOptionsSection);
    section.setInt(optionDescriptor(kOptionNewImageWidth).key, width);
    section.setInt(optionDescriptor(kOptionNewImageHeight).key, height);
    section.setInt(optionDescriptor(kOptionNewImageBpp).key, bitsPerPixel());
    endDialog(IDOK);
}

CResampleDialog::CResampleDialog(int width, int height, HWND parent)
    : CDialog(IDD_RESAMPLE, parent), newWidth(width), newHeight(height),
      maintainAspect(int(readOption(kOptionResampleMaintainAspect))),
      smoothing(float(readOption(kOptionResampleSmooth))), ownWidth_(width),
      ownHeight_(height), deriving_(false)
{
}

bool CResampleDialog::onInitDialog()
{
    // Nothing is derived while the controls get their first values.
    deriving_ = true;
    CDialog::onInitDialog();
    centerWindow();
    limitSizeSpins(*this);
    sendItem(IDC_PARAM_SLIDER, TBM_SETRANGEMIN, FALSE, 0);
    sendItem(IDC_PARAM_SLIDER, TBM_SETRANGEMAX, TRUE, 20);
    sendItem(IDC_PARAM_SLIDER, TBM_SETPAGESIZE, 0, 4);
    sendItem(IDC_PARAM_SLIDER, TBM_SETLINESIZE, 0, 1);
    sendItem(IDC_PARAM_SLIDER, TBM_SETPOS, TRUE, LPARAM(int(smoothing * 10)));
    showSmoothing();
    deriving_ = false;
    return true;
}

void CResampleDialog::doDataExchange(DataExchange& exchange)
{
    exchangeSize(exchange, newWidth, newHeight);
    ddxCheck(exchange, IDC_MAINTAIN_ASPECT, maintainAspect);
}

void CResampleDialog::showSmoothing()
{
    const int position = int(sendItem(IDC_PARAM_SLIDER, TBM_GETPOS));
    setItemText(IDC_PARAM_VALUE, formatNumber("%1.1f", position * 0.1));
}

void CResampleDialog::follow(UINT changedSpin, UINT otherSpin, int own, int otherOwn)
{
    if (deriving_ || !maintainAspect || own <= 0 || !item(changedSpin) || !item(otherSpin))
        return;
    BOOL invalid = FALSE;
    const int position = int(sendItem(changedSpin, UDM_GETPOS32, 0, LPARAM(&invalid)));
    if (invalid || position <= 0)
        return;
    const long derived = std::lround(double(otherOwn) * position / own);
    deriving_ = true;
    sendItem(otherSpin, UDM_SETPOS32, 0, LPARAM(derived));
    deriving_ = false;
}

bool CResampleDialog::onCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_WIDTH && code == EN_CHANGE) {
        follow(IDC_WIDTH_SPIN, IDC_HEIGHT_SPIN, ownWidth_, ownHeight_);
        return true;
    }
    if (id == IDC_HEIGHT && code == EN_CHANGE) {
        follow(IDC_HEIGHT_SPIN, IDC_WIDTH_SPIN, ownHeight_, ownWidth_);
        return true;
    }
    if (id == IDC_MAINTAIN_ASPECT && code == BN_CLICKED) {
        maintainAspect = sendItem(IDC_MAINTAIN_ASPECT, BM_GETCHECK) == BST_CHECKED ? 1 : 0;
        return true;
    }
    return CDialog::onCommand(id, code, control);
}

bool CResampleDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_HSCROLL && lParam &&
        GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_PARAM_SLIDER) {
        showSmoothing();
        result = 0;
        return true;
    }
    return CDialog::onMessage(message, wParam, lParam, result);
}

void CResampleDialog::onOK()
{
    if (!updateData(true))
        return;
    smoothing = float(sendItem(IDC_PARAM_SLIDER, TBM_GETPOS) * 0.1);
    PropertyWriter& section = createOptionsSection(kOptionsSection);
    section.setFloat(optionDescriptor(kOptionResampleSmooth).key, smoothing);
    section.setInt(optionDescriptor(kOptionResampleMaintainAspect).key, maintainAspect ? 1 : 0);
    endDialog(IDOK);
}
