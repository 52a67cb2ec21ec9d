#pragma once

#include <memory>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "framework/ControlBars.h"

class CFrameWnd;
class CFloatingBarWindow;
struct SizeParentLayout;

// The resource type of a toolbar's button list (RT_TOOLBAR).
const WORD kToolBarResourceType = 241;

// A toolbar common control loaded from a toolbar resource (the button ids,
// kToolBarResourceType) and a bitmap of the same id with one image per
// button; magenta is transparent. With docking enabled it has a gripper by which it is
// dragged to any allowed edge of its frame or floated, and it paints its
// borders, gripper and background itself.
class CToolBar : public CControlBar
{
public:
    CToolBar();
    ~CToolBar() override;

    bool createBar(HWND parent, DWORD style, UINT id);
    bool loadToolBar(UINT resourceId);
    int buttonCount() const;
    // Update-UI for every button through the frame's route; buttons nobody
    // answers are disabled.
    void updateButtons(CFrameWnd& frame);
    int barHeight() const override;
    int barWidth() const override;
    bool isButtonEnabled(UINT id) const;

    // Docking at the frame's edges: the bar keeps sending its commands and
    // notifications to the frame wherever it is.
    void enableDocking(CFrameWnd& frame, UINT sides);
    bool canDock(DockSide side) const;
    void dock(DockSide side);
    // Floats the bar with its window's top-left corner at a screen point.
    void floatAt(POINT screen);
    HWND floatingWindow() const;
    // A floating bar's window being sized by one of its edges (WMSZ_*): the
    // buttons are laid out again in as many columns as the new size holds
    // and the rectangle is fitted to them.
    void sizeFloating(UINT edge, RECT& proposed);
    // Where a drag released at this screen point puts the bar: the edge of
    // the frame's client area it is near (when allowed), else floating.
    DockSide dropSide(POINT screen) const;
    // A drag of the bar from this screen point (gripper or floating caption).
    void beginDrag(POINT screen);
    void showBar(bool show) override;
    // The gripper's rectangle in window coordinates; empty while floating
    // or without docking.
    RECT gripperRect() const;

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onEraseBackground(HDC dc) override;
    bool onMouseMove(UINT flags, POINT point) override;
    bool onLButtonUp(UINT flags, POINT point) override;
    bool onSetCursor(HWND window, UINT hitTest, UINT mouseMessage) override;

protected:
    // The text shown on a button; none by default.
    virtual String buttonLabel(UINT id) const;

    HIMAGELIST images_;
    int imageWidth_;
    int imageHeight_;
    std::vector<UINT> ids_;

private:
    // A drag of the bar by its gripper or floating caption, in screen
    // coordinates, with the outline of where the bar would go drawn on the
    // screen by XOR.
    struct Drag
    {
        bool active = false;
        POINT start = {0, 0};
        // The pointer's offset from the dragged window's top-left corner.
        POINT offset = {0, 0};
        RECT outline = {0, 0, 0, 0};
        bool outlineShown = false;

        POINT corner(POINT pointer) const
        {
            return POINT{pointer.x - offset.x, pointer.y - offset.y};
        }
        // Far enough from the press to be a drag, not a click.
        bool movedFar(POINT pointer) const;
        void showOutline(const RECT& r);
        void hideOutline();
    };

    // Rows for the place the bar is in. Docked, one line along its edge
    // while the room there holds it, else rows (columns) of as many buttons
    // as fit; floating, a row per group of buttons or the columns the user
    // sized. The whole bar is repainted.
    void layoutButtons();
    // Where a button or divider goes: a new row after it, or left out.
    struct Place
    {
        bool wrap;
        bool hidden;
    };
    void setPlaces(const std::vector<Place>& places);
    // One line along the edge; a vertical bar breaks after every item.
    std::vector<Place> linePlaces() const;
    // Buttons in rows of perRow (0: a row per group), without dividers.
    std::vector<Place> gridPlaces(int perRow) const;
    // Rows as long as `room`, broken where the next button would not fit.
    std::vector<Place> wrappedPlaces(int room);
    std::vector<Place> dockedPlaces();
    // Each item's length along the edge in one line.
    std::vector<int> lineExtents();
    int buttonTotal() const;
    void fitDockedRoom(const SizeParentLayout& layout);
    int floatingColumns() const;
    // More columns until the floating window is no taller than this.
    void fitFloatingHeight(int height);
    SIZE contentSize() const;
    // The floating window's outer size around the buttons as laid out.
    SIZE floatingOuterSize() const;
    RECT borders() const;
    void paintNonClient();
    // The client area inside the bar's borders and gripper.
    void fitClientArea(RECT& window) const;
    bool onGripper(POINT screen) const;
    void showDragFrame(POINT screen);
    // Ends a drag where it is: no outline, no capture.
    void endDrag();
    void dropBar(POINT screen);
    // Fly-by help: the command under the pointer, its prompt in the frame's
    // message pane.
    void showPrompt(UINT id);

    CFrameWnd* frame_;
    UINT dockSides_;
    DockSide lastDocked_;
    std::unique_ptr<CFloatingBarWindow> floating_;
    Drag drag_;
    UINT promptId_;
    // Columns of a floating bar the user has sized; 0 for a row per group.
    int floatColumns_;
    // The length of the edge the bar was last laid out along; 0 when not
    // known yet.
    int dockedRoom_;
    // One line of buttons, measured once per orientation and button size.
    struct Line
    {
        LRESULT buttonSize = -1;
        std::vector<int> extents;
    };
    Line lines_[2];
};
