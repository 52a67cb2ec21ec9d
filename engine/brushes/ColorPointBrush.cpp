#include "engine/brushes/ColorPointBrush.h"

#include "engine/ParamDescriptor.h"
#include "engine/brushes/BrushRows.h"
#include "engine/ResponseCurves.h"
#include "engine/tips/ColorPointTip.h"
#include "foundation/Numeric.h"
#include "foundation/Vec2.h"
#include "image/BlendModes.h"
#include "image/ColourMath.h"
#include "image/CompositeModes.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kRadius, kHeight, kHeightTransform, kRotation, kSides, kShape, kColorMix, kStickyColor,
    kStickyType, kBlendMode, kAlphaMode, kLimit, kBrightness, kNoise, kShapeBuilder, kRowCount
};

const ParamDescriptor kTable[] = {
    rangeRow("Radius ", "radius").spans(5, 400).startsAt(25).tenths().randomIn(10, 70, 60)
        .describedAs("Brush radius"),
    rangeRow("Height ", "height").spans(3, 300).startsAt(100).hundredths().randomIn(5, 115, 85)
        .describedAs("Brush height\n higher value -> sharper edged brush"),
    kHeightTransformRow,
    singleRow("Rotation ", "rotation").spans(-720, 720).inDegrees().randomIn(1, 2, 40)
        .describedAs("Brush head rotation through stroke"),
    kSidesRow,
    singleRow("Shape ", "shape").spans(-50, 150).hundredths().randomIn(0, 50, 60)
        .describedAs("amount of shape in"),
    rangeRow("Color Mix ", "colormix").spans(-50, 150).startsAt(80).hundredths()
        .randomIn(60, 110, 50)
        .describedAs("selects brush color between\n source and destination pixel"),
    rangeRow("Color Stickiness ", "stickycolor").spans(-50, 150).hundredths()
        .describedAs("amount the brush color sticks\n to the currently selected color"),
    choiceRow("Color Sticky Type ", "stickytype", &stickyTypePredicates)
        .describedAs("sticky logic, selects which\n color is retained as current"),
    kBlendModeRow,
    kAlphaModeRow,
    paintIfRow("Paint If "),
    kBrightnessRow,
    kNoiseRow,
    checkBoxRow("Builder 1 ", "shapebuilder").describedAs("use second shape builder"),
    kEndRow,
};
static_assert(sizeof kTable / sizeof kTable[0] == kRowCount + 1, "a name for every row");

} // namespace

ColorPointBrush::ColorPointBrush()
    : ShapedBrush(kTable,
                  {kRadius, kHeight, kHeightTransform, kRotation, kSides, kShape, kNoise,
                   kShapeBuilder},
                  "_ColorPointBrush", "Color Point Brush"),
      currentColor(Pixel::fromWord(0)), limit_(defaultPaintIf()),
      stickyType_(defaultStickyType())
{
}

ColorPointBrush::~ColorPointBrush()
{
}

BrushTip* ColorPointBrush::createTip() const
{
    return new ColorPointTip();
}

void ColorPointBrush::prepare(int steps)
{
    ShapedBrush::prepare(steps);
    colorMix_ = realPair(kColorMix);
    stickyColor_ = realPair(kStickyColor);
    stickyType_ = choice<PaintIfPredicate>(kStickyType, defaultStickyType());
    limit_ = choice<PaintIfPredicate>(kLimit, defaultPaintIf());
    const BlendKernel blend = choice<BlendKernel>(kBlendMode, defaultBlendKernel());
    const CompositeKernel alpha = choice<CompositeKernel>(kAlphaMode, defaultCompositeKernel());
    const ValuePair brightness = realPair(kBrightness);
    configureTips(blend, alpha, brightness);
}

bool ColorPointBrush::dab(const Vec2& position, const Vec2& direction, float t)
{
    Image* target = paintTarget();
    if (count_ == 0 || !target)
        return false;
    const int index = truncToInt(static_cast<double>(count_ - 1) * t);
    if (index < 0 || index >= count_)
        return false;
    Point pp, qq;
    dabEnds(position, direction, pp, qq);
    const Pixel q = readClamped(*target, qq.x, qq.y);
    const Pixel p = readClamped(*target, pp.x, pp.y);
    // The first tip starts every stroke: it always takes up the colour.
    if (index == 0 || stickyType_(&p, &currentColor))
        currentColor = p;
    if (!limit_(&q, &p))
        return false;
    const Pixel mix = lerpPixelRgb(q, p, colorMix_.at(t));
    ColorPointTip* tip = static_cast<ColorPointTip*>(tips_[index]);
    tip->color = lerpPixelRgb(mix, currentColor, stickyColor_.at(t));
    tip->stampColor(*target, qq);
    return true;
}
