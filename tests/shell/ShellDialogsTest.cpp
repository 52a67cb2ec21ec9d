// The shell's dialogs driven for real: the parameter dialog's value texts,
// live previews and their cancellation, Cancel and OK through the edit
// engine, the size dialogs' arrow keys, aspect coupling and validation, and
// the Options file. With QX_SCREENSHOT_DIR set every dialog is saved there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "ShellFilterSupport.h"
#include "ShellTestSupport.h"
#include "foundation/IniFile.h"
#include "foundation/PropertyBag.h"
#include "framework/GuiTestSupport.h"
#include "framework/Screenshot.h"
#include "framework/MessageBox.h"
#include "image/codecs/PngCodec.h"
#include "shell/dialogs/DialogParameterRunner.h"
#include "shell/dialogs/OptionsDialog.h"
#include "shell/dialogs/ParameterDialog.h"
#include "shell/dialogs/ShellDialogIds.h"
#include "shell/dialogs/SizeDialogs.h"
#include "shell/files/ApplicationOptions.h"
#include "shell/history/ActionHistory.h"
#include "shell/history/ImageStore.h"
#include "shell/operations/ParameterRunner.h"
#include "shell/operations/ParameterSchema.h"

using guitest::Capture;
using guitest::whenDialogUp;

namespace {

void saveScreenshot(HWND dialog, const char* name)
{
    if (!guitest::screenshotsAsked())
        return;
    guitest::pumpMessages(30);
    EXPECT_TRUE(guitest::saveScreenshot(guitest::captureWindow(dialog), name)) << name;
}

String itemText(HWND dialog, int id)
{
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Posts keys to a control as if it had the focus.
void pressKeys(HWND control, std::initializer_list<UINT> keys)
{
    SetFocus(control);
    for (UINT key : keys) {
        PostMessageA(control, WM_KEYDOWN, key, 1);
        PostMessageA(control, WM_KEYUP, key, 0xC0000001);
    }
    guitest::pumpMessages(40);
}

void typeText(HWND edit, const char* text)
{
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char* c = text; *c; ++c)
        PostMessageA(edit, WM_CHAR, WPARAM(*c), 1);
    guitest::pumpMessages(40);
}

void click(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

struct MessageBoxRecorder
{
    MessageBoxRecorder()
    {
        setMessageBoxHook([this](const MessageBoxRequest& r) {
            texts.push_back(r.text);
            return IDOK;
        });
    }
    ~MessageBoxRecorder() { setMessageBoxHook(MessageBoxHook()); }
    std::vector<String> texts;
};

// Options in a scratch file for each test.
class ShellDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        quality = jpegQuality();
        ApplicationOptions::usePath(String(folder.path()) + "Options.ini");
    }
    // The store and the quality in use as they were.
    void TearDown() override
    {
        ApplicationOptions::usePath(String(folder.path()) + "unused.ini");
        createOptionsSection(kOptionsSection).setInt("jpegCompressionQuality", quality);
        LoadJpegQualityOption();
        ApplicationOptions::usePath(String(folder.path()) + "unused.ini");
    }

    String option(const char* key) const
    {
        return getOptionsSection(kOptionsSection).getString(key, "<none>");
    }

    ScratchFolder folder{"shelldialogs"};
    int quality = 0;
};

// Counts previews; each reports progress `reports` times and may act just
// before a report (preview number and report number, both 1-based).
class CountingPreview : public ParameterPreview
{
public:
    bool preview(RenderCallbacks& callbacks) override
    {
        ++started;
        for (int i = 1; i <= reports; ++i) {
            if (onReport)
                onReport(started, i);
            Sleep(2);
            if (!callbacks.progress(float(i) / reports))
                return false;
        }
        ++completed;
        return true;
    }
    int reports = 1;
    std::function<void(int preview, int report)> onReport;
    int started = 0;
    int completed = 0;
};

PropertyBag describe(int command)
{
    PropertyBag description;
    OwnedBitmap image(4, 4, 6);
    DescribedDefaultsRunner runner;
    EXPECT_TRUE(BuildParameterSchema(command, description, image, runner));
    return description;
}

} // namespace

TEST_F(ShellDialogs, ParameterDialogsShowTheirValueTextsAndStoreValues)
{
    struct Case
    {
        int command;
        const char* shot;
    };
    const Case cases[] = {{kCommandGaussianBlur, "parameters_gaussian_blur"},
                          {kCommandBoxBlur, "parameters_box_blur"},
                          {kCommandUnsharpMask, "parameters_unsharp_mask"},
                          {kCommandBrightnessContrast, "parameters_brightness_contrast"},
                          {kCommandHueSaturation, "parameters_hue_saturation"},
                          {kCommandLevels, "parameters_levels"},
                          {kCommandSepia, "parameters_colorize_sepia"},
                          {kCommandCrop, "parameters_crop"}};
    for (const Case& c : cases) {
        const PropertyBag description = describe(c.command);
        PropertyBag values;
        CountingPreview preview;
        CParameterDialog dialog(description, values, &preview, nullptr);
        std::vector<String> texts;
        int lightAfterPreview = -1;
        String title;
        whenDialogUp([&](HWND d) {
            guitest::pumpMessages(200);
            lightAfterPreview = dialog.indicatorState();
            title = dialog.text();
            for (int i = 0; i < 5; ++i)
                texts.push_back(itemText(d, IDC_PARAM_VALUE + i));
            saveScreenshot(d, c.shot);
            if (c.command == kCommandGaussianBlur) {
                pressKeys(GetDlgItem(d, IDC_PARAM_SLIDER), {VK_RIGHT});
                texts.push_back(itemText(d, IDC_PARAM_VALUE));
            }
            if (c.command == kCommandCrop) {
                pressKeys(GetDlgItem(d, IDC_PARAM_SLIDER + 4), {VK_HOME});
                texts.push_back(itemText(d, IDC_PARAM_VALUE + 4));
            }
            click(d, IDOK);
        });
        ASSERT_EQ(dialog.doModal(), IDOK) << c.shot;
        EXPECT_GE(preview.completed, 1) << c.shot;
        EXPECT_EQ(lightAfterPreview, 0) << c.shot << ": the ready light after a preview";
        switch (c.command) {
        case kCommandGaussianBlur:
            EXPECT_EQ(texts[0], "2.00");
            EXPECT_EQ(texts[5], "2.05");
            EXPECT_EQ(values.getString("radius", ""), "2.050000");
            EXPECT_EQ(title, "Gaussian Blur");
            break;
        case kCommandBoxBlur:
            EXPECT_EQ(texts[0], "2");
            EXPECT_EQ(values.getString("radius", ""), "2");
            break;
        case kCommandUnsharpMask:
            EXPECT_EQ(texts[0], "0.50");
            EXPECT_EQ(texts[1], "2.00");
            break;
        case kCommandLevels:
            EXPECT_EQ(texts[1], "255");
            EXPECT_EQ(texts[2], "1.00");
            break;
        case kCommandCrop:
            EXPECT_EQ(texts[0], "1.000");
            EXPECT_EQ(texts[2], "0.500");
            EXPECT_EQ(texts[4], "0.0");
            EXPECT_EQ(texts[5], "-180.0");
            EXPECT_FLOAT_EQ(values.getFloat("rotate", 0), -180.0f);
            EXPECT_FLOAT_EQ(values.getFloat("xcenter", 0), 0.5f);
            break;
        }
    }
    // The next dialog opens where the last one was closed.
    const POINT last = CParameterDialog::lastPosition();
    EXPECT_GE(last.x, 0);
    const PropertyBag description = describe(kCommandBoxBlur);
    PropertyBag values;
    CParameterDialog dialog(description, values, nullptr, nullptr);
    RECT at = {};
    whenDialogUp([&](HWND d) {
        GetWindowRect(d, &at);
        click(d, IDCANCEL);
    });
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
    EXPECT_EQ(at.left, last.x);
    EXPECT_EQ(at.top, last.y);
}

TEST_F(ShellDialogs, ASliderMovedDuringAPreviewCancelsItAndOnlyItsOwnTicksAreDropped)
{
    const PropertyBag description = describe(kCommandGaussianBlur);
    PropertyBag values;
    CountingPreview preview;
    preview.reports = 40;
    CParameterDialog dialog(description, values, &preview, nullptr);

    // A window of the thread with a timer tick of its own waiting.
    CWnd other;
    ASSERT_TRUE(other.create(0, nullptr, "other", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
    int otherTicks = 0;
    HWND slider = nullptr;
    std::vector<String> seenRadius;
    preview.onReport = [&](int number, int report) {
        if (report != 5)
            return;
        if (number == 1) {
            // A key for the slider waits in the queue: the preview's own
            // pumping must deliver it. A heartbeat tick comes in meanwhile.
            PostMessageA(other.hwnd(), WM_TIMER, 77, 0);
            PostMessageA(slider, WM_KEYDOWN, VK_RIGHT, 1);
            PostMessageA(slider, WM_KEYUP, VK_RIGHT, 0xC0000001);
            SendMessageA(dialog.hwnd(), WM_TIMER, CParameterDialog::kPreviewTimer, 0);
            MSG m;
            // The heartbeat left the other window's tick.
            if (PeekMessageA(&m, other.hwnd(), WM_TIMER, WM_TIMER, PM_REMOVE) && m.wParam == 77)
                ++otherTicks;
        } else if (number == 2) {
            // The slider moves at once; a tick now starts no preview inside
            // this one.
            SendMessageA(slider, WM_KEYDOWN, VK_RIGHT, 1);
            SendMessageA(dialog.hwnd(), WM_TIMER, CParameterDialog::kPreviewTimer, 0);
        }
    };
    whenDialogUp([&](HWND d) {
        slider = GetDlgItem(d, IDC_PARAM_SLIDER);
        SetFocus(slider);
        guitest::pumpMessages(600);
        seenRadius.push_back(itemText(d, IDC_PARAM_VALUE));
        click(d, IDOK);
    });
    ASSERT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(otherTicks, 1);
    ASSERT_EQ(seenRadius.size(), 1u);
    EXPECT_EQ(seenRadius[0], "2.10");
    EXPECT_EQ(values.getString("radius", ""), "2.100000");
    // The first two previews stopped at the report of the move; the third ran
    // to its end with the last value, and nothing ran after that.
    EXPECT_EQ(preview.started, 3);
    EXPECT_EQ(preview.completed, 1);
}

TEST_F(ShellDialogs, CancelLeavesTheDocumentAndOkAddsOneUndoStep)
{
    ImageStore store;
    ActionHistory history(store);
    history.currentImage()->create(64, 48, 6);
    shelltest::fillPattern(*history.currentImage(), 5);
    shelltest::RecordingCallbacks sink;
    // One step to undo and one to redo.
    ASSERT_TRUE(history.run("invertrgb", PropertyBag(), sink));
    ASSERT_TRUE(history.run("vertflip", PropertyBag(), sink));
    ASSERT_TRUE(history.undo(sink));
    const std::vector<uint8_t> before = shelltest::bytesOf(*history.currentImage());
    const size_t images = store.size();
    DialogParameterRunner runner;
    int shown = 0;
    runner.previewShown = [&] { ++shown; };
    history.setParameterRunner(&runner);

    PropertyBag description;
    ASSERT_TRUE(BuildParameterSchema(kCommandGaussianBlur, description, *history.currentImage(),
                                     runner));
    whenDialogUp([&](HWND d) {
        pressKeys(GetDlgItem(d, IDC_PARAM_SLIDER), {VK_NEXT, VK_NEXT});
        guitest::pumpMessages(300);
        click(d, IDCANCEL);
    });
    EXPECT_FALSE(history.run("blur_gauss", description, sink));
    EXPECT_GE(shown, 1) << "previews ran";
    EXPECT_EQ(shelltest::bytesOf(*history.currentImage()), before);
    EXPECT_EQ(history.undoCount(), 1u);
    EXPECT_EQ(history.redoCount(), 1u);
    EXPECT_EQ(history.redoName(), "Vertical Flip");
    EXPECT_EQ(store.size(), images);

    whenDialogUp([&](HWND d) {
        pressKeys(GetDlgItem(d, IDC_PARAM_SLIDER), {VK_NEXT});
        guitest::pumpMessages(200);
        click(d, IDOK);
    });
    EXPECT_TRUE(history.run("blur_gauss", description, sink));
    EXPECT_EQ(history.undoCount(), 2u);
    EXPECT_NE(shelltest::bytesOf(*history.currentImage()), before);
    ASSERT_TRUE(history.undo(sink));
    EXPECT_EQ(shelltest::bytesOf(*history.currentImage()), before);
    history.setParameterRunner(nullptr);
}

TEST_F(ShellDialogs, ResampleKeepsTheAspectAndACancelledOneChoosesNothing)
{
    DialogParameterRunner runner;
    int width = 0, height = 0;
    float smooth = -1;
    std::vector<String> heights;
    whenDialogUp([&](HWND d) {
        saveScreenshot(d, "resample");
        heights.push_back(itemText(d, IDC_HEIGHT));
        typeText(GetDlgItem(d, IDC_WIDTH), "320");
        heights.push_back(itemText(d, IDC_HEIGHT));
        pressKeys(GetDlgItem(d, IDC_WIDTH), {VK_UP});
        heights.push_back(itemText(d, IDC_WIDTH) + "x" + itemText(d, IDC_HEIGHT));
        pressKeys(GetDlgItem(d, IDC_PARAM_SLIDER), {VK_END});
        heights.push_back(itemText(d, IDC_PARAM_VALUE));
        click(d, IDOK);
    });
    ASSERT_TRUE(runner.chooseResample(640, 480, width, height, smooth));
    ASSERT_EQ(heights.size(), 4u);
    EXPECT_EQ(heights[0], "480");
    EXPECT_EQ(heights[1], "240");
    EXPECT_EQ(heights[2], "321x241");
    EXPECT_EQ(heights[3], "2.0");
    EXPECT_EQ(width, 321);
    EXPECT_EQ(height, 241);
    EXPECT_FLOAT_EQ(smooth, 2.0f);
    EXPECT_EQ(option("resample_smooth"), "2.000000");
    EXPECT_EQ(option("resample_maintain_aspect"), "1");

    // Without the aspect box the sizes are free; Cancel gives nothing.
    whenDialogUp([&](HWND d) {
        SendDlgItemMessageA(d, IDC_MAINTAIN_ASPECT, BM_SETCHECK, BST_UNCHECKED, 0);
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_MAINTAIN_ASPECT, BN_CLICKED), 0);
        guitest::pumpMessages(30);
        typeText(GetDlgItem(d, IDC_WIDTH), "100");
        heights.push_back(itemText(d, IDC_HEIGHT));
        click(d, IDCANCEL);
    });
    width = height = 7;
    EXPECT_FALSE(runner.chooseResample(640, 480, width, height, smooth));
    EXPECT_EQ(heights.back(), "480");
    EXPECT_EQ(width, 7);
    EXPECT_EQ(height, 7);
    EXPECT_EQ(option("resample_maintain_aspect"), "1") << "Cancel writes nothing";

    // Through the schema: a cancelled Resample describes nothing to run.
    OwnedBitmap image(640, 480, 4);
    PropertyBag params;
    whenDialogUp([&](HWND d) { click(d, IDCANCEL); });
    EXPECT_FALSE(BuildParameterSchema(kCommandResample, params, image, runner));
    EXPECT_TRUE(params.entries().empty());
}

TEST_F(ShellDialogs, NewImageRefusesSizesOutOfRangeAndKeepsTheField)
{
    MessageBoxRecorder boxes;
    CNewImageDialog dialog;
    EXPECT_EQ(dialog.width, 1024);
    EXPECT_EQ(dialog.height, 768);
    bool openAfterRefusal = false;
    HWND focusAfterRefusal = nullptr, widthEdit = nullptr;
    String heightAfterArrows;
    whenDialogUp([&](HWND d) {
        saveScreenshot(d, "new_image");
        widthEdit = GetDlgItem(d, IDC_WIDTH);
        pressKeys(GetDlgItem(d, IDC_HEIGHT), {VK_UP, VK_UP, VK_DOWN});
        heightAfterArrows = itemText(d, IDC_HEIGHT);
        typeText(widthEdit, "1");
        click(d, IDOK);
        guitest::pumpMessages(40);
        openAfterRefusal = IsWindowVisible(d) && !dialog.isModalEnded();
        focusAfterRefusal = GetFocus();
        typeText(widthEdit, "300");
        SendDlgItemMessageA(d, IDC_BPP_24, BM_SETCHECK, BST_UNCHECKED, 0);
        SendDlgItemMessageA(d, IDC_BPP_32, BM_SETCHECK, BST_CHECKED, 0);
        click(d, IDOK);
    });
    ASSERT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(heightAfterArrows, "769");
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(focusAfterRefusal, widthEdit);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Please enter an integer between 2 and 32767.");
    EXPECT_EQ(dialog.width, 300);
    EXPECT_EQ(dialog.height, 769);
    EXPECT_EQ(dialog.bitsPerPixel(), 32);
    EXPECT_EQ(option("newImageWidth"), "300");
    EXPECT_EQ(option("newImageBPP"), "32");
    EXPECT_TRUE(ApplicationOptions::store().modified) << "saved later, with the options";
}

TEST_F(ShellDialogs, OptionsAreValidatedWrittenAndPutInUse)
{
    MessageBoxRecorder boxes;
    {
        COptionsDialog dialog;
        EXPECT_EQ(dialog.quality, 90) << "offered when nothing is stored";
        EXPECT_EQ(dialog.depthChoice, 0);
        whenDialogUp([&](HWND d) {
            saveScreenshot(d, "options");
            typeText(GetDlgItem(d, IDC_QUALITY), "0");
            click(d, IDOK);
            guitest::pumpMessages(40);
            SetDlgItemTextA(d, IDC_QUALITY, "");
            click(d, IDOK);
            guitest::pumpMessages(40);
            typeText(GetDlgItem(d, IDC_QUALITY), "55");
            pressKeys(GetDlgItem(d, IDC_WIDTH), {VK_DOWN});
            click(d, IDOK);
        });
        ASSERT_EQ(dialog.doModal(), IDOK);
    }
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0], "Please enter an integer between 1 and 99.");
    EXPECT_EQ(boxes.texts[1], "Please enter an integer.");
    const std::string file = ScratchFolder::readBytes(folder / "Options.ini");
    EXPECT_NE(file.find("jpegCompressionQuality=55"), std::string::npos) << file;
    EXPECT_NE(file.find("newImageWidth=1023"), std::string::npos) << file;
    EXPECT_NE(file.find("newImageBPP=24"), std::string::npos) << file;
    EXPECT_EQ(jpegQuality(), 55);

    // A file that cannot be written is reported; the quality still changes.
    ApplicationOptions::usePath(String(folder.path()) + "missing\\folder\\Options.ini");
    boxes.texts.clear();
    COptionsDialog dialog;
    whenDialogUp([&](HWND d) {
        typeText(GetDlgItem(d, IDC_QUALITY), "1");
        click(d, IDOK);
    });
    ASSERT_EQ(dialog.doModal(), IDOK);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].find("Unable to save the options file"), 0u) << boxes.texts[0];
    EXPECT_EQ(jpegQuality(), 1) << "a typed 1 is accepted below the up-down's range";
    ApplicationOptions::store().modified = false;
}
