#pragma once

#include "framework/Dialog.h"

// The About box (template 100): any left click closes it with IDOK.
class CAboutDialog : public CDialog
{
public:
    explicit CAboutDialog(HWND parent);

    bool onInitDialog() override;
    bool onLButtonDown(UINT flags, POINT point) override;
};
