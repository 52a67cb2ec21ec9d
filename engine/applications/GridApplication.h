#pragma once

#include "engine/applications/ApplicationPattern.h"

// Lays strokes on an even grid in interleaved passes, odd rows offset and
// every start point jittered right and down.
class GridApplication : public ApplicationPattern
{
public:
    GridApplication();

    bool run(RenderCallbacks& callbacks) override;
    void prepare() override;

    int passes;
    bool advance;
    float random;
    float offset;
};

// Start phase of a row: [passes][row phase index].
extern const int gridPhaseTable[8][8];
// Shared jitter, refilled by every grid run.
extern float gridJitterTable[512];
