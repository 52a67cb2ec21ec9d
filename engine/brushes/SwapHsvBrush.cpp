#include "engine/brushes/SwapHsvBrush.h"

#include "engine/ParamDescriptor.h"
#include "image/ColourMath.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kSrcHue, // "srch"
    kSrcSaturation, // "srcs"
    kSrcValue, // "srcv"
    kPushSticky, // "pushstickycolor"
    kLimitDest, // "limit.dest"
    kBrightnessDest, // "brightness.dest"
    kDestHue, // "desth"
    kDestSaturation, // "dests"
    kDestValue, // "destv"
    kPullSticky, // "pullstickycolor"
    kLimitSrc, // "limit.src"
    kBrightnessSrc, // "brightness.src"
    kRowCount
};

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
static_assert(sizeof kTable / sizeof kTable[0] == kRowCount + 1, "a name for every row");


} // namespace

SwapHsvBrush::SwapHsvBrush() : PointBrush(kTable, "_swaphsv", "Swap Point HSV")
{
}

SwapHsvBrush::~SwapHsvBrush()
{
}

void SwapHsvBrush::prepare(int)
{
    readSwapSides({kPushSticky, kLimitDest, kPullSticky, kLimitSrc}, sides_);
    srcH_ = realPair(kSrcHue);
    srcS_ = realPair(kSrcSaturation);
    srcV_ = realPair(kSrcValue);
    brightnessDest_ = realPair(kBrightnessDest);
    destH_ = realPair(kDestHue);
    destS_ = realPair(kDestSaturation);
    destV_ = realPair(kDestValue);
    brightnessSrc_ = realPair(kBrightnessSrc);
}

bool SwapHsvBrush::dab(const Vec2& position, const Vec2& direction, float t)
{
    // The brightened pixel becomes the sticky colour, so a sticky stroke
    // keeps brightening dab after dab.
    const auto brighten = [&](Pixel& p, Pixel& q) {
        scalePixelRgb(p, brightnessSrc_.at(t));
        stickyP = p;
        scalePixelRgb(q, brightnessDest_.at(t));
        stickyQ = q;
    };
    return swapDab(position, direction, t, sides_, false, brighten,
                   [&](const Pixel& p, const Pixel& q, bool toP, bool toQ, Pixel& newP, Pixel& newQ) {
                       // Both writes mix the same two pixels: convert each once.
                       const PixelHsv hp = pixelHsv(p), hq = pixelHsv(q);
                       if (toP)
                           newP = blendPixelHsv(p, hp, hq, srcH_.at(t), srcS_.at(t), srcV_.at(t));
                       if (toQ)
                           newQ = blendPixelHsv(q, hq, hp, destH_.at(t), destS_.at(t), destV_.at(t));
                   });
}
