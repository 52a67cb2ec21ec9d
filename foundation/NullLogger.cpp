#include "foundation/NullLogger.h"

NullLogger::NullLogger() : Logger(0, true, false)
{
}

NullLogger::~NullLogger()
{
}

void NullLogger::write(const char*)
{
}
