#include "foundation/LineCollector.h"

LineCollector::LineCollector(const char* sep, std::vector<String>& lines)
    : LineSplitter(sep), lines_(lines)
{
}

void LineCollector::onLine(const String& line)
{
    String text(line);
    text.trimLeft(" \n\r\t");
    text.trimRight(" \n\r\t");
    if (!text.empty())
        lines_.push_back(text);
}
