#pragma once

#include "foundation/String.h"
#include "framework/Controls.h"
#include "plugin/skin/SkinBitmap.h"
#include "plugin/skin/SkinnedControl.h"

class PropertyWriter;

// An owner-drawn push button painted from a strip of four equal frames:
// normal, pressed, hover, disabled.
class SkinnedPushButton : public SkinnedControl
{
public:
    enum State { Normal = 0, Pressed = 1, Hover = 2, Disabled = 3 };

    SkinnedPushButton(HWND button, const String& name, bool subclassNow = true);

    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Drops the hover look once the cursor has left.
    void tick(DWORD value) override;

    State state() const;
    // The frame of the state stretched over the rectangle.
    void paint(HDC dc, const RECT& client, State state);
    void paintWindow();
    // Follows the cursor; true when the hover look changed.
    bool updateHover();
    // "control.button.<name>.pos" = "x,y,width,height" in the parent, when
    // savePositionFlag is set.
    void savePosition(PropertyWriter& writer) const;

    SkinBitmap strip;
    bool hover;
    String name;
    bool savePositionFlag;
};

// A framework button that draws itself through an embedded skinned button
// bound to the same window (no second subclassing) when it is subclassed.
class CSkinButton : public CButton
{
public:
    explicit CSkinButton(const String& name);

    bool subclassWindow(HWND window);
    bool subclassDlgItem(int id, HWND parent);

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    SkinnedPushButton part;
    // One bitmap per button state for skins that keep them apart from the
    // strip (normal, pressed, hover, disabled).
    SkinBitmap stateBitmaps[4];

private:
    void bindPart();
};
