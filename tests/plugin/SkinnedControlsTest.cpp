#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "FrontEndTestSupport.h"
#include "framework/Application.h"
#include "framework/GuiTestSupport.h"
#include "framework/Hooks.h"
#include "framework/Window.h"
#include "image/BinResource.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/ImageLoading.h"
#include "plugin/PluginResources.h"
#include "plugin/skin/SkinBitmap.h"
#include "plugin/skin/SkinSettings.h"
#include "plugin/skin/SkinnedCheckBox.h"
#include "plugin/skin/SkinnedLabel.h"
#include "plugin/skin/SkinnedPushButton.h"
#include "foundation/PropertyBag.h"
#include "plugin/skin/SkinnedTrackbar.h"
#include "plugin/skin/ValueListener.h"

namespace {

using guitest::Capture;

struct Listener : ValueListener
{
    void valueChanged(const int* value) override { values.push_back(*value); }
    std::vector<int> values;
};

// A parent that hands its children's notifications back to their skinned
// wrappers, as the settings dialog's binding list does.
class Host : public CWnd
{
public:
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (notificationSender(message, wParam, lParam))
            for (SkinnedControl* control : controls)
                if (control->handleMessage(message + kReflectOffset, wParam, lParam, result))
                    return true;
        return CWnd::onMessage(message, wParam, lParam, result);
    }
    std::vector<SkinnedControl*> controls;
};

// What a trackbar wrapper draws as its channel over a width x height
// rectangle of a fresh bitmap.
guitest::Capture drawnChannel(SkinnedTrackbar& trackbar, int width, int height)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT rect = {0, 0, width, height};
    trackbar.drawChannel(dc, rect, GetWindowLongA(trackbar.window, GWL_STYLE));
    GdiFlush();
    guitest::Capture out;
    out.width = width;
    out.height = height;
    const unsigned char* p = static_cast<const unsigned char*>(bits);
    out.pixels.assign(p, p + size_t(width) * size_t(height) * 4);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return out;
}

class SkinnedControls : public ::testing::Test
{
protected:
    // One host for the suite: hiding a top-level window costs seconds under
    // Wine without a window manager. Each test's controls go with it.
    static Host& sharedHost()
    {
        static Host* shared = [] {
            Host* h = new Host;
            RECT r = {50, 50, 450, 250};
            h->create(0, nullptr, "skin", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, r, nullptr, 0);
            return h;
        }();
        return *shared;
    }
    void SetUp() override
    {
        ASSERT_TRUE(host.isWindow());
        initCommonControlsOnce();
    }
    void TearDown() override
    {
        setControlKeyQuery(nullptr);
        host.controls.clear();
        while (HWND child = GetWindow(host.hwnd(), GW_CHILD))
            DestroyWindow(child);
    }

    static void initCommonControlsOnce()
    {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
        InitCommonControlsEx(&init);
    }
    HWND child(const char* className, DWORD style, int id, int x, int y, int w, int h)
    {
        return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                               host.hwnd(), reinterpret_cast<HMENU>(INT_PTR(id)),
                               GetModuleHandleA(nullptr), nullptr);
    }
    // The channel of a trackbar in the host's client capture.
    RECT channelOf(HWND trackbar)
    {
        RECT channel;
        SendMessageA(trackbar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        MapWindowPoints(trackbar, host.hwnd(), reinterpret_cast<POINT*>(&channel), 2);
        return channel;
    }

    Host& host = sharedHost();
    Listener listener;
};

TEST_F(SkinnedControls, TheWheelMovesOneUnitPerNotchWithinTheRange)
{
    HWND bar = child(TRACKBAR_CLASSA, TBS_HORZ, 1020, 10, 10, 200, 30);
    SkinnedTrackbar trackbar(bar, &listener);
    host.controls.push_back(&trackbar);
    SendMessageA(bar, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(bar, TBM_SETRANGEMAX, TRUE, 10);
    SendMessageA(bar, TBM_SETPOS, TRUE, 9);
    for (int notch : {120, 360, 120, -120, -120})
        SendMessageA(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, notch), MAKELPARAM(20, 20));
    EXPECT_EQ((std::vector<int>{10, 10, 10, 9, 8}), listener.values);
    SendMessageA(bar, TBM_SETPOS, TRUE, 0);
    SendMessageA(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
    EXPECT_EQ(0, listener.values.back());
    EXPECT_EQ(0, SendMessageA(bar, TBM_GETPOS, 0, 0));

    // A keyboard move reaches the listener through the parent's notification.
    SendMessageA(bar, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(1, listener.values.back());
    EXPECT_EQ(DLGC_WANTARROWS, SendMessageA(bar, WM_GETDLGCODE, 0, 0));
    EXPECT_FALSE(GetWindowLongA(bar, GWL_STYLE) & TBS_ENABLESELRANGE);

    // A tall channel: a light fill inside a flat edge over its full height.
    guitest::Capture drawn = drawnChannel(trackbar, 40, 20);
    EXPECT_EQ(RGB(250, 250, 250), drawn.at(20, 10));
    EXPECT_EQ(RGB(250, 250, 250), drawn.at(20, 3));
    EXPECT_NE(RGB(250, 250, 250), drawn.at(20, 0));
}

TEST_F(SkinnedControls, OnlyTheRangeTrackbarNarrowsATallChannel)
{
    HWND bar = child(TRACKBAR_CLASSA, TBS_HORZ, 1022, 10, 10, 200, 30);
    SkinnedRangeTrackbar range(bar, &listener);
    SendMessageA(bar, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(bar, TBM_SETRANGEMAX, TRUE, 40);
    range.low = 0;
    range.high = 20;
    const guitest::Capture drawn = drawnChannel(range, 40, 20);
    // Rows 6 to 13 hold the channel; rows outside stay as they were (the
    // fresh bitmap's black); the span covers the channel's first half.
    EXPECT_EQ(RGB(0, 0, 0), drawn.at(30, 3));
    EXPECT_EQ(RGB(0, 0, 0), drawn.at(30, 16));
    EXPECT_EQ(RGB(250, 250, 250), drawn.at(30, 10));
    EXPECT_EQ(RGB(20, 20, 220), drawn.at(10, 10));
}

TEST_F(SkinnedControls, RangeTrackbarKeepsItsLowWithControlAndDrawsTheSpan)
{
    HWND bar = child(TRACKBAR_CLASSA, TBS_HORZ | TBS_NOTHUMB, 1021, 10, 40, 300, 40);
    SkinnedRangeTrackbar range(bar, &listener);
    host.controls.push_back(&range);
    EXPECT_TRUE(GetWindowLongA(bar, GWL_STYLE) & TBS_ENABLESELRANGE);
    SendMessageA(bar, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(bar, TBM_SETRANGEMAX, TRUE, 100);

    range.valueChanged(30);
    EXPECT_EQ(30, range.low);
    EXPECT_EQ(30, range.high);
    setControlKeyQuery([] { return true; });
    range.valueChanged(70);
    EXPECT_EQ(30, range.low);
    EXPECT_EQ(70, range.high);
    setControlKeyQuery(nullptr);

    RECT channel = channelOf(bar);
    InvalidateRect(bar, nullptr, TRUE);
    Capture shot = guitest::captureWindow(host.hwnd(), true);
    // Only the range trackbar narrows a tall channel to 8 pixels.
    const int middleY = (channel.top + channel.bottom) / 2;
    const int width = channel.right - channel.left;
    EXPECT_EQ(RGB(20, 20, 220), shot.at(channel.left + width / 2, middleY));
    EXPECT_EQ(RGB(250, 250, 250), shot.at(channel.left + width / 10, middleY));

    range.low = 80;
    range.high = 20;
    InvalidateRect(bar, nullptr, TRUE);
    shot = guitest::captureWindow(host.hwnd(), true);
    EXPECT_EQ(RGB(220, 20, 20), shot.at(channel.left + width / 2, middleY));
}

TEST_F(SkinnedControls, LabelKeepsItsOwnTextAndPaintsInTheSkinColours)
{
    HWND text = child("STATIC", SS_LEFT, 1100, 10, 100, 200, 30);
    SetWindowTextA(text, "template");
    SkinnedLabel label(text, DT_LEFT);
    EXPECT_TRUE(GetWindowLongA(text, GWL_STYLE) & SS_NOTIFY);
    SetWindowTextA(text, "WWWWWWWW");
    EXPECT_EQ("WWWWWWWW", label.text());
    label.setFont(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    char own[32] = "";
    GetWindowTextA(text, own, sizeof own);
    EXPECT_STREQ("template", own);

    InvalidateRect(text, nullptr, TRUE);
    const Capture shot = guitest::captureWindow(host.hwnd(), true);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), shot.at(200, 125));
    bool textColour = false;
    for (int y = 100; y < 130 && !textColour; ++y)
        for (int x = 10; x < 120 && !textColour; ++x)
            textColour = shot.at(x, y) == RGB(10, 10, 12);
    EXPECT_TRUE(textColour);
}

TEST_F(SkinnedControls, CheckBoxReportsItsStateOnClick)
{
    HWND box = child("BUTTON", BS_AUTOCHECKBOX, 1140, 10, 150, 100, 20);
    SkinnedCheckBox check(box, &listener);
    host.controls.push_back(&check);
    SendMessageA(box, BM_CLICK, 0, 0);
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ((std::vector<int>{1, 0}), listener.values);
}

// Four frames side by side, each one solid colour.
HBITMAP makeStrip(const COLORREF colours[4], int frameWidth, int height)
{
    HDC screen = GetDC(nullptr);
    HBITMAP strip = CreateCompatibleBitmap(screen, frameWidth * 4, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, strip);
    for (int i = 0; i < 4; ++i) {
        RECT r = {i * frameWidth, 0, (i + 1) * frameWidth, height};
        HBRUSH brush = CreateSolidBrush(colours[i]);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return strip;
}

TEST_F(SkinnedControls, PushButtonShowsTheFrameOfItsStateAndSavesItsPlace)
{
    const COLORREF frames[4] = {RGB(10, 200, 10), RGB(200, 10, 10), RGB(10, 10, 200),
                                RGB(90, 90, 90)};
    HWND button = child("BUTTON", BS_OWNERDRAW, 1300, 20, 160, 80, 24);
    SkinnedPushButton skinned(button, "go");
    skinned.strip.attach(makeStrip(frames, 16, 8));
    InvalidateRect(button, nullptr, TRUE);
    Capture shot = guitest::captureWindow(host.hwnd(), true);
    EXPECT_EQ(frames[0], shot.at(60, 172));
    EnableWindow(button, FALSE);
    EXPECT_EQ(SkinnedPushButton::Disabled, skinned.state());
    InvalidateRect(button, nullptr, TRUE);
    shot = guitest::captureWindow(host.hwnd(), true);
    EXPECT_EQ(frames[3], shot.at(60, 172));

    PropertyBag placement;
    skinned.savePosition(placement);
    EXPECT_TRUE(placement.entries().empty());
    skinned.savePositionFlag = true;
    skinned.savePosition(placement);
    EXPECT_EQ("20,160,80,24", placement.get("control.button.go.pos", ""));
}

// A strip decoded from an image resource copies out pixel for pixel; a
// missing resource keeps what was loaded. A subclassed skin button knows its
// window before any message arrives.
TEST_F(SkinnedControls, ImageResourceStripsCopyUnstretchedAndSkinButtonsBindWhenSubclassed)
{
    ASSERT_TRUE(plugintest::attachFrontEnd());
    OwnedBitmap decoded;
    BinResource resource;
    ASSERT_TRUE(resource.loadImage(decoded, IDB_QUICK_HELP, kImageTypePng, resourceModule()));
    HDC screen = GetDC(nullptr);
    SkinBitmap strip;
    ASSERT_TRUE(strip.loadImageResource(resourceModule(), IDB_QUICK_HELP, nullptr, screen));
    EXPECT_FALSE(strip.loadImageResource(resourceModule(), 4321, nullptr, screen));
    ASSERT_EQ(decoded.width(), strip.size().cx);
    ASSERT_EQ(decoded.height(), strip.size().cy);

    // A 3 x 2 piece from the middle lands at (1, 1) of a 5 x 4 bitmap.
    const int fromX = decoded.width() / 2, fromY = decoded.height() / 2;
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 5, 4);
    HGDIOBJ old = SelectObject(dc, target);
    RECT all = {0, 0, 5, 4};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_TRUE(strip.copy(dc, 1, 1, RECT{fromX, fromY, fromX + 3, fromY + 2}));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            Pixel p;
            decoded.getPixel(p, fromX + x, fromY + y);
            EXPECT_EQ(RGB(p.r, p.g, p.b), GetPixel(dc, 1 + x, 1 + y)) << x << "," << y;
        }
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 4, 3));
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    HWND window = child("BUTTON", BS_OWNERDRAW, 1301, 10, 10, 40, 20);
    CSkinButton button("go");
    ASSERT_TRUE(button.subclassDlgItem(1301, host.hwnd()));
    EXPECT_EQ(window, button.part.window);
    EXPECT_EQ(1301, button.part.controlId);
    EXPECT_EQ("go", button.part.name);
    button.unsubclassWindow();
}

} // namespace
