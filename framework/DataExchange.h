#pragma once

#include "foundation/String.h"

class CDialog;
class CWnd;

// One pass of moving values between a dialog's controls and its members:
// into the controls when saveAndValidate is false, out of them (with checks)
// when true. A failed check sets failed and leaves the focus on the control.
class DataExchange
{
public:
    DataExchange(CDialog& dialog, bool saveAndValidate)
        : dialog(dialog), saveAndValidate(saveAndValidate), failed(false)
    {
    }

    CDialog& dialog;
    const bool saveAndValidate;
    bool failed;
};

// Control text <-> value.
void ddxText(DataExchange& exchange, int id, String& value);
// Loading limits the edit control to maxChars; saving refuses a longer value
// with a message box.
void ddvMaxChars(DataExchange& exchange, int id, const String& value, int maxChars);
// Binds the control of the id to the wrapper once.
void ddxControl(DataExchange& exchange, int id, CWnd& control);
// Check state (0, 1, 2) of a button <-> value.
void ddxCheck(DataExchange& exchange, int id, int& value);
