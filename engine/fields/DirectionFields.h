#pragma once

#include "engine/fields/ImageMeasures.h"
#include "foundation/NamedRegistry.h"

// A direction a stroke can follow at a point of the image; not normalised.
typedef Vec2 (*DirectionFieldFunction)(const Image& image, const Vec2& position);

// Gradient estimators: the first moment of a scalar field over a square
// window around the position, so the vector points toward higher values.
Vec2 windowGradient(float radius, float step, ScalarFieldFunction field, const Image& image,
                    const Vec2& position);
// Each sample weighted by its offset's own magnitude along the axis.
Vec2 weightedWindowGradient(int radius, float step, ScalarFieldFunction field,
                            const Image& image, const Vec2& position);
// Each sample weighted by its offset's magnitude across the axis.
Vec2 crossWeightedWindowGradient(int radius, float step, ScalarFieldFunction field,
                                 const Image& image, const Vec2& position);

class DirectionFieldCatalog : public NamedRegistry<DirectionFieldFunction> {
public:
    DirectionFieldCatalog();
    ~DirectionFieldCatalog() override;
};

constexpr unsigned kDirectionFieldCount = 39;

extern DirectionFieldCatalog directionFields;

// Row 8, "gradient3_red": the vector stroke's direction until its
// parameters are read.
DirectionFieldFunction defaultDirectionField();
