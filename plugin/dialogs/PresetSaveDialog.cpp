#include "plugin/dialogs/PresetSaveDialog.h"

#include "framework/DataExchange.h"
#include "plugin/PluginResources.h"

CPresetSaveDialog::CPresetSaveDialog(HWND parent, const String& initialName,
                                     const String& initialDescription)
    : CDialog(IDD_PRESET_SAVE, parent), name(initialName), description(initialDescription)
{
}

void CPresetSaveDialog::doDataExchange(DataExchange& exchange)
{
    ddxText(exchange, IDC_NAME_EDIT, name);
    ddvMaxChars(exchange, IDC_NAME_EDIT, name, kMaxNameChars);
    ddxText(exchange, IDC_DESCRIPTION_EDIT, description);
}
