#pragma once

#include "foundation/LineSplitter.h"

#include <vector>

// Collects the non-blank lines, trimmed of " \n\r\t", into a caller's list.
class LineCollector : public LineSplitter
{
public:
    LineCollector(const char* separator, std::vector<String>& lines);

    void onLine(const String& line) override;

private:
    std::vector<String>& lines_;
};
