#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/DefaultRenderCallbacks.h"
#include "engine/HostRenderCallbacks.h"
#include "foundation/Logger.h"

namespace {

struct CountingCallbacks : DefaultRenderCallbacks
{
    explicit CountingCallbacks(bool* flag, int* destroyed = nullptr)
        : DefaultRenderCallbacks(flag), destroyed(destroyed) {}
    ~CountingCallbacks() override
    {
        if (destroyed)
            ++*destroyed;
    }
    void finished() override { ++finishedCalls; }
    bool isCancelled() override
    {
        ++cancelQueries;
        return DefaultRenderCallbacks::isCancelled();
    }
    int finishedCalls = 0;
    int cancelQueries = 0;
    int* destroyed;
};

// Fake host procedures recording what the render reports.
std::vector<std::pair<int32_t, int32_t>> progressCalls;
std::vector<bool> abortAnswers;
size_t abortCalls = 0;

void recordProgress(int32_t done, int32_t total)
{
    progressCalls.emplace_back(done, total);
}

uint8_t scriptedAbort()
{
    const bool answer = abortCalls < abortAnswers.size() ? abortAnswers[abortCalls] : false;
    ++abortCalls;
    return answer ? 1 : 0;
}

void resetHost(std::vector<bool> answers)
{
    progressCalls.clear();
    abortAnswers = std::move(answers);
    abortCalls = 0;
}

} // namespace

TEST(DefaultRenderCallbacks, FlagStartsLoweredAndFollowsCancelAndReset)
{
    bool flag = true;
    DefaultRenderCallbacks callbacks(&flag);
    EXPECT_FALSE(flag);
    EXPECT_FALSE(callbacks.isCancelled());
    EXPECT_TRUE(callbacks.progress(0.5f));

    callbacks.cancel();
    EXPECT_TRUE(flag);
    EXPECT_TRUE(callbacks.isCancelled());
    EXPECT_FALSE(callbacks.progress(0.5f));

    callbacks.reset();
    EXPECT_FALSE(flag);
    EXPECT_FALSE(callbacks.isCancelled());
    EXPECT_TRUE(callbacks.progress(0.5f));

    // The flag belongs to the caller: raising it directly cancels as well.
    flag = true;
    EXPECT_TRUE(callbacks.isCancelled());
    EXPECT_EQ(currentLogger(), callbacks.logger());
}

TEST(DefaultRenderCallbacks, HooksDispatchVirtuallyAndDestroyThroughTheInterface)
{
    bool flag = false;
    int destroyed = 0;
    CountingCallbacks* counting = new CountingCallbacks(&flag, &destroyed);
    RenderCallbacks* callbacks = counting;

    callbacks->requestPreview(); // default amounts to finished()
    EXPECT_EQ(1, counting->finishedCalls);
    callbacks->progress(0.25f); // answers through isCancelled()
    EXPECT_EQ(1, counting->cancelQueries);
    callbacks->reserved();
    EXPECT_EQ(1, counting->finishedCalls);

    delete callbacks;
    EXPECT_EQ(1, destroyed);
}

TEST(HostRenderCallbacks, ReportsProgressInThousandths)
{
    resetHost({});
    HostProcs procs;
    procs.progressProc = &recordProgress;
    int16_t result = 0;
    HostRenderCallbacks callbacks(procs, &result);

    for (float f : {0.0f, 0.25f, 0.9999f, 1.0f, -0.0005f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_TRUE(callbacks.progress(f));
    const std::vector<std::pair<int32_t, int32_t>> expected{{0, 1000}, {250, 1000}, {999, 1000},
                                                            {1000, 1000}, {0, 1000}, {0, 1000}};
    EXPECT_EQ(expected, progressCalls);
    EXPECT_EQ(0, result);
}

TEST(HostRenderCallbacks, HostAbortIsLatchedAndSetsTheResultCode)
{
    resetHost({false, true, false, false});
    HostProcs procs;
    procs.abortProc = &scriptedAbort;
    procs.progressProc = &recordProgress;
    int16_t result = 0;
    HostRenderCallbacks callbacks(procs, &result);

    EXPECT_FALSE(callbacks.isCancelled());
    EXPECT_EQ(0, result);
    EXPECT_TRUE(callbacks.isCancelled());
    EXPECT_EQ(1, result);
    // The host now answers false again, but the render stays stopped.
    EXPECT_TRUE(callbacks.isCancelled());
    EXPECT_FALSE(callbacks.progress(0.5f));
    EXPECT_EQ(1u, progressCalls.size());
    EXPECT_EQ(4u, abortCalls);
}

TEST(HostRenderCallbacks, WithoutHostProceduresOnlyTheOwnFlagCounts)
{
    HostRenderCallbacks callbacks(HostProcs(), nullptr);
    EXPECT_FALSE(callbacks.isCancelled());
    EXPECT_TRUE(callbacks.progress(0.5f));
    callbacks.cancel();
    EXPECT_TRUE(callbacks.ownFlag);
    EXPECT_TRUE(callbacks.isCancelled());
    EXPECT_FALSE(callbacks.progress(0.5f));

    // A host abort without a result field to write still cancels.
    resetHost({true});
    HostProcs procs;
    procs.abortProc = &scriptedAbort;
    HostRenderCallbacks aborted(procs, nullptr);
    EXPECT_TRUE(aborted.isCancelled());
    EXPECT_TRUE(aborted.isCancelled());
}
