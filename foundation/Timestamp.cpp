#include "foundation/Timestamp.h"

#include <windows.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>

#include "foundation/Exception.h"
#include "foundation/String.h"

namespace {

const int kDaysPerMonth[13] = { 0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
const char* const kMonthNames[12] = { "jan", "feb", "mar", "apr", "may", "jun",
                                      "jul", "aug", "sep", "oct", "nov", "dec" };
// Days in 400 Gregorian years: the calendar repeats after them.
const long long kDaysPer400Years = 146097;

void systemLocalTime(SYSTEMTIME* out)
{
    GetLocalTime(out);
}

Timestamp::LocalTimeSource gLocalTimeSource = &systemLocalTime;

long long floorDiv(long long a, long long b)
{
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Days since 1970-01-01 of a proleptic Gregorian date with month 1..12.
long long serialDay(long long y, int m, long long d)
{
    y -= m <= 2;
    long long era = floorDiv(y, 400);
    long long yoe = y - era * 400;
    long long mp = (m + 9) % 12;
    long long doy = (153 * mp + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * kDaysPer400Years + doe - 719468;
}

struct Fields {
    long long year, month, day, hour, minute, second, microsecond;
};

int daysIn(long long year, long long month)
{
    if (month < 1 || month > 12)
        return 0;
    return Timestamp::daysInMonth(static_cast<int>(year), static_cast<int>(month));
}

void normaliseMonth(Fields& f)
{
    if (f.month > 12) {
        f.year += (f.month - 1) / 12;
        f.month = (f.month - 1) % 12 + 1;
    } else if (f.month < 1) {
        long long k = (12 - f.month) / 12;
        f.month += 12 * k;
        f.year -= k;
    }
}

void normaliseDay(Fields& f)
{
    if (f.month > 12)
        normaliseMonth(f);
    // Whole 400-year cycles first, so that huge counts do not walk month by
    // month.
    if (f.month >= 1) {
        if (f.day > kDaysPer400Years + 31) {
            long long cycles = (f.day - 31) / kDaysPer400Years;
            f.day -= cycles * kDaysPer400Years;
            f.year += cycles * 400;
        } else if (f.day < -kDaysPer400Years) {
            long long cycles = (-f.day) / kDaysPer400Years;
            f.day += cycles * kDaysPer400Years;
            f.year -= cycles * 400;
        }
    }
    while (f.day < 1) {
        // Stepping back from January (or from the date-less month 0) goes
        // to December of the year before, never to a month outside the
        // table.
        if (f.month <= 1) {
            f.month = 12;
            --f.year;
        } else {
            --f.month;
        }
        f.day += daysIn(f.year, f.month);
    }
    for (;;) {
        int dim = daysIn(f.year, f.month);
        if (f.day <= dim)
            break;
        f.day -= dim;
        if (f.month >= 12) {
            f.month = 1;
            ++f.year;
        } else {
            ++f.month;
        }
    }
}

// Brings *value into [0, base) and returns the carry into the next field.
long long carryField(long long& value, long long base)
{
    long long carry = floorDiv(value, base);
    value -= carry * base;
    return carry;
}

} // namespace

Timestamp::Timestamp() : year(0), month(0), day(0), hour(0), minute(0), second(0), microsecond(0)
{
    text_[0] = '\0';
}

Timestamp::Timestamp(int y, int mo, int d, int h, int mi, int s, unsigned int us)
    : year(static_cast<short>(y)),
      month(static_cast<unsigned short>(mo)),
      day(static_cast<unsigned short>(d)),
      hour(static_cast<unsigned short>(h)),
      minute(static_cast<unsigned short>(mi)),
      second(static_cast<unsigned short>(s)),
      microsecond(us)
{
    text_[0] = '\0';
}

Timestamp::Timestamp(const Timestamp& other)
    : year(other.year),
      month(other.month),
      day(other.day),
      hour(other.hour),
      minute(other.minute),
      second(other.second),
      microsecond(other.microsecond)
{
    text_[0] = '\0';
}

Timestamp& Timestamp::operator=(const Timestamp& other)
{
    year = other.year;
    month = other.month;
    day = other.day;
    hour = other.hour;
    minute = other.minute;
    second = other.second;
    microsecond = other.microsecond;
    return *this;
}

Timestamp::~Timestamp()
{
}

void Timestamp::setLocalTimeSource(LocalTimeSource source)
{
    gLocalTimeSource = source ? source : &systemLocalTime;
}

Timestamp Timestamp::now()
{
    Timestamp t;
    t.setNow();
    return t;
}

void Timestamp::setNow()
{
    SYSTEMTIME st;
    std::memset(&st, 0, sizeof st);
    gLocalTimeSource(&st);
    fromSystemTime(st);
}

std::string Timestamp::nowText(int mask)
{
    return now().toString(mask);
}

void Timestamp::clear()
{
    year = 0;
    month = day = hour = minute = second = 0;
    microsecond = 0;
}

std::string Timestamp::text(int mask) const
{
    char buffer[128];
    int y = year;
    switch (mask) {
    case kAll:
        if (year == 0 && month == 0 && day == 0)
            std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%06u", int(hour), int(minute),
                          int(second), microsecond);
        else
            std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d.%06u", y,
                          int(month), int(day), int(hour), int(minute), int(second),
                          microsecond);
        break;
    case kNoMicrosecond:
        std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d", y, int(month),
                      int(day), int(hour), int(minute), int(second));
        break;
    case kDate:
        std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", y, int(month), int(day));
        break;
    case kTimeOfDay:
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%06u", int(hour), int(minute),
                      int(second), microsecond);
        break;
    default:
        buffer[0] = '\0';
        break;
    }
    return buffer;
}

const char* Timestamp::format(int mask)
{
    std::string t = text(mask);
    size_t n = t.size() < sizeof text_ - 1 ? t.size() : sizeof text_ - 1;
    std::memcpy(text_, t.data(), n);
    text_[n] = '\0';
    return text_;
}

std::string Timestamp::toString(int mask) const
{
    return text(mask);
}

void Timestamp::parse(const std::string& input)
{
    clear();
    const char* s = input.c_str();
    int v[7] = { 0, 0, 0, 0, 0, 0, 0 };
    // Reading stops only where a part does not match: the fields read so far
    // keep what they hold, out of range or not (the calendar code copes).
    if (input.size() >= 3 && s[2] == ':') {
        const int n = std::sscanf(s, "%02d:%02d:%02d.%06d", &v[3], &v[4], &v[5], &v[6]);
        storeParts(v, 3, 3 + n);
        return;
    }
    const int n = std::sscanf(s, "%04d/%02d/%02d %02d:%02d:%02d.%06d", &v[0], &v[1], &v[2], &v[3],
                              &v[4], &v[5], &v[6]);
    storeParts(v, 0, n);
}

void Timestamp::storeParts(const int* v, int first, int end)
{
    for (int i = first; i < end; ++i) {
        switch (i) {
        case 0: year = static_cast<short>(v[0]); break;
        case 1: month = static_cast<unsigned short>(v[1]); break;
        case 2: day = static_cast<unsigned short>(v[2]); break;
        case 3: hour = static_cast<unsigned short>(v[3]); break;
        case 4: minute = static_cast<unsigned short>(v[4]); break;
        case 5: second = static_cast<unsigned short>(v[5]); break;
        case 6: microsecond = static_cast<unsigned int>(v[6]); break;
        }
    }
}

int Timestamp::get(int mask) const
{
    if (mask & kYear) return year;
    if (mask & kMonth) return month;
    if (mask & kDay) return day;
    if (mask & kHour) return hour;
    if (mask & kMinute) return minute;
    if (mask & kSecond) return second;
    if (mask & kMicrosecond) return static_cast<int>(microsecond);
    return 0;
}

void Timestamp::set(const Timestamp& other, int mask)
{
    if (mask & kYear) year = other.year;
    if (mask & kMonth) month = other.month;
    if (mask & kDay) day = other.day;
    if (mask & kHour) hour = other.hour;
    if (mask & kMinute) minute = other.minute;
    if (mask & kSecond) second = other.second;
    if (mask & kMicrosecond) microsecond = other.microsecond;
}

int Timestamp::compare(const Timestamp& o) const
{
    if (year != o.year) return year < o.year ? -1 : 1;
    if (month != o.month) return month < o.month ? -1 : 1;
    if (day != o.day) return day < o.day ? -1 : 1;
    if (hour != o.hour) return hour < o.hour ? -1 : 1;
    if (minute != o.minute) return minute < o.minute ? -1 : 1;
    if (second != o.second) return second < o.second ? -1 : 1;
    if (microsecond != o.microsecond) return microsecond < o.microsecond ? -1 : 1;
    return 0;
}

bool Timestamp::operator==(const Timestamp& other) const { return compare(other) == 0; }
bool Timestamp::operator<(const Timestamp& other) const { return compare(other) < 0; }
bool Timestamp::operator>(const Timestamp& other) const { return compare(other) > 0; }
bool Timestamp::operator<=(const Timestamp& other) const { return compare(other) <= 0; }

void Timestamp::fromSystemTime(const _SYSTEMTIME& t)
{
    year = static_cast<short>(t.wYear);
    month = t.wMonth;
    day = t.wDay;
    hour = t.wHour;
    minute = t.wMinute;
    second = t.wSecond;
    microsecond = static_cast<unsigned int>(t.wMilliseconds) * 1000u;
}

void Timestamp::toSystemTime(_SYSTEMTIME* t) const
{
    t->wYear = static_cast<WORD>(year);
    t->wMonth = month;
    t->wDay = day;
    t->wHour = hour;
    t->wMinute = minute;
    t->wSecond = second;
    t->wMilliseconds = static_cast<WORD>(microsecond / 1000u);
}

bool Timestamp::isLeapYear(int y)
{
    return (y % 400 == 0) || (y % 4 == 0 && y % 100 != 0);
}

int Timestamp::daysInMonth(int y, int m)
{
    if (m < 0 || m > 12)
        return 0;
    if (m == 2)
        return 28 + (isLeapYear(y) ? 1 : 0);
    return kDaysPerMonth[m];
}

void Timestamp::setMonthFromText(const char* t)
{
    if (!t)
        throw Exception(kParseException);
    char head[4] = { 0, 0, 0, 0 };
    for (int i = 0; i < 3 && t[i]; ++i)
        head[i] = t[i];
    // A leading digit gives the number as it stands, in range or not.
    if (std::isdigit(static_cast<unsigned char>(head[0]))) {
        month = static_cast<unsigned short>(String(head).toInt());
        return;
    }
    for (int i = 0; i < 3; ++i)
        if (head[i] >= 'A' && head[i] <= 'Z')
            head[i] = static_cast<char>(head[i] - 'A' + 'a');
    for (int i = 0; i < 12; ++i) {
        if (std::strcmp(head, kMonthNames[i]) == 0) {
            month = static_cast<unsigned short>(i + 1);
            return;
        }
    }
    throw Exception(kParseException);
}

void Timestamp::addAt(Level level, long long n)
{
    Fields f = { year, month, day, hour, minute, second, microsecond };
    long long carry = n;
    switch (level) {
    case kLevelMicrosecond:
        f.microsecond += carry;
        carry = carryField(f.microsecond, 1000000);
        if (carry == 0) break;
        // fall through
    case kLevelSecond:
        f.second += carry;
        carry = carryField(f.second, 60);
        if (carry == 0) break;
        // fall through
    case kLevelMinute:
        f.minute += carry;
        carry = carryField(f.minute, 60);
        if (carry == 0) break;
        // fall through
    case kLevelHour:
        f.hour += carry;
        carry = carryField(f.hour, 24);
        if (carry == 0) break;
        // fall through
    case kLevelDay:
        f.day += carry;
        normaliseDay(f);
        break;
    case kLevelMonth:
        f.month += carry;
        normaliseMonth(f);
        break;
    }
    year = static_cast<short>(f.year);
    month = static_cast<unsigned short>(f.month);
    day = static_cast<unsigned short>(f.day);
    hour = static_cast<unsigned short>(f.hour);
    minute = static_cast<unsigned short>(f.minute);
    second = static_cast<unsigned short>(f.second);
    microsecond = static_cast<unsigned int>(f.microsecond);
}

void Timestamp::addYears(int n) { year = static_cast<short>(year + n); }
void Timestamp::addMonths(int n) { addAt(kLevelMonth, n); }
void Timestamp::addDays(int n) { addAt(kLevelDay, n); }
void Timestamp::addHours(int n) { addAt(kLevelHour, n); }
void Timestamp::addMinutes(int n) { addAt(kLevelMinute, n); }
void Timestamp::addSeconds(int n) { addAt(kLevelSecond, n); }

void Timestamp::add(const Timestamp& d)
{
    addAt(kLevelMicrosecond, d.microsecond);
    addAt(kLevelSecond, d.second);
    addAt(kLevelMinute, d.minute);
    addAt(kLevelHour, d.hour);
    addAt(kLevelDay, d.day);
    addAt(kLevelMonth, d.month);
    addYears(d.year);
}

void Timestamp::setNextOccurrence(const Timestamp& pattern, int mask)
{
    setNow();
    Timestamp candidate(*this);
    candidate.set(pattern, mask);
    // A year step moves past any moment of the 16-bit calendar long before
    // this many rounds.
    for (int round = 0; round < 70000 && candidate < *this; ++round) {
        if (mask & (kYear | kMonth))
            candidate.addYears(1);
        else if (mask & kDay)
            candidate.addMonths(1);
        else if (mask & kHour)
            candidate.addDays(1);
        else if (mask & kMinute)
            candidate.addHours(1);
        else if (mask & kSecond)
            candidate.addMinutes(1);
        else if (mask & kMicrosecond)
            candidate.addSeconds(1);
        else
            break;
    }
    *this = candidate;
}

int Timestamp::daysUntil(const Timestamp& later) const
{
    if (!(later > *this))
        return 0;
    // Counted on normalised copies, which is what stepping back a day at a
    // time amounts to, without walking the days.
    Fields a = { year, month, day, hour, minute, second, microsecond };
    Fields b = { later.year, later.month, later.day, later.hour, later.minute, later.second,
                 later.microsecond };
    Fields* both[2] = { &a, &b };
    long long tod[2];
    for (int i = 0; i < 2; ++i) {
        Fields& f = *both[i];
        f.second += carryField(f.microsecond, 1000000);
        f.minute += carryField(f.second, 60);
        f.hour += carryField(f.minute, 60);
        f.day += carryField(f.hour, 24);
        normaliseMonth(f);
        normaliseDay(f);
        tod[i] = ((f.hour * 60 + f.minute) * 60 + f.second) * 1000000LL + f.microsecond;
    }
    long long diff = serialDay(b.year, static_cast<int>(b.month), b.day)
                     - serialDay(a.year, static_cast<int>(a.month), a.day);
    if (tod[1] > tod[0])
        ++diff;
    if (diff < 1)
        diff = 1;
    if (diff > INT_MAX)
        diff = INT_MAX;
    return static_cast<int>(diff);
}
