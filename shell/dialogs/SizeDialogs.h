#pragma once

#include "framework/Dialog.h"

// The two dialogs that ask for an image size. Both refuse sizes outside
// 2..32767 on OK with the framework's range message and stay open with the
// field focused; both keep their last values in section "default" of the
// options (saved with the options at exit).

// Width, height and depth of a new blank image.
class CNewImageDialog : public CDialog
{
public:
    explicit CNewImageDialog(HWND parent = nullptr);

    int width;
    int height;
    // 0 for 24 bits, 1 for 32 bits.
    int depthChoice;
    int bitsPerPixel() const { return depthChoice == 1 ? 32 : 24; }

    bool onInitDialog() override;
    void doDataExchange(DataExchange& exchange) override;
    void onOK() override;
};

// The new size and smoothing of the current image; with "Maintain Aspect
// Ratio" either size follows the other as it is typed.
class CResampleDialog : public CDialog
{
public:
    CResampleDialog(int width, int height, HWND parent = nullptr);

    int newWidth;
    int newHeight;
    int maintainAspect;
    float smoothing;

    bool onInitDialog() override;
    void doDataExchange(DataExchange& exchange) override;
    void onOK() override;
    bool onCommand(UINT id, UINT code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void follow(UINT changedSpin, UINT otherSpin, int own, int otherOwn);
    void showSmoothing();

    int ownWidth_;
    int ownHeight_;
    bool deriving_;
};
