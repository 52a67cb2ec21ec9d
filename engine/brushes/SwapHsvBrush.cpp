#include "engine/brushes/SwapHsvBrush.h"

#include "engine/ParamDescriptor.h"
#include "image/ColourMath.h"

namespace {

const ParamDescriptor kTable[] = {
    {3, -20, 120, 50, 2, "Src->Dest Hue ", "srch", 0, {}, 0, 100, 50,
     "Copy Hue from source to destination,\n higher value is more"},
    {3, -20, 120, 50, 2, "Src->Dest Saturation", "srcs", 0, {}, 0, 0, -1,
     "Copy Saturation from source to destination,\n higher value is more"},
    {3, -20, 120, 50, 2, "Src->Dest Brightness", "srcv", 0, {}, 0, 0, -1,
     "Copy Brightness from source to destination,\n higher value is more"},
    {3, -50, 150, 0, 2, "s->d Color Sticky ", "pushstickycolor", 0, {}, 0, 0, 0,
     "amount the current source color sticks\n to the original source color"},
    {2, 0, 0, 0, 0, "Paint If s->d", "limit.dest", 5, &paintIfPredicates, 0, 0, 0,
     "paint logic, selects which brush point applications are painted (src->dest)"},
    {3, 900, 1100, 1000, 3, "Brightness d", "brightness.dest", 0, {}, 995, 1005, 99,
     "increase output brightness/contrast for destination"},
    {3, -20, 120, 50, 2, "Dest->Src Hue ", "desth", 0, {}, 0, 100, 50,
     "Copy Hue from destination to source,\n higher value is more"},
    {3, -20, 120, 50, 2, "Dest->Src Saturation", "dests", 0, {}, 3, 0, -1,
     "Copy Saturation from destination to source,\n higher value is more"},
    {3, -20, 120, 50, 2, "Dest->Src Brightness", "destv", 0, {}, 3, 0, -1,
     "Copy Brightness from destination to source,\n higher value is more"},
    {3, -50, 150, 0, 2, "d->s Color Sticky ", "pullstickycolor", 0, {}, 0, 0, 0,
     "amount the current destination color sticks\n to the original destination color"},
    {2, 0, 0, 0, 0, "Paint If d->s", "limit.src", 5, &paintIfPredicates, 0, 0, 0,
     "paint logic, selects which brush point applications are painted (dest->src)"},
    {3, 900, 1100, 1000, 3, "Brightness s", "brightness.src", 0, {}, 995, 1005, 99,
     "increase output brightness/contrast for source"},
    {0, 0, 0, 0, 0, "", "", 0, {}, 0, 0, 0, ""},
};

} // namespace

SwapHsvBrush::SwapHsvBrush()
    : PointBrush(kTable, "_swaphsv", "Swap Point HSV"), limitDest_(defaultPaintIf()),
      limitSrc_(defaultPaintIf())
{
}

SwapHsvBrush::~SwapHsvBrush()
{
}

void SwapHsvBrush::prepare(int)
{
    srcH_ = valuePair("srch");
    srcS_ = valuePair("srcs");
    srcV_ = valuePair("srcv");
    pushSticky_ = valuePair("pushstickycolor");
    limitDest_ = choice<PaintIfPredicate>("limit.dest", defaultPaintIf());
    brightnessDest_ = valuePair("brightness.dest");
    destH_ = valuePair("desth");
    destS_ = valuePair("dests");
    destV_ = valuePair("destv");
    pullSticky_ = valuePair("pullstickycolor");
    limitSrc_ = choice<PaintIfPredicate>("limit.src", defaultPaintIf());
    brightnessSrc_ = valuePair("brightness.src");
}

bool SwapHsvBrush::dab(const Vec2& position, const Vec2& direction, float t)
{
    Image* target = paintTarget();
    if (!target)
        return false;
    DabPixels d;
    locate(position, direction, d);
    readPixels(*target, d);
    captureSticky(d, t);
    // The brightened pixel becomes the sticky colour, so a sticky stroke
    // keeps brightening dab after dab.
    d.p = lerpPixelRgb(d.p, stickyP, pushSticky_.at(t));
    scalePixelRgb(d.p, brightnessSrc_.at(t));
    stickyP = d.p;
    d.q = lerpPixelRgb(d.q, stickyQ, pullSticky_.at(t));
    scalePixelRgb(d.q, brightnessDest_.at(t));
    stickyQ = d.q;
    const bool toSrc = limitSrc_(&d.p, &d.q);
    const bool toDest = limitDest_(&d.q, &d.p);
    if (!toSrc && !toDest)
        return false;
    // Both writes mix the same two pixels: convert each once.
    const PixelHsv hp = pixelHsv(d.p), hq = pixelHsv(d.q);
    if (toSrc)
        writeAt(*target, d.x0, d.y0, blendPixelHsv(d.p, hp, hq, srcH_.at(t), srcS_.at(t), srcV_.at(t)));
    if (toDest)
        writeAt(*target, d.x1, d.y1, blendPixelHsv(d.q, hq, hp, destH_.at(t), destS_.at(t), destV_.at(t)));
    return true;
}
