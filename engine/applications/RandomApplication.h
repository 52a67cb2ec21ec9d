#pragma once

#include "engine/applications/ApplicationPattern.h"

// Scatters strokes at random columns on a row cursor that walks down the area
// in random steps and wraps to the top.
class RandomApplication : public ApplicationPattern
{
public:
    RandomApplication();

    bool run(RenderCallbacks& callbacks) override;
    void prepare() override;

    // Places one batch without reporting; a negative count means budget / 80.
    int step(int count);

    int rowCursor;

private:
    void placeBatch(int count);
};
