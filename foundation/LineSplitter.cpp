#include "foundation/LineSplitter.h"

#include <cstring>

LineSplitter::LineSplitter(const char* sep)
    : separator(sep), separatorLength(sep ? std::strlen(sep) : 0)
{
}

LineSplitter::~LineSplitter()
{
}

void LineSplitter::putByte(char c)
{
    pending += c;
    if (separatorLength == 0 || pending.size() < separatorLength)
        return;
    if (std::memcmp(pending.data() + pending.size() - separatorLength, separator.data(),
                    separatorLength) == 0) {
        String line;
        line.swap(pending);
        onLine(line);
    }
}

void LineSplitter::finish()
{
    if (!pending.empty()) {
        String line;
        line.swap(pending);
        onLine(line);
    }
}
