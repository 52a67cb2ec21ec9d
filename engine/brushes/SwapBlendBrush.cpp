#include "engine/brushes/SwapBlendBrush.h"

#include "engine/ParamDescriptor.h"
#include "image/BlendModes.h"
#include "image/ColourMath.h"

namespace {

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
      blendSrc_(defaultBlendKernel()), alphaMode_(defaultCompositeKernel()),
      limitDest_(defaultPaintIf()), limitSrc_(defaultPaintIf())
{
}

SwapBlendBrush::~SwapBlendBrush()
{
}

void SwapBlendBrush::prepare(int)
{
    src_ = valuePair("src");
    blendDest_ = choice<BlendKernel>("blendmode.dest", defaultBlendKernel());
    pushSticky_ = valuePair("pushstickycolor");
    limitDest_ = choice<PaintIfPredicate>("limit.dest", defaultPaintIf());
    brightnessDest_ = valuePair("brightness.dest");
    dest_ = valuePair("dest");
    blendSrc_ = choice<BlendKernel>("blendmode.src", defaultBlendKernel());
    pullSticky_ = valuePair("pullstickycolor");
    limitSrc_ = choice<PaintIfPredicate>("limit.src", defaultPaintIf());
    brightnessSrc_ = valuePair("brightness.src");
    alphaMode_ = choice<CompositeKernel>("alphamode", defaultCompositeKernel());
}

bool SwapBlendBrush::dab(const Vec2& position, const Vec2& direction, float t)
{
    Image* target = paintTarget();
    if (!target)
        return false;
    DabPixels d;
    locate(position, direction, d);
    readPixels(*target, d);
    captureSticky(d, t);
    // The conditions judge the pixels as read; the colour work uses the
    // sticky-mixed ones.
    Pixel p = d.p, q = d.q;
    mixSticky(p, stickyP, pushSticky_.at(t));
    mixSticky(q, stickyQ, pullSticky_.at(t));
    bool painted = false;
    if (limitSrc_(&d.p, &d.q)) {
        Pixel c = compositeOver(q, p, blendDest_, alphaMode_);
        scalePixelRgb(c, brightnessSrc_.at(t));
        writeAt(*target, d.x0, d.y0, lerpPixelRgba(p, c, src_.at(t)));
        painted = true;
    }
    if (limitDest_(&d.q, &d.p)) {
        Pixel c = compositeOver(p, q, blendSrc_, alphaMode_);
        scalePixelRgb(c, brightnessDest_.at(t));
        writeAt(*target, d.x1, d.y1, lerpPixelRgba(q, c, dest_.at(t)));
        return true;
    }
    return painted;
}
