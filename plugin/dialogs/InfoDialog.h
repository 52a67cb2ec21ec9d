#pragma once

#include "foundation/String.h"
#include "framework/Dialog.h"
#include "plugin/skin/StaticLink.h"

// One line of text and a link to the maker's web site (template 115).
class CInfoDialog : public CDialog
{
public:
    explicit CInfoDialog(HWND parent);

    void doDataExchange(DataExchange& exchange) override;
    bool onInitDialog() override;

    String message;
    CStaticLink link;
};

// Shows the info dialog over the owner; an empty message keeps the
// template's text.
void showInfoDialog(HWND owner, const String& message);
