#pragma once

#include "framework/Dialog.h"
#include "image/OwnedBitmap.h"

// The quick-help picture (template 118 sized to a "bin" PNG of the plug-in);
// a click closes it. A picture that is missing or cannot be decoded ends the
// dialog at once.
class CQuickHelpDialog : public CDialog
{
public:
    CQuickHelpDialog(UINT pictureId, HWND parent);

    bool onInitDialog() override;
    bool onPaint() override;
    bool onLButtonUp(UINT flags, POINT point) override;

    const OwnedBitmap& picture() const { return picture_; }

private:
    UINT pictureId_;
    OwnedBitmap picture_;
};
