#pragma once

#include "foundation/String.h"
#include "framework/Dialog.h"

// Asks for the author name written into new presets (template 110); the
// caller cleans the text.
class CAuthorNameDialog : public CDialog
{
public:
    static const int kMaxChars = 24;

    CAuthorNameDialog(HWND parent, const String& initialName);
    void doDataExchange(DataExchange& exchange) override;

    String name;
};
