#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/Exception.h"
#include "foundation/Logger.h"
#include "foundation/LoggerRef.h"
#include "foundation/NullLogger.h"
#include "foundation/Timestamp.h"

namespace {

struct CaptureLogger : Logger {
    CaptureLogger(unsigned format, bool events, bool debug) : Logger(format, events, debug) {}
    void write(const char* line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

void fixedClock(SYSTEMTIME* out)
{
    *out = SYSTEMTIME();
    out->wYear = 2009;
    out->wMonth = 3;
    out->wDay = 1;
    out->wHour = 14;
    out->wMinute = 5;
    out->wSecond = 9;
    out->wMilliseconds = 999;
}

} // namespace

TEST(Logger, LineLayouts)
{
    Timestamp::setLocalTimeSource(&fixedClock);
    CaptureLogger stamped(0, true, true);
    stamped.errorText(0x5009202, "cannot open");
    Timestamp::setLocalTimeSource(nullptr);
    ASSERT_EQ(1u, stamped.lines.size());
    EXPECT_EQ("2009/03/01 14:05:09 error 05009202: cannot open", stamped.lines[0]);

    CaptureLogger kinds(1, true, true);
    kinds.event("started %d", 3);
    kinds.eventText("plain %d");
    kinds.error(0xABCDEF, "code %s", "x");
    kinds.exception(Exception(0x5009203));
    kinds.debug("dbg");
    std::vector<std::string> expected = { "event: started 3", "event: plain %d",
                                          "error 00ABCDEF: code x",
                                          "exception 05009203: File Read Exception",
                                          "debug: dbg" };
    EXPECT_EQ(expected, kinds.lines);

    CaptureLogger bare(2, true, true);
    bare.event("started");
    bare.errorText(1, "oops");
    EXPECT_EQ((std::vector<std::string>{ "started", "oops" }), bare.lines);
}

TEST(Logger, SwitchesGateEventsAndDebugOnly)
{
    CaptureLogger quiet(1, false, false);
    quiet.event("e");
    quiet.eventText("e");
    quiet.debug("d");
    EXPECT_TRUE(quiet.lines.empty());
    quiet.errorText(2, "err");
    quiet.exception(Exception(kStreamException));
    ASSERT_EQ(2u, quiet.lines.size());
    EXPECT_EQ("exception 05009600: Stream Exception", quiet.lines[1]);
}

TEST(Logger, NumbersInCLocaleFormAndLongMessagesCut)
{
    CaptureLogger log(2, true, false);
    log.event("%.2f", 0.5);
    EXPECT_EQ("0.50", log.lines.at(0));

    std::string huge(5000, 'm');
    log.eventText(huge.c_str());
    log.event("%s", huge.c_str());
    log.error(1, "%s", std::string(600000, 'z').c_str());
    CaptureLogger stamped(1, true, false);
    stamped.errorText(0xFFFFFFFFu, huge.c_str());
    ASSERT_EQ(4u, log.lines.size());
    for (size_t i = 1; i < log.lines.size(); ++i)
        EXPECT_EQ(2047u, log.lines[i].size());
    EXPECT_EQ(2047u, stamped.lines.at(0).size());
    EXPECT_EQ(0u, stamped.lines[0].find("error FFFFFFFF: mmm"));
}

TEST(LoggerRef, ForwardsOrIgnores)
{
    LoggerRef none;
    none.event("x %d", 1);
    none.error(1, "x");
    none.errorText(1, "x");
    none.exception(Exception(kParseException));
    none.debug("x");

    CaptureLogger log(1, false, true);
    LoggerRef ref(&log);
    ref.event("skipped %d", 1);
    ref.error(0x10, "n=%d", 5);
    ref.errorText(0x11, "t");
    ref.exception(Exception(kParseException));
    ref.debug("d");
    std::vector<std::string> expected = { "error 00000010: n=5", "error 00000011: t",
                                          "exception 0500900A: Parse Exception", "debug: d" };
    EXPECT_EQ(expected, log.lines);
}

TEST(Logger, CurrentLoggerIsTheNullLogger)
{
    Logger* current = currentLogger();
    ASSERT_NE(nullptr, current);
    EXPECT_NE(nullptr, dynamic_cast<NullLogger*>(current));
    EXPECT_EQ(0u, current->lineFormat);
    EXPECT_TRUE(current->eventsEnabled);
    EXPECT_FALSE(current->debugEnabled);
    current->event("nothing %d", 1);
    current->exception(Exception(kValueException));
    installNullLogger();
    EXPECT_EQ(current, currentLogger());
}
