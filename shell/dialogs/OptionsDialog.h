#pragma once

#include "framework/Dialog.h"

// The user options: JPEG quality and the New Image defaults. OK validates
// (sizes 2..32767, quality 1..99), writes section "default", saves
// "Options.ini" at once (a failed save is reported) and puts the quality in
// use.
class COptionsDialog : public CDialog
{
public:
    explicit COptionsDialog(HWND parent = nullptr);

    int width;
    int height;
    int quality;
    // 0 for 24 bits, 1 for 32 bits.
    int depthChoice;

    bool onInitDialog() override;
    void doDataExchange(DataExchange& exchange) override;
    void onOK() override;
};
