// The Effects menu with the real painting plug-in loaded from the "plugins"
// folder: its settings dialog over the frame, the run with the shell's
// progress dialog and the undo stack, and the settings kept between runs.
#include "shell_gui/ShellGuiSupport.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/GuiTestSupport.h"
#include "framework/Screenshot.h"
#include "shell/app/DibDoc.h"
#include "shell/app/MainFrame.h"
#include "shell/app/ShellResources.h"
#include "shell/host/PluginModule.h"
#include "shell/host/PluginRegistry.h"

namespace {

using guitest::whenDialogUp;
using shellgui::ShellFixture;

const char kPluginProfile[] = "Software\\Quillorantix\\daubcrafter\\general";
const int kStatusLine = 1189;
const int kFirstSlider = 1020;

String windowText(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void click(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

std::vector<uint8_t> pixelsOf(const DocumentDib& image)
{
    const uint8_t* bits = image.bits();
    return std::vector<uint8_t>(bits, bits + size_t(image.stride()) * size_t(image.height()));
}

// The command of a menu item found by its path of item texts.
UINT commandAt(HMENU menu, const std::vector<std::string>& path)
{
    for (size_t level = 0; menu && level < path.size(); ++level) {
        const int count = GetMenuItemCount(menu);
        HMENU next = nullptr;
        for (int i = 0; i < count; ++i) {
            char text[128] = "";
            GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
            if (path[level] != text)
                continue;
            if (level + 1 == path.size())
                return GetMenuItemID(menu, i);
            next = GetSubMenu(menu, i);
            break;
        }
        menu = next;
    }
    return 0;
}

// The percentages the progress dialog showed during a run.
std::vector<std::string>* shownPercents = nullptr;

LRESULT CALLBACK watchPercentText(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && shownPercents && call->message == WM_SETTEXT && call->lParam &&
        GetDlgCtrlID(call->hwnd) == IDC_PROGRESS_PERCENT &&
        windowText(GetParent(call->hwnd)) == "Processing...")
        shownPercents->push_back(reinterpret_cast<const char*>(call->lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class EffectsPlugin : public ShellFixture
{
protected:
    void TearDown() override
    {
        guitest::pendingActions().clear();
        ShellFixture::TearDown();
    }

    // The plug-in DLL reads its own profile: no quick help over the dialog.
    guitest::ScopedRegistryDword notFirstRun{HKEY_CURRENT_USER, kPluginProfile, "notfirstrun", 1};
    guitest::ScopedRegistryDword rightHanded{HKEY_CURRENT_USER, kPluginProfile, "lefthanded", 0};
};

TEST_F(EffectsPlugin, SettingsDialogOverTheFrameOneUndoStepPerApplyAndSettingsKept)
{
    ASSERT_TRUE(start("\"" + writePicture("p.png", 320, 240) + "\""));
    CDibDoc* doc = activeDocument();
    ASSERT_NE(nullptr, doc);
    ActionHistory& history = doc->history();
    const UINT id = commandAt(GetMenu(app->mainWindow), {"Effects", "Quillorantix", "Daubcrafter..."});
    ASSERT_NE(0u, id) << "Effects > Quillorantix > Daubcrafter... in the menu bar";
    ASSERT_TRUE(frame().isCommandEnabled(id));
    PluginModule* plugin = PluginRegistry::instance().find(PluginRegistry::instance().idForCommand(int(id)));
    ASSERT_NE(nullptr, plugin);
    const std::vector<uint8_t> before = pixelsOf(*history.currentImage());
    const String name = history.currentName();

    // Cancel: image, stack and kept settings as they were.
    HWND owner = nullptr;
    String caption;
    whenDialogUp([&](HWND d) {
        owner = GetWindow(d, GW_OWNER);
        caption = windowText(d);
        click(d, IDCANCEL);
    });
    command(id);
    EXPECT_EQ("Quillorantix Daubcrafter", caption);
    EXPECT_EQ(app->mainWindow, owner);
    EXPECT_EQ(0u, history.undoCount());
    EXPECT_EQ(name, history.currentName());
    EXPECT_TRUE(before == pixelsOf(*history.currentImage()));
    EXPECT_TRUE(plugin->settingsText().empty());
    EXPECT_TRUE(IsWindowEnabled(app->mainWindow));

    // Apply after a slider change: painted with progress in the shell's
    // progress dialog, one undo step, "_current" kept by the plug-in module.
    LRESULT firstPosition = -1, changedPosition = -1;
    String firstStatus;
    int polls = 0;
    // Applies once the change shows in the status line ("*"); gives up with
    // Cancel after about three seconds.
    std::function<void(HWND)> applyWhenChanged = [&](HWND d) {
        const String status = windowText(GetDlgItem(d, kStatusLine));
        if ((status.empty() || status.back() != '*') && ++polls < 100) {
            whenDialogUp(applyWhenChanged);
            return;
        }
        changedPosition = SendMessageA(GetDlgItem(d, kFirstSlider), TBM_GETPOS, 0, 0);
        firstStatus = status;
        click(d, polls < 100 ? IDOK : IDCANCEL);
    };
    whenDialogUp([&](HWND d) {
        HWND slider = GetDlgItem(d, kFirstSlider);
        firstPosition = SendMessageA(slider, TBM_GETPOS, 0, 0);
        PostMessageA(slider, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(2 * WHEEL_DELTA))), 0);
        whenDialogUp(applyWhenChanged);
    });
    std::vector<std::string> percents;
    shownPercents = &percents;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &watchPercentText, nullptr, GetCurrentThreadId());
    command(id);
    UnhookWindowsHookEx(hook);
    shownPercents = nullptr;
    EXPECT_NE(firstPosition, changedPosition);
    EXPECT_EQ(1u, history.undoCount());
    EXPECT_EQ(0u, history.redoCount());
    EXPECT_FALSE(before == pixelsOf(*history.currentImage()));
    ASSERT_FALSE(percents.empty()) << "no progress shown in the progress dialog";
    EXPECT_EQ("100%", percents.back());
    EXPECT_TRUE(IsWindowEnabled(app->mainWindow));
    const String kept = plugin->settingsText();
    EXPECT_NE(String::npos, kept.find("[_current]"));
    EXPECT_NE(String::npos, kept.find("paramschanged=1"));
    EXPECT_TRUE(boxes.empty());

    // The next run opens with what the first confirmed; its Cancel keeps
    // both the picture and the kept settings.
    const std::vector<uint8_t> painted = pixelsOf(*history.currentImage());
    LRESULT reopenedPosition = -1;
    String reopenedStatus;
    whenDialogUp([&](HWND d) {
        reopenedPosition = SendMessageA(GetDlgItem(d, kFirstSlider), TBM_GETPOS, 0, 0);
        reopenedStatus = windowText(GetDlgItem(d, kStatusLine));
        if (guitest::screenshotsAsked()) {
            // Time for the preview to paint.
            guitest::pumpMessages(2000);
            shellgui::saveScreenshot(d, "shell_plugin_settings");
        }
        click(d, IDCANCEL);
    });
    command(id);
    EXPECT_EQ(changedPosition, reopenedPosition);
    EXPECT_EQ(firstStatus, reopenedStatus);
    EXPECT_EQ(1u, history.undoCount());
    EXPECT_TRUE(painted == pixelsOf(*history.currentImage()));
    EXPECT_EQ(kept, plugin->settingsText());
    EXPECT_TRUE(boxes.empty());
}

} // namespace
