// The folder walk behind the plug-in scan: what becomes of an exception of
// a hook, and the cancel flag.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "foundation/Exception.h"
#include "foundation/ModulePaths.h"
#include "shell/host/DirectoryWalker.h"

namespace {

class Answer : public WalkErrorHandler
{
public:
    explicit Answer(int answer) : answer_(answer) {}
    int onWalkError(const Exception&) override { return answer_; }

private:
    int answer_;
};

// Records file names; the first visit of "b.txt" throws.
class Recorder : public DirectoryWalker
{
public:
    explicit Recorder(WalkErrorHandler* handler) : DirectoryWalker(nullptr, handler) {}
    void onFile(const String& path) override
    {
        const String name = path.midToEnd(int(path.find_last_of("\\/") + 1));
        visits += name + ";";
        if (name == "b.txt" && !thrown) {
            thrown = true;
            throw Exception(kFileReadException);
        }
    }
    void onLeave(const String&) override { ++leaves; }
    String visits;
    bool thrown = false;
    int leaves = 0;
};

TEST(DirectoryWalker, HookErrorsAreRetriedSkippedOrThrownOn)
{
    const String folder = tempFolder() + "qx_walker\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.dat"}) {
        HANDLE h = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               0, nullptr);
        CloseHandle(h);
    }
    auto sorted = [](const String& visits) {
        std::vector<String> names;
        visits.split(names, ";");
        std::sort(names.begin(), names.end());
        return names;
    };

    Answer retry(WalkErrorHandler::kRetryEntry), next(WalkErrorHandler::kNextEntry);
    Recorder retrying(&retry);
    retrying.walk(folder, "*.txt", 0);
    EXPECT_EQ(sorted(retrying.visits), (std::vector<String>{"", "a.txt", "b.txt", "b.txt", "c.txt"}));

    Recorder skipping(&next);
    skipping.walk(folder, "*.txt", 0);
    EXPECT_EQ(sorted(skipping.visits), (std::vector<String>{"", "a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(skipping.leaves, 1);

    Recorder unhandled(nullptr);
    try {
        unhandled.walk(folder, "*.txt", 0);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.code, uint32_t(kFileReadException));
    }

    const int cancel = 1;
    Recorder cancelled(nullptr);
    cancelled.setCancelFlag(&cancel);
    try {
        cancelled.walk(folder, "*.txt", 0);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.code, uint32_t(kUserException));
    }
    EXPECT_EQ(cancelled.visits, "");

    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.dat"})
        DeleteFileA((folder + name).c_str());
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str())) << "every search handle was closed";
}

} // namespace
