#pragma once

#include <clocale>

// Switches the process to a locale whose radix point is "," for the length of
// a test and back to "C" afterwards. Only tests do this: the libraries must
// work whatever locale a host has set.
class CommaLocale
{
public:
    CommaLocale()
    {
        const char* names[] = {"German_Germany.1252", "German", "de-DE", "de_DE"};
        for (const char* name : names) {
            if (std::setlocale(LC_ALL, name)) {
                active_ = std::localeconv()->decimal_point[0] == ',';
                if (active_)
                    return;
            }
        }
        std::setlocale(LC_ALL, "C");
    }
    ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
    bool active() const { return active_; }

private:
    bool active_ = false;
};
