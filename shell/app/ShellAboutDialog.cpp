#include "shell/app/ShellAboutDialog.h"

#include <zlib.h>
#include <png.h>
#include <jconfig.h>

#include "framework/Hooks.h"
#include "shell/app/ShellApp.h"
#include "shell/app/ShellResources.h"

#define QX_TEXT_OF(x) #x
#define QX_VERSION_TEXT(x) QX_TEXT_OF(x)

namespace {

// The libraries linked in, with the versions the program was built against.
String libraryCredits()
{
    // libjpeg-turbo's version is a bare token, not a string.
    return String("zlib " ZLIB_VERSION ", (C) 1995-2022 Jean-loup Gailly and Mark Adler.\n"
                  "libpng " PNG_LIBPNG_VER_STRING
                  ", (C) 1995-2022 The PNG Reference Library Authors.\n"
                  "libjpeg-turbo " QX_VERSION_TEXT(LIBJPEG_TURBO_VERSION)
                  ", (C) 1991-1998 Thomas G. Lane, 2009-2020 D. R. Commander and others.\n"
                  "This software is based in part on the work of the Independent JPEG Group.");
}

} // namespace

CShellAboutDialog::CShellAboutDialog(HWND parent) : CDialog(IDD_ABOUTBOX, parent)
{
}

bool CShellAboutDialog::onInitDialog()
{
    CDialog::onInitDialog();
    setItemText(IDC_ABOUT_CREDITS, libraryCredits());
    setItemText(IDC_ABOUT_WEB, CShellApp::homeHost());
    return true;
}

bool CShellAboutDialog::onCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_ABOUT_WEB && code == BN_CLICKED) {
        openWebPage(CShellApp::homeAddress());
        return true;
    }
    return CDialog::onCommand(id, code, control);
}
