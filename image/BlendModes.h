#pragma once

#include "foundation/NamedRegistry.h"
#include "image/BlendKernels.h"

// One row of the blend-mode table. Identifiers are what presets store, so
// the rows' order and texts are part of the preset file format.
struct BlendModeRow {
    const char* id;
    BlendKernel kernel;
    const char* displayName;
};

enum { kBlendModeCount = 223 };

// Every row in its fixed order; the registry below is built from it.
extern const BlendModeRow blendModeRows[kBlendModeCount];

class BlendModeRegistry : public NamedRegistry<BlendKernel> {
public:
    BlendModeRegistry();
};

extern const BlendModeRegistry blendModes;

// The kernel of row 0 ("scl"), which brushes hold before any parameter
// chooses another.
BlendKernel defaultBlendKernel();
