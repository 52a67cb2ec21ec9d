#include "engine/brushes/ShapedBrush.h"

#include <cmath>

#include "engine/ResponseCurves.h"
#include "engine/tips/BrushTip.h"
#include "engine/tips/HeightFunctions.h"
#include "engine/tips/ValueNoise.h"
#include "foundation/Angles.h"
#include "foundation/Numeric.h"

ShapedBrush::ShapedBrush(const ParamDescriptor* table, const TipRows& rows, const char* id,
                         const char* displayName)
    : Brush(table, id, displayName), count_(0), rows_(rows)
{
    for (int i = 0; i < MaxTips; ++i)
        tips_[i] = nullptr;
}

ShapedBrush::~ShapedBrush()
{
    deleteTips();
}

void ShapedBrush::deleteTips()
{
    for (int i = 0; i < MaxTips; ++i) {
        delete tips_[i];
        tips_[i] = nullptr;
    }
    count_ = 0;
}

BrushTip* ShapedBrush::tipAt(int index) const
{
    return index >= 0 && index < count_ ? tips_[index] : nullptr;
}

float ShapedBrush::meanSize() const
{
    if (count_ == 0)
        return 0.0f;
    return static_cast<float>((tips_[0]->mass + tips_[count_ - 1]->mass) / 2.0);
}

float ShapedBrush::meanRadius() const
{
    if (count_ == 0)
        return 0.0f;
    const BrushTip* first = tips_[0];
    const BrushTip* last = tips_[count_ - 1];
    return ((first->width() + first->height()) / 4.0f + (last->width() + last->height()) / 4.0f) /
           2.0f;
}

float ShapedBrush::spacingScale() const
{
    if (count_ == 0)
        return 0.0f;
    return (tips_[0]->spacing() + tips_[count_ - 1]->spacing()) / 2.0f;
}

float ShapedBrush::sizeAt(float t) const
{
    if (count_ == 0)
        return 0.0f;
    const int index = clampInt(roundToInt(static_cast<double>(count_) * t), 0, count_ - 1);
    return tips_[index]->spacing();
}

float ShapedBrush::tipBrightness(const ValuePair& brightness, int index) const
{
    const float f = static_cast<float>(index) / static_cast<float>(count_);
    return (1.0f - f) * brightness.first + f * brightness.second;
}

void ShapedBrush::prepare(int steps)
{
    deleteTips();
    const int count = clampInt(steps, 1, MaxTips);

    const float shape = realValue(rows_.shape);
    const ValuePair height = realPair(rows_.height);
    const ValuePair radius = realPair(rows_.radius);
    const ValuePair noise = realPair(rows_.noise);
    const int sides = rawValue(rows_.sides);
    const float rotation = static_cast<float>(rawValue(rows_.rotation));
    const ResponseCurve curve = choice<ResponseCurve>(rows_.heightTransform, defaultCurve());
    const bool radial = rawValue(rows_.shapeBuilder) == 1;

    const double a2 = static_cast<double>(radius.first) * radius.first;
    const double b2 = static_cast<double>(radius.second) * radius.second;
    for (int i = 0; i < count; ++i) {
        const float f = count < 2 ? 0.0f : static_cast<float>(i) / static_cast<float>(count - 1);
        BrushTip* tip = createTip();
        tips_[i] = tip;
        count_ = i + 1;
        // The area, not the radius, changes linearly along the stroke.
        const double r2 = (b2 - a2) * f + a2;
        const float r = static_cast<float>(std::sqrt(r2 > 0.0 ? r2 : 0.0));
        // pi / 360: a rotation of 720 turns the tip once over the stroke.
        const float angle = static_cast<float>(f * rotation * kPi / 360.0);
        tip->build(radial, r, height.at(f), angle, shape, true, sides, noise.at(f), curve,
                   coneHeight, ValueNoise::smooth8Signed);
    }
}

void ShapedBrush::configureTips(BlendKernel blend, CompositeKernel alpha,
                                const ValuePair& brightness)
{
    for (int i = 0; i < count_; ++i) {
        tips_[i]->blendKernel = blend;
        tips_[i]->compositeKernel = alpha;
        tips_[i]->setBrightness(tipBrightness(brightness, i));
    }
}

void ShapedBrush::dabEnds(const Vec2& position, const Vec2& direction, Point& atPosition,
                          Point& atEnd) const
{
    // The tip brushes form the vector sum before rounding, unlike the point
    // brushes.
    atPosition = Point(addSaturated(roundToInt(position.x), pixelOffset.x),
                       addSaturated(roundToInt(position.y), pixelOffset.y));
    atEnd = Point(addSaturated(roundToInt(position.x + direction.x), pixelOffset.x),
                  addSaturated(roundToInt(position.y + direction.y), pixelOffset.y));
}
