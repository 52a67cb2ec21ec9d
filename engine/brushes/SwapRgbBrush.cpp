#include "engine/brushes/SwapRgbBrush.h"

#include "engine/ParamDescriptor.h"
#include "image/ColourMath.h"

namespace {

const ParamDescriptor kTable[] = {
    {3, -20, 120, 50, 2, "Src->Dest Red ", "srcr", 0, {}, 0, 100, 50,
     "Copy Red from source to destination,\n higher value is more"},
    {3, -20, 120, 50, 2, "Src->Dest Green ", "srcg", 0, {}, 0, 100, 50,
     "Copy Green from source to destination,\n higher value is more"},
    {3, -20, 120, 50, 2, "Src->Dest Blue ", "srcb", 0, {}, 0, 100, 50,
     "Copy Blue from source to destination,\n higher value is more"},
    {3, -50, 150, 0, 2, "s->d Color Sticky ", "pushstickycolor", 0, {}, 0, 0, 0,
     "amount the current source color sticks\n to the original source color"},
    {2, 0, 0, 0, 0, "Paint If s->d", "limit.dest", 5, &paintIfPredicates, 0, 0, 0,
     "paint logic, selects which brush point applications are painted (src->dest)"},
    {3, -20, 120, 50, 2, "Dest->Src Red ", "destr", 0, {}, 0, 100, 50,
     "Copy Red from destination to source,\n higher value is more"},
    {3, -20, 120, 50, 2, "Dest->Src Green ", "destg", 0, {}, 0, 100, 50,
     "Copy Green from destination to source,\n higher value is more"},
    {3, -20, 120, 50, 2, "Dest->Src Blue ", "destb", 0, {}, 0, 100, 50,
     "Copy Blue from destination to source,\n higher value is more"},
    {3, -50, 150, 0, 2, "d->s Color Sticky ", "pullstickycolor", 0, {}, 0, 0, 0,
     "amount the current destination color sticks\n to the original destination color"},
    {2, 0, 0, 0, 0, "Paint If d->s", "limit.src", 5, &paintIfPredicates, 0, 0, 0,
     "paint logic, selects which brush point applications are painted (dest->src)"},
    {0, 0, 0, 0, 0, "", "", 0, {}, 0, 0, 0, ""},
};

} // namespace

SwapRgbBrush::SwapRgbBrush()
    : PointBrush(kTable, "_swaprgb", "Swap Point RGB"), limitDest_(defaultPaintIf()),
      limitSrc_(defaultPaintIf())
{
}

SwapRgbBrush::~SwapRgbBrush()
{
}

void SwapRgbBrush::prepare(int)
{
    srcR_ = valuePair("srcr");
    srcG_ = valuePair("srcg");
    srcB_ = valuePair("srcb");
    pushSticky_ = valuePair("pushstickycolor");
    limitDest_ = choice<PaintIfPredicate>("limit.dest", defaultPaintIf());
    destR_ = valuePair("destr");
    destG_ = valuePair("destg");
    destB_ = valuePair("destb");
    pullSticky_ = valuePair("pullstickycolor");
    limitSrc_ = choice<PaintIfPredicate>("limit.src", defaultPaintIf());
}

bool SwapRgbBrush::dab(const Vec2& position, const Vec2& direction, float t)
{
    Image* target = paintTarget();
    if (!target)
        return false;
    DabPixels d;
    locate(position, direction, d);
    readPixels(*target, d);
    captureSticky(d, t);
    mixSticky(d.p, stickyP, pushSticky_.at(t));
    mixSticky(d.q, stickyQ, pullSticky_.at(t));
    // Both writes come from the same P and Q; the second never sees the first.
    bool painted = false;
    if (limitSrc_(&d.p, &d.q)) {
        writeAt(*target, d.x0, d.y0, lerpPixelRgb3(d.p, d.q, srcR_.at(t), srcG_.at(t), srcB_.at(t)));
        painted = true;
    }
    if (limitDest_(&d.q, &d.p)) {
        writeAt(*target, d.x1, d.y1, lerpPixelRgb3(d.q, d.p, destR_.at(t), destG_.at(t), destB_.at(t)));
        return true;
    }
    return painted;
}
