#pragma once

#include <windows.h>

#include <cstdlib>
#include <vector>

// Milliseconds from the performance counter.
inline double nowMs()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

// "1024,4096" -> {1024, 4096}.
inline std::vector<int> parseSizes(const char* text)
{
    std::vector<int> sizes;
    for (const char* p = text; *p;) {
        sizes.push_back(std::atoi(p));
        while (*p && *p != ',')
            ++p;
        if (*p == ',')
            ++p;
    }
    return sizes;
}
