#include "engine/brushes/SwapBlendBrush.h"

#include "engine/ParamDescriptor.h"
#include "image/BlendModes.h"
#include "image/ColourMath.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kSrc, // "src"
    kBlendModeDest, // "blendmode.dest"
    kPushSticky, // "pushstickycolor"
    kLimitDest, // "limit.dest"
    kBrightnessDest, // "brightness.dest"
    kDest, // "dest"
    kBlendModeSrc, // "blendmode.src"
    kPullSticky, // "pullstickycolor"
    kLimitSrc, // "limit.src"
    kBrightnessSrc, // "brightness.src"
    kAlphaMode, // "alphamode"
    kRowCount
};

const ParamDescriptor kTable[] = {
    {3, -20, 120, 50, 2, "Src->Dest", "src", 0, {}, 0, 100, 50,
     "Amount to copy from source to destination,\n higher value is more"},
    {2, 0, 0, 0, 0, "Blend mode s->d", "blendmode.dest", 5, &blendModes, 0, 0, 0,
     "selects blend mode for source->destination"},
    {3, -50, 150, 0, 2, "s->d Color Sticky ", "pushstickycolor", 0, {}, 0, 0, 0,
     "amount the current source color sticks\n to the original source color"},
    {2, 0, 0, 0, 0, "Paint If s->d", "limit.dest", 5, &paintIfPredicates, 0, 0, 0,
     "paint logic, selects which brush point applications are painted (src->dest)"},
    {3, 900, 1100, 1000, 3, "Brightness d", "brightness.dest", 0, {}, 995, 1005, 99,
     "increase output brightness/contrast for destination"},
    {3, -20, 120, 50, 2, "Dest->Src", "dest", 0, {}, 0, 100, 50,
     "Amount to copy from destination to source,\n higher value is more"},
    {2, 0, 0, 0, 0, "Blend mode d->s", "blendmode.src", 5, &blendModes, 0, 0, 0,
     "selects blend mode for destination->source"},
    {3, -50, 150, 0, 2, "d->s Color Sticky ", "pullstickycolor", 0, {}, 0, 0, 0,
     "amount the current destination color sticks\n to the original destination color"},
    {2, 0, 0, 0, 0, "Paint If d->s", "limit.src", 5, &paintIfPredicates, 0, 0, 0,
     "paint logic, selects which brush point applications are painted (dest->src)"},
    {3, 900, 1100, 1000, 3, "Brightness s", "brightness.src", 0, {}, 995, 1005, 99,
     "increase output brightness/contrast for source"},
    {2, 0, 0, 0, 0, "Alpha mode ", "alphamode", 5, &compositeModes, 0, 0, 0,
     "selects alpha result mode for brush application"},
    {0, 0, 0, 0, 0, "", "", 0, {}, 0, 0, 0, ""},
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
    return swapDab(position, direction, t, sides_, true, [](Pixel&, Pixel&) {},
                   [&](const Pixel& p, const Pixel& q, bool toP, bool toQ, Pixel& newP, Pixel& newQ) {
                       if (toP) {
                           Pixel c = compositeOver(q, p, blendDest_, alphaMode_);
                           scalePixelRgb(c, brightnessSrc_.at(t));
                           newP = lerpPixelRgba(p, c, src_.at(t));
                       }
                       if (toQ) {
                           Pixel c = compositeOver(p, q, blendSrc_, alphaMode_);
                           scalePixelRgb(c, brightnessDest_.at(t));
                           newQ = lerpPixelRgba(q, c, dest_.at(t));
                       }
                   });
}
