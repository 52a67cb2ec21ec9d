#pragma once

#include <string>

struct _SYSTEMTIME;

// Local wall-clock date and time with microsecond resolution. An all-zero
// date (year, month and day 0) stands for a time of day without a date.
class Timestamp
{
public:
    // Field mask bits, and the masks of the text forms.
    enum {
        kYear = 64, kMonth = 32, kDay = 16, kHour = 8, kMinute = 4, kSecond = 2,
        kMicrosecond = 1,
        kAll = 127, kNoMicrosecond = 126, kDate = 112, kTimeOfDay = 15
    };

    // Source of the local time; tests install their own clock.
    typedef void (*LocalTimeSource)(_SYSTEMTIME* out);

    Timestamp();
    Timestamp(int year, int month, int day, int hour, int minute, int second,
              unsigned int microsecond);
    Timestamp(const Timestamp& other);
    Timestamp& operator=(const Timestamp& other);
    virtual ~Timestamp();

    static Timestamp now();
    void setNow();
    static std::string nowText(int mask);
    // Installs the clock read by now(); null restores the system clock.
    static void setLocalTimeSource(LocalTimeSource source);

    void clear();
    // Text of the fields for a mask of 127, 126, 112 or 15, written into
    // this object's own buffer; any other mask gives "".
    const char* format(int mask);
    std::string toString(int mask) const;
    // Clears, then reads "yyyy/mm/dd hh:mm:ss.uuuuuu" or "hh:mm:ss.uuuuuu"
    // as far as the text matches; parts are kept as read, in range or not.
    void parse(const std::string& text);

    int get(int mask) const;
    void set(const Timestamp& other, int mask);

    bool operator==(const Timestamp& other) const;
    bool operator!=(const Timestamp& other) const { return !(*this == other); }
    bool operator<(const Timestamp& other) const;
    bool operator>(const Timestamp& other) const;
    bool operator<=(const Timestamp& other) const;
    bool operator>=(const Timestamp& other) const { return !(*this < other); }

    void fromSystemTime(const _SYSTEMTIME& time);
    void toSystemTime(_SYSTEMTIME* time) const;

    static bool isLeapYear(int year);
    // 0 for month 0 and for any month outside 1..12.
    static int daysInMonth(int year, int month);
    // A leading digit gives the number it begins ("13" gives 13); otherwise
    // a month name's first three letters, any case; Parse Exception else.
    void setMonthFromText(const char* text);

    void addYears(int n);
    void addMonths(int n);
    void addDays(int n);
    void addHours(int n);
    void addMinutes(int n);
    void addSeconds(int n);
    void add(const Timestamp& duration);

    void setNextOccurrence(const Timestamp& pattern, int mask);
    int daysUntil(const Timestamp& later) const;

    short year;
    unsigned short month;
    unsigned short day;
    unsigned short hour;
    unsigned short minute;
    unsigned short second;
    unsigned int microsecond;

private:
    enum Level { kLevelMicrosecond, kLevelSecond, kLevelMinute, kLevelHour, kLevelDay, kLevelMonth };
    // Adds n at a level and carries through the larger fields.
    void addAt(Level level, long long n);
    // Stores parts first..end-1 of year, month, ... microsecond.
    void storeParts(const int* parts, int first, int end);
    int compare(const Timestamp& other) const;
    std::string text(int mask) const;

    char text_[128];
};
