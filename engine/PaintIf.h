#pragma once

#include "foundation/NamedRegistry.h"
#include "image/Image.h"

// A colour condition on two pixels: whether a brush paints (Paint If) or
// takes up the colour under it (sticky type). Pure; reads only the pixels.
typedef bool (*PaintIfPredicate)(const Pixel* src, const Pixel* dest);

class PaintIfRegistry : public NamedRegistry<PaintIfPredicate> {
public:
    PaintIfRegistry();
    ~PaintIfRegistry() override;
};

class StickyTypeRegistry : public NamedRegistry<PaintIfPredicate> {
public:
    StickyTypeRegistry();
    ~StickyTypeRegistry() override;
};

constexpr unsigned kPaintIfPredicateCount = 99;
constexpr unsigned kStickyTypePredicateCount = 35;

extern PaintIfRegistry paintIfPredicates;
extern StickyTypeRegistry stickyTypePredicates;

// "all": always true.
PaintIfPredicate defaultPaintIf();
// "none": always false.
PaintIfPredicate defaultStickyType();
