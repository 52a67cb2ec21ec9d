#include "plugin/dialogs/InfoDialog.h"

#include "framework/DataExchange.h"
#include "plugin/PluginApp.h"
#include "plugin/PluginResources.h"

CInfoDialog::CInfoDialog(HWND parent)
    : CDialog(IDD_INFO, parent), link(makerWebSite(), IDC_LINK_CURSOR)
{
}

void CInfoDialog::doDataExchange(DataExchange& exchange)
{
    ddxControl(exchange, IDC_INFO_LINK, link);
}

bool CInfoDialog::onInitDialog()
{
    CDialog::onInitDialog();
    centerWindow(parentWindow());
    if (!message.empty())
        setItemText(IDC_INFO_TEXT, message);
    link.setText(link.linkText);
    return true;
}

void showInfoDialog(HWND owner, const String& message)
{
    CInfoDialog dialog(owner);
    dialog.message = message;
    dialog.doModal();
}
