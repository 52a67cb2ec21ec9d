#include "framework/ToolBar.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <numeric>

#include <windowsx.h>

#include "framework/Application.h"
#include "framework/CommandIds.h"
#include "framework/CommandTarget.h"
#include "framework/FrameWnd.h"
#include "framework/Resources.h"

namespace {

// Pixels of the bar's own border on each side, and the room of the gripper
// (two raised lines) before the buttons.
const int kBarBorder = 2;
const int kGripperRoom = 8;
// A gripper press that moves less than this is a click, not a drag.
const int kDragThreshold = 4;

// The keys go to the focus, not to the bar that holds the capture: a drag
// reads Escape from the key state.
bool escapeHeld()
{
    return GetKeyState(VK_ESCAPE) < 0;
}

// The part of the screen nearest the point that no taskbar covers.
RECT workAreaAt(POINT screen)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return work;
}

} // namespace

// ------------------------------------------------------- CFloatingBarWindow

// The small captioned window a floating bar lives in, owned by the frame.
// Its caption drags the bar (back to an edge, or elsewhere); a double click
// docks it where it was docked last; closing hides the bar.
class CFloatingBarWindow : public CWnd
{
public:
    explicit CFloatingBarWindow(CToolBar& bar) : bar_(bar) {}

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (message) {
        case WM_CLOSE:
            bar_.showBar(false);
            result = 0;
            return true;
        case WM_NCLBUTTONDOWN:
            if (wParam != HTCAPTION)
                return false;
            bar_.beginDrag(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            result = 0;
            return true;
        case WM_NCLBUTTONDBLCLK:
            if (wParam != HTCAPTION)
                return false;
            onDoubleClick();
            result = 0;
            return true;
        case WM_SIZING:
            bar_.sizeFloating(UINT(wParam), *reinterpret_cast<RECT*>(lParam));
            result = TRUE;
            return true;
        default:
            return CWnd::onMessage(message, wParam, lParam, result);
        }
    }
    std::function<void()> onDoubleClick;

private:
    CToolBar& bar_;
};

// ----------------------------------------------------------------- CToolBar

CToolBar::CToolBar()
    : images_(nullptr), imageWidth_(16), imageHeight_(15), frame_(nullptr), dockSides_(0),
      lastDocked_(DockSide::top), promptId_(0), floatColumns_(0), dockedRoom_(0)
{
}

CToolBar::~CToolBar()
{
    // The bar's window lives in the floating window while it floats.
    if (side_ == DockSide::floating && hwnd_ && IsWindow(hwnd_) && frame_ && frame_->isWindow())
        SetParent(hwnd_, frame_->hwnd());
    floating_.reset();
    if (images_)
        ImageList_Destroy(images_);
}

bool CToolBar::createBar(HWND parent, DWORD style, UINT id)
{
    const RECT none = {0, 0, 0, 0};
    if (!create(0, TOOLBARCLASSNAMEA, nullptr,
                style | WS_CHILD | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, none,
                parent, id))
        return false;
    frame_ = dynamic_cast<CFrameWnd*>(CWnd::fromHandle(parent));
    send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return true;
}

bool CToolBar::loadToolBar(UINT resourceId)
{
    HINSTANCE module = resourceModule();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId),
                                MAKEINTRESOURCEA(kToolBarResourceType));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const WORD* data = loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    if (!data || size < 8 || data[0] != 1)
        return false;
    const WORD count = data[3];
    if (size < 8u + 2u * count)
        return false;
    imageWidth_ = data[1];
    imageHeight_ = data[2];
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(resourceId),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap)
        return false;
    if (images_)
        ImageList_Destroy(images_);
    images_ = ImageList_Create(imageWidth_, imageHeight_, ILC_COLOR24 | ILC_MASK, count, 0);
    ImageList_AddMasked(images_, bitmap, RGB(255, 0, 255));
    DeleteObject(bitmap);
    send(TB_SETBITMAPSIZE, 0, MAKELPARAM(imageWidth_, imageHeight_));
    send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    ids_.clear();
    int image = 0;
    for (WORD i = 0; i < count; ++i) {
        TBBUTTON button = {};
        const UINT id = data[4 + i];
        ids_.push_back(id);
        if (id == 0) {
            button.fsStyle = BTNS_SEP;
            button.iBitmap = 6;
        } else {
            button.iBitmap = image++;
            button.idCommand = int(id);
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
            button.iString = -1;
            const String label = buttonLabel(id);
            if (!label.empty()) {
                std::string list = label;
                list.push_back('\0');
                button.iString = INT_PTR(send(TB_ADDSTRINGA, 0,
                                              reinterpret_cast<LPARAM>(list.c_str())));
            }
        }
        send(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    send(TB_AUTOSIZE);
    return true;
}

String CToolBar::buttonLabel(UINT) const
{
    return String();
}

int CToolBar::buttonCount() const
{
    return int(send(TB_BUTTONCOUNT));
}

bool CToolBar::isButtonEnabled(UINT id) const
{
    return send(TB_ISBUTTONENABLED, id) != 0;
}

void CToolBar::updateButtons(CFrameWnd& frame)
{
    for (UINT id : ids_) {
        if (!id)
            continue;
        CCmdUI ui(id, CCmdUI::kToolButton);
        ui.bar = hwnd_;
        const bool known = frame.onCmdMsg(id, &ui);
        if (!ui.handled)
            ui.enable(known);
    }
}

SIZE CToolBar::contentSize() const
{
    SIZE size = {0, 0};
    const int count = buttonCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        RECT item = {0, 0, 0, 0};
        if (send(TB_GETBUTTON, WPARAM(i), reinterpret_cast<LPARAM>(&button)) &&
            !(button.fsState & TBSTATE_HIDDEN) &&
            send(TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item))) {
            size.cx = std::max(size.cx, LONG(item.right));
            size.cy = std::max(size.cy, LONG(item.bottom));
        }
    }
    return size;
}

RECT CToolBar::borders() const
{
    RECT b = {kBarBorder, kBarBorder, kBarBorder, kBarBorder};
    if (dockSides_ && side_ != DockSide::floating) {
        if (isVertical())
            b.top += kGripperRoom;
        else
            b.left += kGripperRoom;
    }
    return b;
}

int CToolBar::barHeight() const
{
    const RECT b = borders();
    const SIZE content = contentSize();
    const int button = HIWORD(send(TB_GETBUTTONSIZE));
    return std::max(int(content.cy), button) + b.top + b.bottom;
}

int CToolBar::barWidth() const
{
    const RECT b = borders();
    const SIZE content = contentSize();
    const int button = LOWORD(send(TB_GETBUTTONSIZE));
    return std::max(int(content.cx), button) + b.left + b.right;
}

RECT CToolBar::gripperRect() const
{
    RECT grip = {0, 0, 0, 0};
    if (!dockSides_ || side_ == DockSide::floating || !hwnd_)
        return grip;
    RECT window = windowRect();
    OffsetRect(&window, -window.left, -window.top);
    if (isVertical())
        grip = {window.left + kBarBorder, window.top + kBarBorder, window.right - kBarBorder,
                window.top + kBarBorder + kGripperRoom};
    else
        grip = {window.left + kBarBorder, window.top + kBarBorder,
                window.left + kBarBorder + kGripperRoom, window.bottom - kBarBorder};
    return grip;
}

int CToolBar::buttonTotal() const
{
    return int(std::count_if(ids_.begin(), ids_.end(), [](UINT id) { return id != 0; }));
}

void CToolBar::setPlaces(const std::vector<Place>& places)
{
    // A vertical bar draws its separators across.
    const LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    const LONG wanted = isVertical() ? (style | CCS_VERT) : (style & ~CCS_VERT);
    if (wanted != style)
        SetWindowLongA(hwnd_, GWL_STYLE, wanted);
    const int count = std::min(buttonCount(), int(places.size()));
    for (int i = 0; i < count; ++i) {
        TBBUTTONINFOA info = {};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        if (send(TB_GETBUTTONINFOA, WPARAM(i), reinterpret_cast<LPARAM>(&info)) < 0)
            continue;
        const Place& place = places[size_t(i)];
        BYTE state = place.wrap ? BYTE(info.fsState | TBSTATE_WRAP)
                                : BYTE(info.fsState & ~TBSTATE_WRAP);
        state = place.hidden ? BYTE(state | TBSTATE_HIDDEN) : BYTE(state & ~TBSTATE_HIDDEN);
        if (state != info.fsState) {
            info.fsState = state;
            send(TB_SETBUTTONINFOA, WPARAM(i), reinterpret_cast<LPARAM>(&info));
        }
    }
    send(TB_AUTOSIZE);
}

std::vector<CToolBar::Place> CToolBar::linePlaces() const
{
    return std::vector<Place>(ids_.size(), Place{isVertical(), false});
}

std::vector<CToolBar::Place> CToolBar::gridPlaces(int perRow) const
{
    // Rows of buttons part their groups by themselves: a divider would only
    // stand at the end of a row.
    std::vector<Place> places(ids_.size(), Place{false, false});
    const int buttons = buttonTotal();
    int soFar = 0;
    for (size_t i = 0; i < ids_.size(); ++i) {
        if (ids_[i] == 0) {
            places[i].hidden = true;
            continue;
        }
        ++soFar;
        const bool groupEnds = i + 1 < ids_.size() && ids_[i + 1] == 0;
        places[i].wrap = soFar < buttons && (perRow > 0 ? soFar % perRow == 0 : groupEnds);
    }
    return places;
}

std::vector<CToolBar::Place> CToolBar::wrappedPlaces(int room)
{
    // Each row takes what the room holds; the dividers where rows break
    // are left out.
    const std::vector<int> extents = lineExtents();
    std::vector<Place> places(ids_.size(), Place{false, false});
    std::vector<size_t> dividers;
    int x = 0, lastButton = -1;
    for (size_t i = 0; i < ids_.size(); ++i) {
        if (ids_[i] == 0) {
            dividers.push_back(i);
            continue;
        }
        int gap = 0;
        for (size_t d : dividers)
            gap += extents[d];
        const bool breaks = lastButton >= 0 && x + gap + extents[i] > room;
        if (breaks || lastButton < 0) {
            for (size_t d : dividers)
                places[d].hidden = true;
            if (breaks)
                places[size_t(lastButton)].wrap = true;
            x = 0;
        } else {
            x += gap;
        }
        x += extents[i];
        lastButton = int(i);
        dividers.clear();
    }
    for (size_t d : dividers)
        places[d].hidden = true;
    return places;
}

std::vector<int> CToolBar::lineExtents()
{
    const LRESULT size = send(TB_GETBUTTONSIZE);
    const bool vertical = isVertical();
    Line& line = lines_[vertical ? 1 : 0];
    if (line.buttonSize != size || line.extents.size() != ids_.size()) {
        setPlaces(linePlaces());
        line.buttonSize = size;
        line.extents.assign(ids_.size(), 0);
        for (size_t i = 0; i < ids_.size(); ++i) {
            RECT item = {0, 0, 0, 0};
            send(TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item));
            line.extents[i] = vertical ? item.bottom - item.top : item.right - item.left;
        }
    }
    return line.extents;
}

std::vector<CToolBar::Place> CToolBar::dockedPlaces()
{
    const RECT b = borders();
    const bool vertical = isVertical();
    const int room = dockedRoom_ - (vertical ? b.top + b.bottom : b.left + b.right);
    const std::vector<int> extents = lineExtents();
    if (dockedRoom_ <= 0 || std::accumulate(extents.begin(), extents.end(), 0) <= room)
        return linePlaces();
    if (!vertical)
        return wrappedPlaces(room);
    // Columns of whole rows: rows as the room holds, as many columns as
    // that needs.
    const int rows = std::max(1, room / std::max(1, int(HIWORD(send(TB_GETBUTTONSIZE)))));
    return gridPlaces((buttonTotal() + rows - 1) / rows);
}

void CToolBar::layoutButtons()
{
    setPlaces(side_ == DockSide::floating ? gridPlaces(floatColumns_) : dockedPlaces());
    // The control repaints only what it thinks moved: buttons that changed
    // rows were left behind in their old places.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void CToolBar::fitDockedRoom(const SizeParentLayout& layout)
{
    if (side_ == DockSide::floating || layout.pass != layoutPass() || !IsWindowVisible(hwnd_))
        return;
    const RECT& r = layout.rect;
    const int room = isVertical() ? r.bottom - r.top : r.right - r.left;
    if (room == dockedRoom_)
        return;
    dockedRoom_ = room;
    layoutButtons();
}

int CToolBar::floatingColumns() const
{
    if (floatColumns_ > 0)
        return floatColumns_;
    int widest = 0, group = 0;
    for (UINT id : ids_) {
        group = id ? group + 1 : 0;
        widest = std::max(widest, group);
    }
    return widest;
}

void CToolBar::fitFloatingHeight(int height)
{
    const int buttons = buttonTotal();
    while (floatingOuterSize().cy > height && floatingColumns() < buttons) {
        floatColumns_ = floatingColumns() + 1;
        layoutButtons();
    }
}

void CToolBar::enableDocking(CFrameWnd& frame, UINT sides)
{
    frame_ = &frame;
    dockSides_ = sides & kDockAny;
    // Commands and tips go to the frame even while the bar floats.
    send(TB_SETPARENT, reinterpret_cast<WPARAM>(frame.hwnd()));
}

bool CToolBar::canDock(DockSide side) const
{
    switch (side) {
    case DockSide::top: return (dockSides_ & kDockTop) != 0;
    case DockSide::bottom: return (dockSides_ & kDockBottom) != 0;
    case DockSide::left: return (dockSides_ & kDockLeft) != 0;
    case DockSide::right: return (dockSides_ & kDockRight) != 0;
    default: return dockSides_ != 0;
    }
}

void CToolBar::dock(DockSide side)
{
    if (!hwnd_ || !frame_ || side == DockSide::floating || !canDock(side))
        return;
    const bool visible = side_ != DockSide::floating || IsWindowVisible(floating_->hwnd());
    if (GetParent(hwnd_) != frame_->hwnd())
        SetParent(hwnd_, frame_->hwnd());
    // Kept for the next float: this may run inside its own double click.
    if (floating_)
        ShowWindow(floating_->hwnd(), SW_HIDE);
    side_ = side;
    lastDocked_ = side;
    // The frame's layout tells the bar its room along the new edge.
    dockedRoom_ = 0;
    layoutButtons();
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    frame_->recalcLayout();
}

void CToolBar::floatAt(POINT screen)
{
    if (!hwnd_ || !frame_ || !dockSides_)
        return;
    if (!floating_ || !floating_->isWindow()) {
        floating_.reset(new CFloatingBarWindow(*this));
        const RECT none = {0, 0, 0, 0};
        if (!floating_->create(WS_EX_TOOLWINDOW, nullptr, text().c_str(),
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                   WS_CLIPCHILDREN,
                               none,
                               frame_->hwnd(), 0)) {
            floating_.reset();
            return;
        }
        floating_->onDoubleClick = [this] { dock(lastDocked_); };
    }
    const bool wasVisible = IsWindowVisible(hwnd_) != FALSE;
    SetParent(hwnd_, floating_->hwnd());
    side_ = DockSide::floating;
    layoutButtons();
    // Within reach: all of it on the screen it was dropped on, in more
    // columns when its rows would not fit there.
    const RECT work = workAreaAt(screen);
    fitFloatingHeight(work.bottom - work.top);
    const SIZE content = contentSize();
    const RECT b = borders();
    const int width = content.cx + b.left + b.right, height = content.cy + b.top + b.bottom;
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height,
                 SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    const SIZE outer = floatingOuterSize();
    const LONG x = std::max(work.left, std::min(screen.x, work.right - outer.cx));
    const LONG y = std::max(work.top, std::min(screen.y, work.bottom - outer.cy));
    SetWindowPos(floating_->hwnd(), nullptr, x, y, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | (wasVisible ? SWP_SHOWWINDOW : 0));
    frame_->recalcLayout();
}

SIZE CToolBar::floatingOuterSize() const
{
    const SIZE content = contentSize();
    const RECT b = borders();
    RECT outer = {0, 0, content.cx + b.left + b.right, content.cy + b.top + b.bottom};
    if (floating_ && floating_->isWindow())
        AdjustWindowRectEx(&outer, DWORD(GetWindowLongA(floating_->hwnd(), GWL_STYLE)), FALSE,
                           DWORD(GetWindowLongA(floating_->hwnd(), GWL_EXSTYLE)));
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

void CToolBar::sizeFloating(UINT edge, RECT& proposed)
{
    if (side_ != DockSide::floating || !floating_)
        return;
    const int buttons = buttonTotal();
    if (buttons == 0)
        return;
    const LRESULT size = send(TB_GETBUTTONSIZE);
    const int buttonWidth = std::max(1, int(LOWORD(size))), buttonHeight = std::max(1, int(HIWORD(size)));
    const SIZE now = floatingOuterSize();
    const SIZE content = contentSize();
    // What the window adds around the buttons stays the same.
    const int extraWidth = now.cx - content.cx, extraHeight = now.cy - content.cy;
    const bool byHeight = edge == WMSZ_TOP || edge == WMSZ_BOTTOM;
    int columns;
    if (byHeight) {
        const int rows = std::max(1, int(proposed.bottom - proposed.top - extraHeight) / buttonHeight);
        columns = (buttons + rows - 1) / rows;
    } else {
        columns = int(proposed.right - proposed.left - extraWidth) / buttonWidth;
    }
    floatColumns_ = std::max(1, std::min(columns, buttons));
    layoutButtons();
    // More columns rather than rows past the edge of the screen.
    const bool topMoves = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    const RECT work = workAreaAt(POINT{proposed.left, topMoves ? proposed.bottom : proposed.top});
    fitFloatingHeight(topMoves ? proposed.bottom - work.top : work.bottom - proposed.top);
    const RECT b = borders();
    const SIZE laid = contentSize();
    SetWindowPos(hwnd_, nullptr, 0, 0, laid.cx + b.left + b.right, laid.cy + b.top + b.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    const SIZE outer = floatingOuterSize();
    // The edges not being dragged stay where they are.
    if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
        proposed.left = proposed.right - outer.cx;
    else
        proposed.right = proposed.left + outer.cx;
    if (topMoves)
        proposed.top = proposed.bottom - outer.cy;
    else
        proposed.bottom = proposed.top + outer.cy;
}

HWND CToolBar::floatingWindow() const
{
    return side_ == DockSide::floating && floating_ ? floating_->hwnd() : nullptr;
}

DockSide CToolBar::dropSide(POINT screen) const
{
    if (!frame_ || !frame_->isWindow())
        return DockSide::floating;
    RECT area = frame_->clientRect();
    MapWindowPoints(frame_->hwnd(), nullptr, reinterpret_cast<POINT*>(&area), 2);
    // Near an edge means within a docked bar's thickness of it.
    const int zone = std::max(24, int(HIWORD(send(TB_GETBUTTONSIZE))));
    RECT reach = area;
    InflateRect(&reach, zone, zone);
    if (!PtInRect(&reach, screen))
        return DockSide::floating;
    struct Edge
    {
        DockSide side;
        LONG distance;
    };
    const Edge edges[] = {{DockSide::top, std::abs(screen.y - area.top)},
                          {DockSide::bottom, std::abs(area.bottom - screen.y)},
                          {DockSide::left, std::abs(screen.x - area.left)},
                          {DockSide::right, std::abs(area.right - screen.x)}};
    const Edge* best = nullptr;
    for (const Edge& edge : edges)
        if (canDock(edge.side) && edge.distance <= zone && (!best || edge.distance < best->distance))
            best = &edge;
    return best ? best->side : DockSide::floating;
}

bool CToolBar::Drag::movedFar(POINT pointer) const
{
    return std::abs(pointer.x - start.x) >= kDragThreshold ||
           std::abs(pointer.y - start.y) >= kDragThreshold;
}

void CToolBar::Drag::showOutline(const RECT& r)
{
    HDC dc = GetDC(nullptr);
    if (outlineShown)
        DrawFocusRect(dc, &outline);
    outline = r;
    DrawFocusRect(dc, &outline);
    outlineShown = true;
    ReleaseDC(nullptr, dc);
}

void CToolBar::Drag::hideOutline()
{
    if (!outlineShown)
        return;
    HDC dc = GetDC(nullptr);
    DrawFocusRect(dc, &outline);
    ReleaseDC(nullptr, dc);
    outlineShown = false;
}

void CToolBar::beginDrag(POINT screen)
{
    if (!dockSides_ || drag_.active)
        return;
    HWND moved = floatingWindow() ? floatingWindow() : hwnd_;
    RECT r;
    GetWindowRect(moved, &r);
    drag_ = Drag();
    drag_.active = true;
    drag_.start = screen;
    drag_.offset = POINT{screen.x - r.left, screen.y - r.top};
    SetCapture(hwnd_);
}

void CToolBar::showDragFrame(POINT screen)
{
    const DockSide side = dropSide(screen);
    const bool vertical = side == DockSide::left || side == DockSide::right;
    const SIZE content = contentSize();
    const LONG along = std::max(content.cx, content.cy), across = std::min(content.cx, content.cy);
    const POINT corner = drag_.corner(screen);
    drag_.showOutline(RECT{corner.x, corner.y, corner.x + (vertical ? across : along),
                           corner.y + (vertical ? along : across)});
}

void CToolBar::endDrag()
{
    drag_.active = false;
    drag_.hideOutline();
    if (GetCapture() == hwnd_)
        ReleaseCapture();
}

void CToolBar::dropBar(POINT screen)
{
    endDrag();
    if (!drag_.movedFar(screen))
        return;
    const DockSide side = dropSide(screen);
    if (side == DockSide::floating)
        floatAt(drag_.corner(screen));
    else
        dock(side);
}

void CToolBar::showBar(bool show)
{
    if (HWND floating = floatingWindow())
        ShowWindow(floating, show ? SW_SHOWNA : SW_HIDE);
    else
        CControlBar::showBar(show);
}

void CToolBar::showPrompt(UINT id)
{
    if (id == promptId_ || !frame_)
        return;
    promptId_ = id;
    frame_->setMessageText(id ? commandPrompt(id) : loadResourceString(kIdsIdleMessage));
    if (id) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&track);
    }
}

void CToolBar::paintNonClient()
{
    HDC dc = GetWindowDC(hwnd_);
    RECT window = windowRect();
    OffsetRect(&window, -window.left, -window.top);
    RECT client = clientRect();
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT screen = windowRect();
    OffsetRect(&client, -screen.left, -screen.top);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    FillRect(dc, &window, GetSysColorBrush(COLOR_BTNFACE));
    if (side_ != DockSide::floating)
        DrawEdge(dc, &window, BDR_RAISEDINNER, BF_RECT);
    RECT grip = gripperRect();
    if (!IsRectEmpty(&grip)) {
        // Two raised lines across the bar, as desktop toolbars have.
        const bool vertical = isVertical();
        for (int line = 0; line < 2; ++line) {
            RECT r = grip;
            if (vertical) {
                r.left += 2;
                r.right -= 2;
                r.top += 1 + line * 3;
                r.bottom = r.top + 3;
            } else {
                r.top += 2;
                r.bottom -= 2;
                r.left += 1 + line * 3;
                r.right = r.left + 3;
            }
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        }
    }
    ReleaseDC(hwnd_, dc);
}

void CToolBar::fitClientArea(RECT& r) const
{
    const RECT b = borders();
    r.left += b.left;
    r.top += b.top;
    r.right = std::max(r.left, r.right - b.right);
    r.bottom = std::max(r.top, r.bottom - b.bottom);
}

bool CToolBar::onGripper(POINT screen) const
{
    const RECT window = windowRect();
    const POINT p = {screen.x - window.left, screen.y - window.top};
    const RECT grip = gripperRect();
    return PtInRect(&grip, p) != FALSE;
}

bool CToolBar::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_NCCALCSIZE:
        fitClientArea(*reinterpret_cast<RECT*>(lParam));
        result = 0;
        return true;
    case WM_NCPAINT:
        paintNonClient();
        result = 0;
        return true;
    case WM_NCHITTEST:
        if (!onGripper(point))
            break;
        result = HTCAPTION;
        return true;
    case WM_NCLBUTTONDOWN:
        if (wParam != HTCAPTION)
            break;
        beginDrag(point);
        result = 0;
        return true;
    case WM_NCLBUTTONDBLCLK: {
        if (wParam != HTCAPTION)
            break;
        const RECT r = windowRect();
        floatAt(POINT{r.left, r.top});
        result = 0;
        return true;
    }
    case WM_KEYDOWN:
        if (!drag_.active)
            break;
        if (wParam == VK_ESCAPE)
            endDrag();
        result = 0;
        return true;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        if (!drag_.active)
            break;
        endDrag();
        result = 0;
        return true;
    case kMsgSizeParent:
        // The base then takes the strip the buttons need in this room.
        fitDockedRoom(*reinterpret_cast<const SizeParentLayout*>(lParam));
        break;
    case WM_MOUSELEAVE:
        // The control clears its hot button too.
        showPrompt(0);
        break;
    default:
        break;
    }
    return CControlBar::onMessage(message, wParam, lParam, result);
}

bool CToolBar::onEraseBackground(HDC dc)
{
    const RECT r = clientRect();
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

bool CToolBar::onMouseMove(UINT, POINT point)
{
    if (drag_.active) {
        if (escapeHeld()) {
            endDrag();
        } else {
            ClientToScreen(hwnd_, &point);
            showDragFrame(point);
        }
        return true;
    }
    const int index = int(send(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    TBBUTTON button = {};
    const bool onButton = index >= 0 && index < buttonCount() &&
                          send(TB_GETBUTTON, WPARAM(index), reinterpret_cast<LPARAM>(&button)) &&
                          !(button.fsStyle & BTNS_SEP);
    showPrompt(onButton ? UINT(button.idCommand) : 0);
    // The control tracks its hot button itself.
    return false;
}

bool CToolBar::onLButtonUp(UINT, POINT point)
{
    if (!drag_.active)
        return false;
    if (escapeHeld()) {
        endDrag();
    } else {
        ClientToScreen(hwnd_, &point);
        dropBar(point);
    }
    return true;
}

bool CToolBar::onSetCursor(HWND window, UINT hitTest, UINT)
{
    if (hitTest != HTCAPTION || window != hwnd_)
        return false;
    SetCursor(LoadCursorA(nullptr, IDC_SIZEALL));
    return true;
}
