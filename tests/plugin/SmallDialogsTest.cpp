#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "FrontEndTestSupport.h"
#include "PluginTestSupport.h"
#include "engine/ComponentSet.h"
#include "foundation/IniFile.h"
#include "foundation/PropertyBag.h"
#include "framework/GuiTestSupport.h"
#include "framework/Screenshot.h"
#include "framework/Hooks.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/PngCodec.h"
#include "plugin/PluginApp.h"
#include "plugin/PluginResources.h"
#include "plugin/ResourceError.h"
#include "plugin/SettingsDialog.h"
#include "plugin/dialogs/EffectDialog.h"
#include "plugin/dialogs/AboutDialog.h"
#include "plugin/dialogs/AuthorNameDialog.h"
#include "plugin/dialogs/InfoDialog.h"
#include "plugin/dialogs/PresetSaveDialog.h"
#include "plugin/dialogs/QuickHelpDialog.h"

namespace {

using namespace plugintest;
using guitest::Capture;

// With QX_SCREENSHOT_DIR set, every dialog's picture is saved there.
void keepScreenshot(const Capture& capture, const char* name)
{
    EXPECT_TRUE(guitest::saveScreenshot(capture, name)) << name;
}

// The control's rectangle in the dialog's window capture.
RECT itemRect(HWND dialog, int id)
{
    RECT item, frame;
    GetWindowRect(GetDlgItem(dialog, id), &item);
    GetWindowRect(dialog, &frame);
    OffsetRect(&item, -frame.left, -frame.top);
    return item;
}

bool anyPixelIs(const Capture& c, const RECT& r, COLORREF colour)
{
    for (int y = r.top; y < r.bottom && y < c.height; ++y)
        for (int x = r.left; x < r.right && x < c.width; ++x)
            if (c.at(x, y) == colour)
                return true;
    return false;
}

class SmallDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(attachFrontEnd());
        guitest::pendingActions().clear();
    }
    void TearDown() override
    {
        setWebPageOpener(nullptr);
        guitest::pendingActions().clear();
    }
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
};

TEST_F(SmallDialogs, AboutClosesWithOkOnAnyClick)
{
    CAboutDialog about(nullptr);
    Capture shot;
    guitest::whenDialogUp([&](HWND d) {
        shot = guitest::captureWindow(d);
        PostMessageA(d, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 70));
    });
    EXPECT_EQ(IDOK, about.doModal());
    keepScreenshot(shot, "about");
    ASSERT_GT(shot.width, 100);
    EXPECT_EQ(face, shot.at(shot.width / 2, 8));
    EXPECT_EQ(face, shot.at(6, shot.height - 8));
}

TEST_F(SmallDialogs, ResourceErrorsShowTheirStringInAStopBoxWithoutOwner)
{
    MessageBoxRecorder recorder;
    showResourceError(IDS_HOST_INCOMPATIBLE);
    showResourceError(IDS_NEEDS_HOST_5B);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    for (const MessageBoxRequest& box : recorder.boxes) {
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.caption, "Quillorantix Plug-in Filter");
        EXPECT_EQ(box.type, UINT(MB_OK | MB_ICONSTOP));
    }
    EXPECT_EQ(recorder.boxes[0].text, "This plug-in is incompatible with this version of the host program");
    EXPECT_EQ(recorder.boxes[1].text, "This plug-in requires Adobe Photoshop 5 or later functionality");
}

TEST_F(SmallDialogs, AuthorNameTakesAtMost24Characters)
{
    CAuthorNameDialog dialog(nullptr, "Ann");
    Capture shot;
    LRESULT limit = 0;
    String shown;
    guitest::whenDialogUp([&](HWND d) {
        shot = guitest::captureWindow(d);
        limit = SendDlgItemMessageA(d, IDC_NAME_EDIT, EM_GETLIMITTEXT, 0, 0);
        char text[64] = "";
        GetDlgItemTextA(d, IDC_NAME_EDIT, text, sizeof text);
        shown = text;
        SetDlgItemTextA(d, IDC_NAME_EDIT, "Bea Painter");
        SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(IDOK, dialog.doModal());
    keepScreenshot(shot, "author_name");
    EXPECT_EQ(24, limit);
    EXPECT_EQ("Ann", shown);
    EXPECT_EQ("Bea Painter", dialog.name);
    EXPECT_EQ(face, shot.at(12, shot.height - 12));
}

TEST_F(SmallDialogs, PresetSaveLimitsTheNameButNotTheMultiLineDescription)
{
    CPresetSaveDialog dialog(nullptr, "Mine", "old words");
    Capture shot;
    LRESULT nameLimit = 0, descriptionLimit = 0;
    LONG descriptionStyle = 0;
    RECT descriptionBox = {};
    const std::string longText(400, 'w');
    guitest::whenDialogUp([&](HWND d) {
        shot = guitest::captureWindow(d);
        descriptionBox = itemRect(d, IDC_DESCRIPTION_EDIT);
        nameLimit = SendDlgItemMessageA(d, IDC_NAME_EDIT, EM_GETLIMITTEXT, 0, 0);
        descriptionLimit = SendDlgItemMessageA(d, IDC_DESCRIPTION_EDIT, EM_GETLIMITTEXT, 0, 0);
        descriptionStyle = GetWindowLongA(GetDlgItem(d, IDC_DESCRIPTION_EDIT), GWL_STYLE);
        SetDlgItemTextA(d, IDC_DESCRIPTION_EDIT, longText.c_str());
        SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(IDOK, dialog.doModal());
    keepScreenshot(shot, "preset_save");
    EXPECT_EQ(24, nameLimit);
    EXPECT_GE(descriptionLimit, 30000);
    EXPECT_TRUE(descriptionStyle & ES_MULTILINE);
    EXPECT_EQ("Mine", dialog.name);
    EXPECT_EQ(longText, dialog.description);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW),
              shot.at(descriptionBox.left + 4, descriptionBox.bottom - 4));
}

TEST_F(SmallDialogs, QuickHelpShowsThePictureAtItsSizeAndAClickCloses)
{
    CQuickHelpDialog dialog(IDB_QUICK_HELP, nullptr);
    Capture shot;
    RECT frame = {};
    guitest::whenDialogUp([&](HWND d) {
        GetWindowRect(d, &frame);
        shot = guitest::captureWindow(d, true);
        PostMessageA(d, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    });
    EXPECT_EQ(IDCANCEL, dialog.doModal());
    keepScreenshot(shot, "quick_help");
    EXPECT_EQ(450, frame.right - frame.left);
    EXPECT_EQ(400, frame.bottom - frame.top);
    ASSERT_GT(shot.width, 400);
    // The title band, the paper and the footer of the picture.
    EXPECT_EQ(RGB(32, 48, 96), shot.at(shot.width - 12, 8));
    EXPECT_EQ(RGB(250, 246, 236), shot.at(shot.width - 12, 70));
    EXPECT_EQ(RGB(226, 222, 212), shot.at(6, shot.height - 6));
}

TEST_F(SmallDialogs, AMissingQuickHelpPictureEndsTheDialogBeforeItShows)
{
    CQuickHelpDialog dialog(IDB_QUICK_HELP + 1, nullptr);
    bool shown = false;
    guitest::whenDialogUp([&](HWND d) {
        shown = true;
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, dialog.doModal());
    guitest::pumpMessages(100);
    EXPECT_FALSE(shown);
}

int opens = 0;
bool refuseToOpen(const String&) { ++opens; return false; }
bool open(const String&) { ++opens; return true; }

TEST_F(SmallDialogs, InfoKeepsItsTextClosesAsCancelAndItsLinkTurnsPurpleWhenOpened)
{
    Capture shot;
    RECT linkBox = {};
    String text;
    bool visitedAfterFailure = true, visitedAfterSuccess = false;
    CInfoDialog dialog(nullptr);
    guitest::whenDialogUp([&](HWND d) {
        shot = guitest::captureWindow(d);
        linkBox = itemRect(d, IDC_INFO_LINK);
        char buffer[128] = "";
        GetDlgItemTextA(d, IDC_INFO_TEXT, buffer, sizeof buffer);
        text = buffer;
        setWebPageOpener(&refuseToOpen);
        dialog.link.click();
        visitedAfterFailure = dialog.link.visited;
        setWebPageOpener(&open);
        SendMessageA(GetDlgItem(d, IDC_INFO_LINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageA(GetDlgItem(d, IDC_INFO_LINK), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        visitedAfterSuccess = dialog.link.visited;
        SendMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(IDCANCEL, dialog.doModal());
    keepScreenshot(shot, "info");
    EXPECT_EQ("Please visit our web site at ", text);
    EXPECT_FALSE(visitedAfterFailure);
    EXPECT_TRUE(visitedAfterSuccess);
    EXPECT_EQ(2, opens);
    EXPECT_TRUE(anyPixelIs(shot, linkBox, RGB(0, 0, 255)));
}

// The settings dialog over the presets shipped beside the plug-in, one of
// them chosen and painted, with the preset list dropped down.
TEST_F(SmallDialogs, SettingsDialogListsTheShippedPresets)
{
    pluginApp().writeProfileInt("general", "notfirstrun", 1);
    pluginApp().writeProfileInt("general", "lefthanded", 0);
    pluginApp().writeProfileInt("general", "autopreview", 1);
    char dll[MAX_PATH] = "";
    GetModuleFileNameA(plugin().module(), dll, MAX_PATH);
    std::string folder(dll);
    folder.resize(folder.find_last_of("\\/") + 1);
    IniFile presets(folder + "DaubcrafterPresets.ini");
    ComponentSet components{PropertyBag()};
    OwnedBitmap picture(480, 360, 4);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, Pixel(uint8_t(60 + x / 3), uint8_t(40 + y / 2),
                                         uint8_t((x / 40 + y / 40) % 2 ? 200 : 90), 255));
    SettingsDialogSession session;
    session.components = &components;
    session.source = &picture;
    session.presets = &presets;

    Capture shot;
    RECT listBox = {};
    int entries = 0, painted = 0;
    String status;
    guitest::whenDialogUp([&](HWND d) {
        CEffectDialog* dialog = dynamic_cast<CEffectDialog*>(CWnd::fromHandle(d));
        HWND combo = GetDlgItem(d, kPresetListId);
        entries = int(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        const LRESULT oil = SendMessageA(combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("Oil Sketch"));
        SendMessageA(combo, CB_SETCURSEL, WPARAM(oil), 0);
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(kPresetListId, CBN_SELCHANGE), LPARAM(combo));
        const DWORD until = GetTickCount() + 10000;
        while (dialog && dialog->finishedPaints() == 0 && GetTickCount() < until)
            guitest::pumpMessages(20);
        painted = dialog ? dialog->finishedPaints() : 0;
        char text[64] = "";
        GetDlgItemTextA(d, 1189, text, sizeof text);
        status = text;

        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        guitest::pumpMessages(150);
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        GetComboBoxInfo(combo, &info);
        shot = guitest::captureWindow(d);
        // The dropped list is a window of its own above the dialog.
        const Capture list = guitest::captureWindow(info.hwndList);
        RECT frame, dropped;
        GetWindowRect(d, &frame);
        GetWindowRect(info.hwndList, &dropped);
        listBox = RECT{dropped.left - frame.left, dropped.top - frame.top,
                       dropped.right - frame.left, dropped.bottom - frame.top};
        for (int y = 0; y < list.height; ++y)
            for (int x = 0; x < list.width; ++x) {
                const int tx = listBox.left + x, ty = listBox.top + y;
                if (tx >= 0 && ty >= 0 && tx < shot.width && ty < shot.height)
                    std::copy_n(&list.pixels[(size_t(y) * list.width + x) * 4], 4,
                                &shot.pixels[(size_t(ty) * shot.width + tx) * 4]);
            }
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, runEffectDialog(session));
    presets.modified = false;
    keepScreenshot(shot, "settings_presets");
    EXPECT_EQ(11, entries); // ten shipped presets after the pseudo entry
    EXPECT_EQ("Oil Sketch", status);
    EXPECT_GE(painted, 1);
    // The chosen preset is highlighted in the dropped list.
    EXPECT_TRUE(anyPixelIs(shot, listBox, GetSysColor(COLOR_HIGHLIGHT)));
}

} // namespace
