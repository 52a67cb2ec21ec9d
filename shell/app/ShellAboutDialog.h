#pragma once

#include "framework/Dialog.h"

// The shell's About box: name and version, the maker's notice, the credits of
// the libraries linked in, and a button that opens the maker's home page.
class CShellAboutDialog : public CDialog
{
public:
    explicit CShellAboutDialog(HWND parent);

    bool onInitDialog() override;
    bool onCommand(UINT id, UINT code, HWND control) override;
};
