// The edit engine: every operation kind undone and redone byte for byte,
// the undo cap, release of dropped snapshots, memory trouble and failures.
#include <gtest/gtest.h>

#include <windows.h>

#include "AllocationFault.h"
#include "OperationTestSupport.h"
#include "ShellFilterSupport.h"
#include "foundation/ModulePaths.h"
#include "foundation/PropertyBag.h"
#include "image/GdiBridge.h"
#include "image/codecs/PngCodec.h"
#include "shell/history/ActionHistory.h"
#include "shell/history/ImageStore.h"
#include "shell/host/PluginRegistry.h"
#include "shell/operations/ParameterRunner.h"
#include "shell/operations/ParameterSchema.h"

using namespace shelltest;

namespace {

struct Snapshot
{
    int width = 0, height = 0, format = 0;
    std::vector<uint8_t> bytes;
    bool operator==(const Snapshot& o) const
    {
        return width == o.width && height == o.height && format == o.format && bytes == o.bytes;
    }
};

// A document's store and history over a patterned current image.
struct Document
{
    Document(int width, int height, int format, unsigned seed = 7) : history(store)
    {
        DocumentDib* image = history.currentImage();
        image->create(width, height, format);
        fillPattern(*image, seed);
    }

    Snapshot current() const
    {
        Snapshot s;
        const DocumentDib* image = history.currentImage();
        s.width = image->width();
        s.height = image->height();
        s.format = image->format();
        s.bytes = bytesOf(*image);
        return s;
    }

    // The description of the command (when it has one) under the values of
    // the bag; the key's operation is then run.
    bool run(const char* key, int command, const PropertyBag& values, RenderCallbacks& sink)
    {
        FixedValuesRunner runner(values);
        history.setParameterRunner(&runner);
        PropertyBag params;
        if (!BuildParameterSchema(command, params, *history.currentImage(), runner))
            params = values;
        const bool ok = history.run(key, params, sink);
        history.setParameterRunner(nullptr);
        return ok;
    }

    bool run(const char* key, int command = 0)
    {
        SinkLog sink;
        return run(key, command, PropertyBag(), sink);
    }

    ImageStore store;
    ActionHistory history;
};

PropertyBag bagOf(std::initializer_list<std::pair<const char*, const char*>> entries)
{
    PropertyBag bag;
    for (const auto& e : entries)
        bag.setString(e.first, e.second);
    return bag;
}

// A CF_DIB of a small picture on the clipboard, owned by a hidden window.
class ClipboardImage
{
public:
    ClipboardImage()
    {
        window_ = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        picture_.create(5, 3, 4);
        fillPattern(picture_, 99);
        if (OpenClipboard(window_)) {
            EmptyClipboard();
            placed_ = SetClipboardData(CF_DIB, makeClipboardDib(picture_)) != nullptr;
            CloseClipboard();
        }
    }
    ~ClipboardImage()
    {
        if (OpenClipboard(window_)) {
            EmptyClipboard();
            CloseClipboard();
        }
        DestroyWindow(window_);
    }
    bool placed() const { return placed_; }
    const OwnedBitmap& picture() const { return picture_; }

private:
    OwnedBitmap picture_;
    HWND window_;
    bool placed_ = false;
};

// Other test programs share the desktop's clipboard: a paste that got
// someone else's picture is undone and tried again.
bool pasteOwnPicture(Document& doc)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        ClipboardImage clipboard;
        SinkLog sink;
        if (clipboard.placed() && doc.run("clipboardpaste", 0, PropertyBag(), sink)) {
            if (sameBytes(*doc.history.currentImage(), clipboard.picture()))
                return true;
            doc.history.undo(sink);
        }
        Sleep(50);
    }
    return false;
}

struct Kind
{
    const char* key;
    int command;
    PropertyBag values;
    const char* menuName;
};

TEST(ActionHistory, EveryOperationKindUndoesAndRedoesByteForByte)
{
    PluginRegistry plugins;
    ASSERT_TRUE(plugins.loadPlugin(ModulePaths::exeDirectory() + "testplugins\\good.qlplg"));

    const Kind kinds[] = {
        {"vertflip", 0, PropertyBag(), "Vertical Flip"},
        {"horzflip", 0, PropertyBag(), "Horizontal Flip"},
        {"invertrgb", 0, PropertyBag(), "Invert"},
        {"rotate90cw", 0, PropertyBag(), "Rotate 90\260 CW"},
        {"rotate90ccw", 0, PropertyBag(), "Rotate 90\260 CCW"},
        {"rotate180", 0, PropertyBag(), "Rotate 180\260"},
        {"resample", 460, bagOf({{"width", "9"}, {"height", "5"}, {"smooth", "1"}}), "Resample"},
        {"blur_gauss", 519, bagOf({{"radius", "1.5"}}), "Gaussian Blur"},
        {"blur_box", 522, bagOf({{"radius", "3"}}), "Box Blur"},
        {"sharpen_unsharpmask", 523, PropertyBag(), "Unsharp Mask"},
        {"color_brightcontrast", 470, bagOf({{"brightness", "0.2"}, {"contrast", "0.3"}}),
         "Brightness/Contrast"},
        {"color_huesaturation", 526, bagOf({{"hue_rotate", "0.25"}, {"saturation", "-0.5"}}),
         "Hue/Saturation"},
        {"color_levels", 527,
         bagOf({{"input_black", "30"}, {"input_white", "200"}, {"input_gamma", "1.5"}}),
         "Level Adjust"},
        {"color_sepia", 476, PropertyBag(), "Sepia"},
        {"crop", 462, bagOf({{"width", "0.6"}, {"height", "0.8"}, {"rotate", "30"}}), "Crop"},
        {"clipboardpaste", 0, PropertyBag(), "Paste"},
        {"qx_test_good", 0, PropertyBag(), "plugin"},
    };
    for (int format : {4, 6}) {
        for (const Kind& kind : kinds) {
            SCOPED_TRACE(std::string(kind.key) + (format == 4 ? " RGB" : " RGBA"));
            Document doc(11, 7, format);
            doc.history.setPluginRegistry(&plugins);
            const Snapshot before = doc.current();
            SinkLog sink;
            if (std::string(kind.key) == "clipboardpaste") {
                ASSERT_TRUE(pasteOwnPicture(doc));
            } else {
                ASSERT_TRUE(doc.run(kind.key, kind.command, kind.values, sink));
                EXPECT_GE(sink.finishedCount, 1);
                EXPECT_EQ(sink.failedCount, 0);
            }
            const Snapshot after = doc.current();
            EXPECT_FALSE(after == before);
            EXPECT_EQ(doc.history.undoName(), kind.menuName);

            ASSERT_TRUE(doc.history.undo(sink));
            EXPECT_TRUE(doc.current() == before);
            EXPECT_EQ(doc.history.redoName(), kind.menuName);
            ASSERT_TRUE(doc.history.redo(sink));
            EXPECT_TRUE(doc.current() == after);
            ASSERT_TRUE(doc.history.undo(sink));
            EXPECT_TRUE(doc.current() == before);
            // The current image and at most one kept image.
            EXPECT_LE(doc.store.size(), 2u);
        }
    }
}

TEST(ActionHistory, ThirteenStepsAreKeptAndDroppedStepsReleaseTheirImages)
{
    Document doc(6, 5, 6);
    ASSERT_TRUE(doc.run("blur_box", 522));
    const Snapshot afterFirst = doc.current();
    for (int i = 1; i < 14; ++i)
        ASSERT_TRUE(doc.run(i % 2 ? "invertrgb" : "blur_box", i % 2 ? 0 : 522));
    EXPECT_EQ(doc.history.undoCount(), 13u);
    EXPECT_EQ(doc.history.registeredCount(), 13u);
    // The current image and the kept images of the six blurs still undoable;
    // the first blur's kept image went with it.
    EXPECT_EQ(doc.store.size(), 7u);

    SinkLog sink;
    for (int i = 0; i < 13; ++i)
        ASSERT_TRUE(doc.history.undo(sink)) << i;
    EXPECT_FALSE(doc.history.undo(sink));
    EXPECT_TRUE(doc.current() == afterFirst);
    EXPECT_EQ(doc.history.undoName(), "");
    EXPECT_EQ(doc.history.redoCount(), 13u);

    // A new step empties the redo stack and releases every undone image.
    ASSERT_TRUE(doc.run("blur_box", 522));
    EXPECT_EQ(doc.history.redoCount(), 0u);
    EXPECT_EQ(doc.history.registeredCount(), 1u);
    EXPECT_EQ(doc.store.size(), 2u);
}

// What a failed step must leave as it was.
struct HistoryState
{
    size_t undoCount = 0, redoCount = 0, images = 0, registered = 0;
    String undoName, redoName, currentName;
    Snapshot image;

    bool operator==(const HistoryState& o) const
    {
        return undoCount == o.undoCount && redoCount == o.redoCount && images == o.images &&
               registered == o.registered && undoName == o.undoName &&
               redoName == o.redoName && currentName == o.currentName && image == o.image;
    }
};

HistoryState stateOf(const Document& doc)
{
    HistoryState s;
    s.undoCount = doc.history.undoCount();
    s.redoCount = doc.history.redoCount();
    s.images = doc.store.size();
    s.registered = doc.history.registeredCount();
    s.undoName = doc.history.undoName();
    s.redoName = doc.history.redoName();
    s.currentName = doc.history.currentName();
    s.image = doc.current();
    return s;
}

// Undoes every step in turn; the image must come back to `original`.
void expectUndoableToTheStart(Document& doc, const Snapshot& original)
{
    doc.store.setPixelLimit(0);
    SinkLog sink;
    const size_t steps = doc.history.undoCount();
    for (size_t i = 0; i < steps; ++i)
        ASSERT_TRUE(doc.history.undo(sink)) << i;
    EXPECT_EQ(doc.history.undoCount(), 0u);
    EXPECT_TRUE(doc.current() == original);
}

TEST(ActionHistory, OutOfMemoryKeepsEveryStepAndIsToldClearly)
{
    Document doc(64, 64, 6);
    const Snapshot original = doc.current();
    const uint64_t imageBytes = 64 * 64 * 4;
    // Room for three and a half images.
    doc.store.setPixelLimit(imageBytes * 7 / 2);
    SinkLog sink;
    ASSERT_TRUE(doc.run("blur_box", 522));
    ASSERT_TRUE(doc.run("rotate90cw"));
    ASSERT_TRUE(doc.run("blur_box", 522));
    ASSERT_TRUE(doc.history.undo(sink));
    EXPECT_EQ(doc.history.lastError(), "");
    // The current image and two kept ones: a fourth does not fit.
    const HistoryState before = stateOf(doc);
    ASSERT_EQ(before.images, 3u);

    // No step is dropped to make room: the run fails and says why.
    SinkLog failing;
    EXPECT_FALSE(doc.run("blur_gauss", 519, PropertyBag(), failing));
    EXPECT_EQ(doc.history.lastError(), "Not enough memory");
    EXPECT_EQ(failing.failedCount, 1);
    EXPECT_EQ(failing.finishedCount, 0);
    EXPECT_TRUE(stateOf(doc) == before);

    // A quarter turn's undo needs a new image too.
    EXPECT_FALSE(doc.history.undo(sink));
    EXPECT_EQ(doc.history.lastError(), "Not enough memory");
    EXPECT_TRUE(stateOf(doc) == before);

    // Switching to a kept image needs none.
    ASSERT_TRUE(doc.history.redo(sink));
    EXPECT_EQ(doc.history.lastError(), "");
    EXPECT_EQ(doc.history.undoCount(), 3u);
    expectUndoableToTheStart(doc, original);
}

// One allocation after another fails while a step runs: the step either
// completes as it does with memory to spare, or fails telling a memory
// failure and leaving the history and the image as they were. Either way
// every step can be undone in turn afterwards, and nothing is leaked.
TEST(ActionHistory, AnAllocationFailureAnywhereInAStepLeavesTheHistoryWhole)
{
    const String path = tempFolder() + "qx_history_fault.png";
    OwnedBitmap picture(7, 5, 6);
    fillPattern(picture, 5);
    ASSERT_TRUE(PngCodec().save(picture, path));

    struct Prepared
    {
        Prepared() : doc(12, 9, 6), runner(bagOf({{"radius", "2"}}))
        {
            original = doc.current();
            doc.history.setParameterRunner(&runner);
            SinkLog sink;
            ok = BuildParameterSchema(522, blurParams, *doc.history.currentImage(), runner) &&
                 doc.history.run("blur_box", blurParams, sink) &&
                 doc.history.run("rotate90cw", PropertyBag(), sink) &&
                 doc.history.run("rotate90ccw", PropertyBag(), sink) && doc.history.undo(sink);
        }
        ~Prepared() { doc.history.setParameterRunner(nullptr); }

        Document doc;
        FixedValuesRunner runner;
        PropertyBag blurParams;
        Snapshot original;
        bool ok = false;
    };
    enum Step { Blur, Rotate, Undo, Redo, Load };
    auto take = [&](Prepared& p, Step step, SinkLog& sink) {
        switch (step) {
        case Blur: return p.doc.history.run("blur_box", p.blurParams, sink);
        case Rotate: return p.doc.history.run("rotate90cw", PropertyBag(), sink);
        case Undo: return p.doc.history.undo(sink);
        case Redo: return p.doc.history.redo(sink);
        case Load: return p.doc.history.load(path);
        }
        return false;
    };

    for (Step step : {Load, Undo, Redo, Rotate, Blur}) {
        SCOPED_TRACE(int(step));
        Prepared reference;
        ASSERT_TRUE(reference.ok);
        SinkLog sink;
        ASSERT_TRUE(take(reference, step, sink));
        const HistoryState expected = stateOf(reference.doc);

        int failures = 0;
        for (long n = 0;; ++n) {
            ASSERT_LT(n, 5000) << "the step never ran out of allocations";
            SCOPED_TRACE(n);
            bool ok = false, struck = false;
            const long live = liveAllocations();
            {
                Prepared p;
                ASSERT_TRUE(p.ok);
                const HistoryState before = stateOf(p.doc);
                SinkLog faulty;
                {
                    AllocationFault fault(n);
                    ok = take(p, step, faulty);
                    struck = fault.struck();
                }
                if (struck && ok) {
                    HistoryState after = stateOf(p.doc);
                    after.currentName = expected.currentName;
                    EXPECT_TRUE(after == expected);
                } else if (struck) {
                    ++failures;
                    EXPECT_TRUE(stateOf(p.doc) == before);
                    // A file that could not be read is told as such, whatever
                    // the reader ran short of.
                    if (step != Load) {
                        EXPECT_EQ(p.doc.history.lastError(), "Not enough memory");
                    }
                    EXPECT_EQ(faulty.finishedCount, 0);
                }
                if (step != Load)
                    expectUndoableToTheStart(p.doc, p.original);
            }
            EXPECT_EQ(liveAllocations(), live) << "leaked";
            if (HasFailure())
                return;
            if (!struck) {
                EXPECT_TRUE(ok);
                break;
            }
        }
        EXPECT_GT(failures, 0);
    }
    DeleteFileA(path.c_str());
}

TEST(ActionHistory, FailedAndUnknownOperationsChangeNothing)
{
    Document doc(20, 12, 4);
    ASSERT_TRUE(doc.run("invertrgb"));
    const Snapshot before = doc.current();
    const String name = doc.history.currentName();

    // Stopped by the sink at its first report.
    SinkLog stopping(1);
    EXPECT_FALSE(doc.run("blur_gauss", 519, PropertyBag(), stopping));
    EXPECT_EQ(stopping.failedCount, 1);
    EXPECT_EQ(doc.history.lastError(), "") << "a stop is no error to report";
    EXPECT_EQ(doc.history.currentName(), name);
    EXPECT_TRUE(doc.current() == before);
    EXPECT_EQ(doc.history.undoCount(), 1u);
    EXPECT_EQ(doc.store.size(), 1u);
    EXPECT_EQ(doc.history.registeredCount(), 1u);

    // An in-place invert is not left half done by a stopping sink.
    SinkLog stopsInvert(1);
    EXPECT_TRUE(doc.run("invertrgb", 0, PropertyBag(), stopsInvert));
    SinkLog sink;
    EXPECT_TRUE(doc.history.undo(sink));
    EXPECT_TRUE(doc.current() == before);

    // Unknown keys (and the menu's unserved box blur key) call no hook.
    for (const char* key : {"blur_rectangle", "nonsense", ""}) {
        SinkLog untouched;
        EXPECT_FALSE(doc.run(key, 0, PropertyBag(), untouched));
        EXPECT_EQ(untouched.failedCount + untouched.finishedCount, 0);
    }
    // A resample without a confirmed size fails without a change.
    EXPECT_FALSE(doc.run("resample", 0, PropertyBag(), sink));
    EXPECT_TRUE(doc.current() == before);
    EXPECT_EQ(doc.history.undoCount(), 1u);
}

// Stands in for the parameter dialog: previews once, then confirms or not.
class PreviewingRunner : public DescribedDefaultsRunner
{
public:
    bool chooseValues(const PropertyReader& description, PropertyBag& values,
                      ParameterPreview& preview) override
    {
        ++asked;
        DescribedDefaultsRunner::chooseValues(description, values, preview);
        SinkLog previewSink;
        previewed = preview.preview(previewSink);
        return confirm;
    }
    int asked = 0;
    bool previewed = false;
    bool confirm = false;
};

TEST(ActionHistory, DialogDrivenOperationsAskOnceAndPreviewIntoTheirDestination)
{
    Document doc(16, 10, 6);
    PreviewingRunner runner;
    doc.history.setParameterRunner(&runner);
    PropertyBag description;
    ASSERT_TRUE(BuildParameterSchema(519, description, *doc.history.currentImage(), runner));
    const Snapshot before = doc.current();

    SinkLog sink;
    EXPECT_FALSE(doc.history.run("blur_gauss", description, sink)) << "cancelled";
    EXPECT_EQ(runner.asked, 1);
    EXPECT_TRUE(runner.previewed);
    EXPECT_TRUE(doc.current() == before);
    EXPECT_EQ(doc.store.size(), 1u);
    EXPECT_EQ(doc.history.undoCount(), 0u);

    runner.confirm = true;
    ASSERT_TRUE(doc.history.run("blur_gauss", description, sink));
    const Snapshot blurred = doc.current();
    ASSERT_TRUE(doc.history.undo(sink));
    ASSERT_TRUE(doc.history.redo(sink));
    EXPECT_TRUE(doc.current() == blurred);
    EXPECT_EQ(runner.asked, 2) << "undo and redo ask nothing";
    doc.history.setParameterRunner(nullptr);
}

TEST(ActionHistory, LoadingAFileDropsTheHistory)
{
    const String path = tempFolder() + "qx_history_load.png";
    OwnedBitmap picture(9, 4, 6);
    fillPattern(picture, 3);
    ASSERT_TRUE(PngCodec().save(picture, path));

    Document doc(5, 5, 4);
    ASSERT_TRUE(doc.run("blur_box", 522));
    ASSERT_TRUE(doc.history.load(path));
    EXPECT_EQ(doc.history.undoCount(), 0u);
    EXPECT_EQ(doc.history.registeredCount(), 0u);
    EXPECT_EQ(doc.store.size(), 1u);
    EXPECT_TRUE(sameBytes(*doc.history.currentImage(), picture));

    const Snapshot loaded = doc.current();
    EXPECT_FALSE(doc.history.load(path + ".missing.png"));
    EXPECT_TRUE(doc.current() == loaded);
    EXPECT_EQ(doc.store.size(), 1u);

    // Saved by the path's type and read back alike.
    ASSERT_TRUE(doc.run("invertrgb"));
    const Snapshot inverted = doc.current();
    ASSERT_TRUE(doc.history.save(path));
    ASSERT_TRUE(doc.history.load(path));
    EXPECT_TRUE(doc.current() == inverted);
    EXPECT_FALSE(doc.history.save(path + ".unknowntype"));
    DeleteFileA(path.c_str());
}

} // namespace
