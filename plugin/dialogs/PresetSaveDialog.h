#pragma once

#include "foundation/String.h"
#include "framework/Dialog.h"

// Asks for a preset's name and description (template 117); the caller
// cleans and checks them.
class CPresetSaveDialog : public CDialog
{
public:
    static const int kMaxNameChars = 24;

    CPresetSaveDialog(HWND parent, const String& initialName, const String& initialDescription);
    void doDataExchange(DataExchange& exchange) override;

    String name;
    String description;
};
