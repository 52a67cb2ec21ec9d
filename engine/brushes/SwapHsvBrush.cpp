#include "engine/brushes/SwapHsvBrush.h"

#include "engine/ParamDescriptor.h"
#include "engine/brushes/BrushRows.h"
#include "image/ColourMath.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kSrcHue, kSrcSaturation, kSrcValue, kPushSticky, kLimitDest, kBrightnessDest, kDestHue,
    kDestSaturation, kDestValue, kPullSticky, kLimitSrc, kBrightnessSrc, kRowCount
};

const ParamDescriptor kTable[] = {
    rangeRow("Src->Dest Hue ", "srch").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(0, 100, 50)
        .describedAs("Copy Hue from source to destination,\n higher value is more"),
    rangeRow("Src->Dest Saturation", "srcs").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(0, 0, ParamNoMutation)
        .describedAs("Copy Saturation from source to destination,\n higher value is more"),
    rangeRow("Src->Dest Brightness", "srcv").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(0, 0, ParamNoMutation)
        .describedAs("Copy Brightness from source to destination,\n higher value is more"),
    kPushStickyRow,
    kLimitDestRow,
    kBrightnessDestRow,
    rangeRow("Dest->Src Hue ", "desth").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(0, 100, 50)
        .describedAs("Copy Hue from destination to source,\n higher value is more"),
    rangeRow("Dest->Src Saturation", "dests").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(3, 0, ParamNoMutation)
        .describedAs("Copy Saturation from destination to source,\n higher value is more"),
    rangeRow("Dest->Src Brightness", "destv").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(3, 0, ParamNoMutation)
        .describedAs("Copy Brightness from destination to source,\n higher value is more"),
    kPullStickyRow,
    kLimitSrcRow,
    kBrightnessSrcRow,
    kEndRow,
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
    // Both writes mix the same two pixels: when the first write needs its
    // result, both are converted and both results made at once.
    bool mixed = false;
    Pixel newP, newQ;
    const auto mix = [&](const Pixel& p, const Pixel& q) {
        if (mixed)
            return;
        const float towardQ[3] = {srcH_.at(t), srcS_.at(t), srcV_.at(t)};
        const float towardP[3] = {destH_.at(t), destS_.at(t), destV_.at(t)};
        blendPixelHsvBothWays(p, q, towardQ, towardP, newP, newQ);
        mixed = true;
    };
    return swapDab<false>(
        position, direction, t, sides_, brighten,
        [&](const Pixel& p, const Pixel& q) {
            mix(p, q);
            return newP;
        },
        [&](const Pixel& q, const Pixel& p) {
            mix(p, q);
            return newQ;
        });
}
