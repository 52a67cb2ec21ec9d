#pragma once

#include "foundation/PutByteSink.h"
#include "foundation/String.h"

// Cuts a byte stream into lines at a separator text; each line is handed to
// onLine with its separator still attached. A last line without separator
// is handed over by finish().
class LineSplitter : public PutByteSink
{
public:
    explicit LineSplitter(const char* separator);
    ~LineSplitter() override;

    void putByte(char c) override;
    virtual void onLine(const String& line) = 0;

    // Hands a pending unterminated line to onLine.
    void finish();

protected:
    String pending;
    String separator;
    unsigned long separatorLength;
};
