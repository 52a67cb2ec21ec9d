#include "plugin/dialogs/AuthorNameDialog.h"

#include "framework/DataExchange.h"
#include "plugin/PluginResources.h"

CAuthorNameDialog::CAuthorNameDialog(HWND parent, const String& initialName)
    : CDialog(IDD_AUTHOR_NAME, parent), name(initialName)
{
}

void CAuthorNameDialog::doDataExchange(DataExchange& exchange)
{
    ddxText(exchange, IDC_NAME_EDIT, name);
    ddvMaxChars(exchange, IDC_NAME_EDIT, name, kMaxChars);
}
