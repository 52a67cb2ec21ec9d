#pragma once

#include "foundation/Logger.h"

// Discards every line; stands in until a real logger exists.
class NullLogger : public Logger
{
public:
    NullLogger();
    ~NullLogger() override;
    void write(const char* line) override;
};
