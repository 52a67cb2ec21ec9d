#include "engine/brushes/SwapRgbBrush.h"

#include "engine/ParamDescriptor.h"
#include "engine/brushes/BrushRows.h"
#include "image/ColourMath.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kSrcRed, kSrcGreen, kSrcBlue, kPushSticky, kLimitDest, kDestRed, kDestGreen, kDestBlue,
    kPullSticky, kLimitSrc, kRowCount
};

const ParamDescriptor kTable[] = {
    rangeRow("Src->Dest Red ", "srcr").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(0, 100, 50)
        .describedAs("Copy Red from source to destination,\n higher value is more"),
    rangeRow("Src->Dest Green ", "srcg").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(0, 100, 50)
        .describedAs("Copy Green from source to destination,\n higher value is more"),
    rangeRow("Src->Dest Blue ", "srcb").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(0, 100, 50)
        .describedAs("Copy Blue from source to destination,\n higher value is more"),
    kPushStickyRow,
    kLimitDestRow,
    rangeRow("Dest->Src Red ", "destr").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(0, 100, 50)
        .describedAs("Copy Red from destination to source,\n higher value is more"),
    rangeRow("Dest->Src Green ", "destg").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(0, 100, 50)
        .describedAs("Copy Green from destination to source,\n higher value is more"),
    rangeRow("Dest->Src Blue ", "destb").spans(-20, 120).startsAt(50).hundredths()
        .randomIn(0, 100, 50)
        .describedAs("Copy Blue from destination to source,\n higher value is more"),
    kPullStickyRow,
    kLimitSrcRow,
    kEndRow,
};
static_assert(sizeof kTable / sizeof kTable[0] == kRowCount + 1, "a name for every row");

} // namespace

SwapRgbBrush::SwapRgbBrush() : PointBrush(kTable, "_swaprgb", "Swap Point RGB")
{
}

SwapRgbBrush::~SwapRgbBrush()
{
}

void SwapRgbBrush::prepare(int)
{
    readSwapSides({kPushSticky, kLimitDest, kPullSticky, kLimitSrc}, sides_);
    srcR_ = realPair(kSrcRed);
    srcG_ = realPair(kSrcGreen);
    srcB_ = realPair(kSrcBlue);
    destR_ = realPair(kDestRed);
    destG_ = realPair(kDestGreen);
    destB_ = realPair(kDestBlue);
}

bool SwapRgbBrush::dab(const Vec2& position, const Vec2& direction, float t)
{
    return swapDab<false>(
        position, direction, t, sides_, [](Pixel&, Pixel&) {},
        [&](const Pixel& p, const Pixel& q) {
            return lerpPixelRgb3(p, q, srcR_.at(t), srcG_.at(t), srcB_.at(t));
        },
        [&](const Pixel& q, const Pixel& p) {
            return lerpPixelRgb3(q, p, destR_.at(t), destG_.at(t), destB_.at(t));
        });
}
