#include "shell/dialogs/OptionsDialog.h"

#include "foundation/IniFile.h"
#include "foundation/PropertyWriter.h"
#include "framework/DataExchange.h"
#include "framework/MessageBox.h"
#include "framework/NumberExchange.h"
#include "shell/dialogs/ShellDialogIds.h"
#include "shell/files/ApplicationOptions.h"

namespace {

// What the dialog offers when nothing is stored; the codec's own default
// stays 80 until the options are confirmed.
const int kOfferedQuality = 90;

} // namespace

COptionsDialog::COptionsDialog(HWND parent)
    : CDialog(IDD_OPTIONS, parent),
      width(int(readOption(kOptionNewImageWidth))),
      height(int(readOption(kOptionNewImageHeight))),
      quality(int(readOption(kOptionJpegQuality, kOfferedQuality))),
      // Only a stored 32 shows as 32 bits here.
      depthChoice(readOption(kOptionNewImageBpp) == 32 ? 1 : 0)
{
}

bool COptionsDialog::onInitDialog()
{
    CDialog::onInitDialog();
    sendItem(IDC_WIDTH_SPIN, UDM_SETRANGE32, 2, 32767);
    sendItem(IDC_HEIGHT_SPIN, UDM_SETRANGE32, 2, 32767);
    sendItem(IDC_QUALITY_SPIN, UDM_SETRANGE32, 2, 99);
    return true;
}

void COptionsDialog::doDataExchange(DataExchange& exchange)
{
    ddxInt(exchange, IDC_WIDTH, width);
    ddvMinMaxInt(exchange, IDC_WIDTH, width, 2, 32767);
    ddxInt(exchange, IDC_HEIGHT, height);
    ddvMinMaxInt(exchange, IDC_HEIGHT, height, 2, 32767);
    ddxInt(exchange, IDC_QUALITY, quality);
    ddvMinMaxInt(exchange, IDC_QUALITY, quality, 1, 99);
    ddxRadio(exchange, IDC_BPP_24, depthChoice);
}

void COptionsDialog::onOK()
{
    if (!updateData(true))
        return;
    PropertyWriter& section = createOptionsSection(kOptionsSection);
    section.setInt(optionDescriptor(kOptionNewImageWidth).key, width);
    section.setInt(optionDescriptor(kOptionNewImageHeight).key, height);
    section.setInt(optionDescriptor(kOptionNewImageBpp).key, depthChoice == 1 ? 32 : 24);
    section.setInt(optionDescriptor(kOptionJpegQuality).key, quality);
    if (!saveOptions())
        showMessageBox(hwnd_,
                       "Unable to save the options file\n" + ApplicationOptions::store().filePath(),
                       String(), MB_OK | MB_ICONEXCLAMATION);
    LoadJpegQualityOption();
    endDialog(IDOK);
}
