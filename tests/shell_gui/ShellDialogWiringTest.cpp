#include "shell_gui/ShellGuiSupport.h"

#include <cstring>
#include <vector>

#include "framework/CommandIds.h"
#include "framework/GuiTestSupport.h"
#include "shell/app/DibDoc.h"
#include "shell/app/MainFrame.h"
#include "shell/app/ShellResources.h"
#include "shell/dialogs/ShellDialogIds.h"

namespace {

using guitest::whenDialogUp;
using shellgui::ShellFixture;

class ShellDialogWiring : public ShellFixture {};

void click(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

String windowText(HWND window)
{
    char text[128] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<uint8_t> pixelsOf(const DocumentDib& image)
{
    const uint8_t* bits = image.bits();
    return std::vector<uint8_t>(bits, bits + size_t(image.stride()) * size_t(image.height()));
}

TEST_F(ShellDialogWiring, OperationDialogsCancelKeepEverythingAndOkAddsOneStep)
{
    ASSERT_TRUE(start("\"" + writePicture("g.png", 64, 48) + "\""));
    CDibDoc* doc = activeDocument();
    ASSERT_NE(nullptr, doc);
    ActionHistory& history = doc->history();
    // A redo step to keep: Invert has no dialog.
    command(ID_COLOR_INVERT);
    command(kIdEditUndo);
    ASSERT_EQ(0u, history.undoCount());
    ASSERT_EQ(1u, history.redoCount());
    const String name = history.currentName();
    const std::vector<uint8_t> before = pixelsOf(*history.currentImage());
    EXPECT_TRUE(frame().isCommandEnabled(ID_FILTER_GAUSS));
    EXPECT_TRUE(frame().isCommandEnabled(ID_IMAGE_RESAMPLE));

    String caption;
    bool slider = false;
    whenDialogUp([&](HWND d) {
        caption = windowText(d);
        slider = GetDlgItem(d, IDC_PARAM_SLIDER) != nullptr;
        // Let a preview reach the view first.
        guitest::pumpMessages(150);
        click(d, IDCANCEL);
    });
    command(ID_FILTER_GAUSS);
    EXPECT_EQ("Gaussian Blur", caption);
    EXPECT_TRUE(slider);
    EXPECT_EQ(0u, history.undoCount());
    EXPECT_EQ(1u, history.redoCount());
    EXPECT_EQ(name, history.currentName());
    EXPECT_TRUE(before == pixelsOf(*history.currentImage()));
    EXPECT_TRUE(boxes.empty());

    whenDialogUp([&](HWND d) { click(d, IDOK); });
    command(ID_FILTER_GAUSS);
    EXPECT_EQ(1u, history.undoCount());
    EXPECT_EQ(0u, history.redoCount());
    EXPECT_FALSE(before == pixelsOf(*history.currentImage()));
    EXPECT_EQ("&Undo Gaussian Blur\tCtrl+Z", menuText(kIdEditUndo));

    // Resample: Cancel runs nothing, OK takes the typed size.
    whenDialogUp([&](HWND d) {
        caption = windowText(d);
        click(d, IDCANCEL);
    });
    command(ID_IMAGE_RESAMPLE);
    EXPECT_EQ("Resample Image", caption);
    EXPECT_EQ(1u, history.undoCount());
    EXPECT_EQ(64, history.currentImage()->width());
    whenDialogUp([&](HWND d) {
        SetDlgItemTextA(d, IDC_WIDTH, "32");
        SetDlgItemTextA(d, IDC_HEIGHT, "24");
        click(d, IDOK);
    });
    command(ID_IMAGE_RESAMPLE);
    EXPECT_EQ(2u, history.undoCount());
    EXPECT_EQ(32, history.currentImage()->width());
    EXPECT_EQ(24, history.currentImage()->height());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ShellDialogWiring, OptionsOpensItsDialog)
{
    ASSERT_TRUE(start("-n"));
    EXPECT_TRUE(frame().isCommandEnabled(ID_OPTIONS));
    String caption;
    whenDialogUp([&](HWND d) {
        caption = windowText(d);
        click(d, IDCANCEL);
    });
    command(ID_OPTIONS);
    EXPECT_EQ("Options", caption);
}

} // namespace
