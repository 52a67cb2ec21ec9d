#include "shell_gui/ShellGuiSupport.h"

#include <psapi.h>

#include "framework/CommandIds.h"
#include "shell/app/DibDoc.h"
#include "shell/app/ShellResources.h"

namespace {

using shellgui::ShellFixture;

class ShellLargePhoto : public ShellFixture {};

// Run on demand (--gtest_also_run_disabled_tests): a 4096 x 4096 photo and
// thirteen Gaussian blurs in a row through the frame, with the process's peak
// memory printed.
TEST_F(ShellLargePhoto, DISABLED_ThirteenBlursOfA4096Photo)
{
    ASSERT_TRUE(start("\"" + writePicture("large.png", 4096, 4096) + "\""));
    CDibDoc* doc = activeDocument();
    ASSERT_NE(nullptr, doc);
    // The described defaults, without the dialog.
    doc->history().setParameterRunner(nullptr);
    for (int i = 0; i < 13; ++i) {
        command(ID_FILTER_GAUSS);
        ASSERT_EQ(size_t(i + 1), doc->history().undoCount()) << "blur " << i;
    }
    EXPECT_TRUE(boxes.empty());
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    std::printf("peak working set %.1f MB, peak commit %.1f MB\n",
                double(counters.PeakWorkingSetSize) / 1048576.0,
                double(counters.PeakPagefileUsage) / 1048576.0);
}

} // namespace
