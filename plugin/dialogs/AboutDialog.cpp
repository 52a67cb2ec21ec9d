#include "plugin/dialogs/AboutDialog.h"

#include "plugin/PluginResources.h"

CAboutDialog::CAboutDialog(HWND parent) : CDialog(IDD_ABOUT, parent)
{
}

bool CAboutDialog::onInitDialog()
{
    CDialog::onInitDialog();
    centerWindow(parentWindow());
    return true;
}

bool CAboutDialog::onLButtonDown(UINT, POINT)
{
    onOK();
    return true;
}
