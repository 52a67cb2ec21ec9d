#include "engine/brushes/SwapBlendBrush.h"

#include "engine/ParamDescriptor.h"
#include "engine/brushes/BrushRows.h"
#include "image/BlendModes.h"
#include "image/ColourMath.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kSrc, kBlendModeDest, kPushSticky, kLimitDest, kBrightnessDest, kDest, kBlendModeSrc,
    kPullSticky, kLimitSrc, kBrightnessSrc, kAlphaMode, kRowCount
};

const ParamDescriptor kTable[] = {
    rangeRow("Src->Dest", "src").spans(-20, 120).startsAt(50).hundredths().randomIn(0, 100, 50)
        .describedAs("Amount to copy from source to destination,\n higher value is more"),
    choiceRow("Blend mode s->d", "blendmode.dest", &blendModes)
        .describedAs("selects blend mode for source->destination"),
    kPushStickyRow,
    kLimitDestRow,
    kBrightnessDestRow,
    rangeRow("Dest->Src", "dest").spans(-20, 120).startsAt(50).hundredths().randomIn(0, 100, 50)
        .describedAs("Amount to copy from destination to source,\n higher value is more"),
    choiceRow("Blend mode d->s", "blendmode.src", &blendModes)
        .describedAs("selects blend mode for destination->source"),
    kPullStickyRow,
    kLimitSrcRow,
    kBrightnessSrcRow,
    kAlphaModeRow,
    kEndRow,
};
static_assert(sizeof kTable / sizeof kTable[0] == kRowCount + 1, "a name for every row");

// over laid onto under through the kernels; a transparent over leaves under.
Pixel compositeOver(const Pixel& over, const Pixel& under, BlendKernel blend,
                    CompositeKernel alpha)
{
    if (over.a == 0)
        return under;
    Pixel out;
    out.r = blend(over.r, over.a, under.r, under.a);
    out.g = blend(over.g, over.a, under.g, under.a);
    out.b = blend(over.b, over.a, under.b, under.a);
    out.a = alpha(over.a, under.a);
    return out;
}

} // namespace

SwapBlendBrush::SwapBlendBrush()
    : PointBrush(kTable, "_swapblend", "Swap Point Blend"), blendDest_(defaultBlendKernel()),
      blendSrc_(defaultBlendKernel()), alphaMode_(defaultCompositeKernel())
{
}

SwapBlendBrush::~SwapBlendBrush()
{
}

void SwapBlendBrush::prepare(int)
{
    readSwapSides({kPushSticky, kLimitDest, kPullSticky, kLimitSrc}, sides_);
    src_ = realPair(kSrc);
    blendDest_ = choice<BlendKernel>(kBlendModeDest, defaultBlendKernel());
    brightnessDest_ = realPair(kBrightnessDest);
    dest_ = realPair(kDest);
    blendSrc_ = choice<BlendKernel>(kBlendModeSrc, defaultBlendKernel());
    brightnessSrc_ = realPair(kBrightnessSrc);
    alphaMode_ = choice<CompositeKernel>(kAlphaMode, defaultCompositeKernel());
}

bool SwapBlendBrush::dab(const Vec2& position, const Vec2& direction, float t)
{
    // The conditions judge the pixels as read; the colour work uses the
    // sticky-mixed ones.
    return swapDab<true>(
        position, direction, t, sides_, [](Pixel&, Pixel&) {},
        [&](const Pixel& p, const Pixel& q) {
            Pixel c = compositeOver(q, p, blendDest_, alphaMode_);
            scalePixelRgb(c, brightnessSrc_.at(t));
            return lerpPixelRgba(p, c, src_.at(t));
        },
        [&](const Pixel& q, const Pixel& p) {
            Pixel c = compositeOver(p, q, blendSrc_, alphaMode_);
            scalePixelRgb(c, brightnessDest_.at(t));
            return lerpPixelRgba(q, c, dest_.at(t));
        });
}
