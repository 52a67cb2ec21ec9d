#pragma once

#include "foundation/NamedRegistry.h"
#include "image/Pixel.h"

// A composite kernel gives a painted pixel's new alpha from (source alpha x,
// destination alpha y). Only the low 8 bits of a result count.
typedef unsigned char (*CompositeKernel)(unsigned char x, unsigned char y);

struct CompositeModeRow {
    const char* id;
    CompositeKernel kernel;
    const char* displayName;
};

enum { kCompositeModeCount = 28 };

// Every row in its fixed order; the identifiers are stored in presets.
extern const CompositeModeRow compositeModeRows[kCompositeModeCount];

class CompositeModeRegistry : public NamedRegistry<CompositeKernel> {
public:
    CompositeModeRegistry();
};

extern const CompositeModeRegistry compositeModes;

// The kernel of row 0 ("dest"): the destination alpha unchanged.
CompositeKernel defaultCompositeKernel();

// Lays source over destination by the source alpha: R, G and B step toward
// the source, the alpha becomes the larger of the two; a transparent source
// leaves the destination as it is.
Pixel lerpArgbBySourceAlpha(const Pixel& source, const Pixel& destination);
