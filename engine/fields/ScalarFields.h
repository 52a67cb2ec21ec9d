#pragma once

#include "engine/fields/ImageMeasures.h"
#include "foundation/NamedRegistry.h"

// The catalogue of scalar fields that the strokes' choice parameters pick
// from. Row order and ids are part of the preset format.
class ScalarFieldCatalog : public NamedRegistry<ScalarFieldFunction> {
public:
    ScalarFieldCatalog();
    ~ScalarFieldCatalog() override;
};

constexpr unsigned kScalarFieldCount = 103;

extern ScalarFieldCatalog scalarFields;

// Row 0, "one": what a stroke steers by until its parameters are bound.
ScalarFieldFunction defaultScalarField();
