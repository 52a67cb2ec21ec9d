#include <gtest/gtest.h>

#include <windows.h>

#include "foundation/Exception.h"
#include "foundation/Stopwatch.h"
#include "foundation/Timestamp.h"

namespace {

SYSTEMTIME gFakeNow;

void fakeClock(SYSTEMTIME* out)
{
    *out = gFakeNow;
}

void setFakeNow(int y, int mo, int d, int h, int mi, int s, int ms)
{
    gFakeNow = SYSTEMTIME();
    gFakeNow.wYear = WORD(y);
    gFakeNow.wMonth = WORD(mo);
    gFakeNow.wDay = WORD(d);
    gFakeNow.wHour = WORD(h);
    gFakeNow.wMinute = WORD(mi);
    gFakeNow.wSecond = WORD(s);
    gFakeNow.wMilliseconds = WORD(ms);
}

struct FakeClock {
    FakeClock() { Timestamp::setLocalTimeSource(&fakeClock); }
    ~FakeClock() { Timestamp::setLocalTimeSource(nullptr); }
};

std::uint32_t gTicks;
std::uint32_t fakeTicks()
{
    return gTicks;
}

Timestamp at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return Timestamp(y, mo, d, h, mi, s, 0);
}

std::string text(const Timestamp& t)
{
    return t.toString(Timestamp::kAll);
}

} // namespace

TEST(Timestamp, Formats)
{
    Timestamp t(2006, 1, 31, 23, 59, 59, 123000);
    EXPECT_STREQ("2006/01/31 23:59:59.123000", t.format(127));
    EXPECT_STREQ("2006/01/31 23:59:59", t.format(126));
    EXPECT_STREQ("2006/01/31", t.format(112));
    EXPECT_STREQ("23:59:59.123000", t.format(15));
    EXPECT_STREQ("", t.format(3));
    EXPECT_EQ("2006/01/31", t.toString(112));
    Timestamp timeOnly(0, 0, 0, 12, 30, 5, 250);
    EXPECT_EQ("12:30:05.000250", text(timeOnly));
    // Values wider than the formats print as they are, within the buffer.
    Timestamp wide(-32768, 65535, 65535, 65535, 65535, 65535, 4294967295u);
    EXPECT_EQ("-32768/65535/65535 65535:65535:65535.4294967295", text(wide));
}

TEST(Timestamp, ParseRoundTripsAndPartialText)
{
    Timestamp t(2006, 1, 31, 23, 59, 59, 123000);
    for (int mask : { 127, 126, 112, 15 }) {
        Timestamp back;
        back.parse(t.toString(mask));
        Timestamp expected;
        expected.set(t, mask == 127 ? 127 : mask);
        EXPECT_EQ(expected, back) << mask;
    }
    Timestamp p;
    p.parse("23:59:59.5");
    EXPECT_EQ(Timestamp(0, 0, 0, 23, 59, 59, 5), p);
    p.parse("23:59:59.1234567");
    EXPECT_EQ(123456u, p.microsecond);
    p.parse("2006/01/31");
    EXPECT_EQ(Timestamp(2006, 1, 31, 0, 0, 0, 0), p);
    p.parse("garbage");
    EXPECT_EQ(Timestamp(), p);
    p.parse("");
    EXPECT_EQ(Timestamp(), p);
}

TEST(Timestamp, ParseReadsOnUntilAPartDoesNotMatch)
{
    // Out-of-range parts still match: they are kept and reading goes on.
    Timestamp p;
    p.parse("0000/00/00 12:30:05");
    EXPECT_EQ(Timestamp(0, 0, 0, 12, 30, 5, 0), p);
    p.parse("2006/13/05 10:00:00");
    EXPECT_EQ(Timestamp(2006, 13, 5, 10, 0, 0, 0), p);
    p.parse("2006/12/-5 08:00");
    EXPECT_EQ(Timestamp(2006, 12, static_cast<unsigned short>(-5), 8, 0, 0, 0), p);
    p.parse("2006/12/05 xx:00");
    EXPECT_EQ(Timestamp(2006, 12, 5, 0, 0, 0, 0), p);
    // What was read survives arithmetic.
    p.parse("2006/13/40");
    p.addDays(-1);
    EXPECT_GE(p.month, 1);
    EXPECT_LE(p.month, 12);
}

TEST(Timestamp, CalendarTables)
{
    EXPECT_TRUE(Timestamp::isLeapYear(2000));
    EXPECT_TRUE(Timestamp::isLeapYear(2004));
    EXPECT_FALSE(Timestamp::isLeapYear(1900));
    EXPECT_FALSE(Timestamp::isLeapYear(2005));
    EXPECT_EQ(29, Timestamp::daysInMonth(2000, 2));
    EXPECT_EQ(28, Timestamp::daysInMonth(2005, 2));
    EXPECT_EQ(31, Timestamp::daysInMonth(2005, 12));
    EXPECT_EQ(0, Timestamp::daysInMonth(2005, 0));
    EXPECT_EQ(0, Timestamp::daysInMonth(2005, 13));
    EXPECT_EQ(0, Timestamp::daysInMonth(2005, -1));
    EXPECT_EQ(0, Timestamp::daysInMonth(2005, 65535));
}

TEST(Timestamp, MonthFromText)
{
    Timestamp t;
    t.setMonthFromText("12");
    EXPECT_EQ(12, t.month);
    t.setMonthFromText("7/x");
    EXPECT_EQ(7, t.month);
    t.setMonthFromText("March");
    EXPECT_EQ(3, t.month);
    t.setMonthFromText("DEC");
    EXPECT_EQ(12, t.month);
    // A leading digit gives its number even when it names no month.
    t.setMonthFromText("13");
    EXPECT_EQ(13, t.month);
    t.setMonthFromText("0");
    EXPECT_EQ(0, t.month);
    t.setMonthFromText("dec");
    for (const char* bad : { "xyz", "", "ju" }) {
        try {
            t.setMonthFromText(bad);
            ADD_FAILURE() << bad;
        } catch (const Exception& e) {
            EXPECT_EQ(0x500900au, e.code);
            EXPECT_STREQ("Parse Exception", e.message);
        }
        EXPECT_EQ(12, t.month);
    }
    EXPECT_THROW(t.setMonthFromText(nullptr), Exception);
}

TEST(Timestamp, CarriesAtMonthAndYearEnds)
{
    typedef Timestamp T;
    typedef void (T::*Add)(int);
    struct Case {
        Timestamp from;
        Add add;
        int n;
        Timestamp to;
    };
    const Case cases[] = {
        // Months move without a day correction.
        { at(2005, 1, 31), &T::addMonths, 1, at(2005, 2, 31) },
        { at(2005, 12, 10), &T::addMonths, 12, at(2006, 12, 10) },
        { at(2006, 12, 10), &T::addMonths, -12, at(2005, 12, 10) },
        { at(2005, 12, 10), &T::addMonths, -11, at(2005, 1, 10) },
        { at(2005, 1, 10), &T::addMonths, -1, at(2004, 12, 10) },
        { at(2005, 2, 28, 10), &T::addDays, 1, at(2005, 3, 1, 10) },
        { at(2004, 3, 1), &T::addDays, -1, at(2004, 2, 29) },
        { at(2006, 1, 1), &T::addDays, -1, at(2005, 12, 31) },
        { at(2006, 1, 1), &T::addDays, -40, at(2005, 11, 22) },
        { at(2000, 1, 1), &T::addDays, 366, at(2001, 1, 1) },
        { at(2001, 1, 1), &T::addDays, -146097 * 3, at(801, 1, 1) },
        { at(801, 1, 1), &T::addHours, -25, at(800, 12, 30, 23) },
        { at(2005, 12, 31, 23, 59, 59), &T::addSeconds, 1, at(2006, 1, 1) },
        { at(2006, 1, 1), &T::addSeconds, -1, at(2005, 12, 31, 23, 59, 59) },
        { at(2004, 2, 29), &T::addYears, 1, at(2005, 2, 29) },
    };
    for (const Case& c : cases) {
        Timestamp t = c.from;
        (t.*c.add)(c.n);
        EXPECT_EQ(text(c.to), text(t)) << text(c.from) << " + " << c.n;
    }
}

TEST(Timestamp, DatelessAndWildValuesStayInRange)
{
    // A time of day without a date borrows into December, not month 0.
    Timestamp clock(0, 0, 0, 0, 0, 0, 0);
    clock.addMinutes(-1);
    EXPECT_EQ(23, clock.hour);
    EXPECT_EQ(59, clock.minute);
    EXPECT_GE(clock.month, 1);
    EXPECT_LE(clock.month, 12);
    Timestamp forward(0, 0, 0, 23, 0, 0, 0);
    forward.addHours(1);
    EXPECT_EQ(0, forward.hour);
    EXPECT_EQ(1, forward.month);
    EXPECT_EQ(1, forward.day);

    // Unchecked constructor values outside the table still end.
    Timestamp wild(2006, 40, 50, 0, 0, 0, 0);
    wild.addDays(1);
    EXPECT_GE(wild.month, 1);
    EXPECT_LE(wild.month, 12);
    EXPECT_LE(wild.day, Timestamp::daysInMonth(wild.year, wild.month));
}

TEST(Timestamp, AddDurationCarriesFieldByField)
{
    Timestamp t(2006, 1, 31, 23, 59, 59, 999999);
    t.add(Timestamp(0, 0, 0, 0, 0, 0, 1));
    EXPECT_EQ(Timestamp(2006, 2, 1, 0, 0, 0, 0), t);

    t = Timestamp(2006, 1, 30, 0, 0, 0, 500000);
    t.add(Timestamp(1, 1, 1, 0, 0, 0, 500000));
    // The second, then the day (to the 31st), then the month (no correction).
    EXPECT_EQ(Timestamp(2007, 2, 31, 0, 0, 1, 0), t);

    t = Timestamp(2006, 1, 1, 0, 0, 0, 0);
    t.add(Timestamp(0, 0, 0, 0, 0, 0, 2500000));
    EXPECT_EQ(Timestamp(2006, 1, 1, 0, 0, 2, 500000), t);
}

TEST(Timestamp, Order)
{
    EXPECT_TRUE(Timestamp(2006, 1, 1, 0, 0, 0, 1000) < Timestamp(2006, 1, 1, 0, 0, 0, 2000));
    EXPECT_TRUE(Timestamp(-5, 1, 1, 0, 0, 0, 0) < Timestamp(5, 1, 1, 0, 0, 0, 0));
    EXPECT_FALSE(Timestamp(2007, 1, 1, 0, 0, 0, 0) < Timestamp(2006, 12, 31, 0, 0, 0, 0));
}

TEST(Timestamp, NowThroughInjectedClock)
{
    FakeClock clock;
    setFakeNow(2009, 3, 1, 14, 5, 9, 7);
    EXPECT_EQ(Timestamp(2009, 3, 1, 14, 5, 9, 7000), Timestamp::now());
    EXPECT_EQ("2009/03/01 14:05:09", Timestamp::nowText(126));
    Timestamp t;
    t.setNow();
    EXPECT_EQ(7000u, t.microsecond);
}

TEST(Timestamp, NextOccurrence)
{
    FakeClock clock;
    Timestamp pattern(0, 0, 0, 7, 30, 0, 0);
    setFakeNow(2006, 12, 31, 6, 0, 0, 0);
    Timestamp t;
    t.setNextOccurrence(pattern, 8 | 4);
    EXPECT_EQ(Timestamp(2006, 12, 31, 7, 30, 0, 0), t);

    setFakeNow(2006, 12, 31, 8, 0, 0, 0);
    t.setNextOccurrence(pattern, 8 | 4);
    EXPECT_EQ(Timestamp(2007, 1, 1, 7, 30, 0, 0), t);

    Timestamp monthDay(0, 2, 29, 0, 0, 0, 0);
    setFakeNow(2006, 3, 1, 0, 0, 0, 0);
    t.setNextOccurrence(monthDay, 32 | 16);
    EXPECT_EQ(2007, t.year);

    setFakeNow(2006, 3, 1, 5, 0, 0, 0);
    t.setNextOccurrence(pattern, 0);
    EXPECT_EQ(Timestamp(2006, 3, 1, 5, 0, 0, 0), t);
}

TEST(Timestamp, DaysUntil)
{
    Timestamp a(2006, 1, 1, 10, 0, 0, 0);
    EXPECT_EQ(0, a.daysUntil(a));
    EXPECT_EQ(0, a.daysUntil(Timestamp(2005, 1, 1, 10, 0, 0, 0)));
    EXPECT_EQ(1, a.daysUntil(Timestamp(2006, 1, 2, 10, 0, 0, 0)));
    EXPECT_EQ(2, a.daysUntil(Timestamp(2006, 1, 2, 10, 0, 0, 1)));
    EXPECT_EQ(1, a.daysUntil(Timestamp(2006, 1, 2, 9, 0, 0, 0)));
    EXPECT_EQ(1, a.daysUntil(Timestamp(2006, 1, 1, 10, 0, 1, 0)));
    EXPECT_EQ(365, a.daysUntil(Timestamp(2007, 1, 1, 10, 0, 0, 0)));
    EXPECT_EQ(366, Timestamp(2004, 1, 1, 0, 0, 0, 0).daysUntil(Timestamp(2005, 1, 1, 0, 0, 0, 0)));
    EXPECT_GT(Timestamp(-32768, 1, 1, 0, 0, 0, 0).daysUntil(Timestamp(32767, 12, 31, 0, 0, 0, 0)),
              23000000);
}

TEST(Stopwatch, ElapsedAcrossTickWrap)
{
    gTicks = 0xFFFFFF00u;
    Stopwatch watch(&fakeTicks);
    gTicks = 0xFFFFFF00u + 61500u; // wraps past zero
    EXPECT_EQ(61500u, watch.elapsedMilliseconds());
    EXPECT_EQ(61u, watch.elapsedWholeSeconds());
    EXPECT_EQ(1u, watch.elapsedMinutes());
    EXPECT_NEAR(61.5, watch.elapsedSeconds(), 1e-3);
    watch.restart();
    EXPECT_EQ(0u, watch.elapsedMilliseconds());

    Stopwatch real;
    EXPECT_LT(real.elapsedMilliseconds(), 60000u);
}
