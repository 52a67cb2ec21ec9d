#include "engine/brushes/SwapPointBrush.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include "engine/ParamDescriptor.h"
#include "engine/brushes/BrushRows.h"
#include "engine/brushes/DabRounding.h"
#include "foundation/Numeric.h"
#include "foundation/Vec2.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kPushIntensity, kPushLighten, kPushBias, kPushSticky, kPullIntensity, kPullLighten, kPullBias,
    kPullSticky, kLimit, kRowCount
};

const ParamDescriptor kTable[] = {
    rangeRow("s->d Intensity ", "pushintensity").spans(1, 125).startsAt(50).hundredths()
        .randomIn(20, 80, 80)
        .describedAs("Copy pixel from source to destination in this amount,\n"
                     " higher value is more"),
    rangeRow("s->d Lighten ", "pushlighten").spans(-40, 40).tenths().randomIn(-12, 12, 90)
        .describedAs("Lighten destination pixel value in this amount,\n higher value is lighter"),
    rangeRow("s->d Bias ", "pushbias").spans(-100, 100).hundredths().randomIn(-20, 20, 90)
        .describedAs("'Tips' the destination pixel output,\n"
                     " resulting in more noisy contrasting output"),
    kPushStickyRow,
    rangeRow("d->s Intensity ", "pullintensity").spans(1, 125).startsAt(50).hundredths()
        .randomIn(20, 80, 80)
        .describedAs("Copy pixel from destination to source in this amount,\n"
                     " higher value is more"),
    rangeRow("d->s Lighten ", "pulllighten").spans(-40, 40).tenths().randomIn(-12, 12, 90)
        .describedAs("Lighten source pixel value in this amount,\n higher value is lighter"),
    rangeRow("d->s Bias ", "pullbias").spans(-100, 100).hundredths().randomIn(-20, 20, 90)
        .describedAs("'Tips' the source pixel output,\n"
                     " resulting in more noisy/contrasting output"),
    kPullStickyRow,
    paintIfRow("Paint If"),
    kEndRow,
};
static_assert(sizeof kTable / sizeof kTable[0] == kRowCount + 1, "a name for every row");

const int kSwapTableSlots = 64;

uint32_t floatBits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

// Generation 0 marks a StepMix never filled, so the count skips it.
void nextGeneration(uint32_t& generation)
{
    generation = generation == UINT32_MAX ? 1 : generation + 1;
}

// |v| < 2^28.
inline bool belowTwoTo28(int v)
{
    return uint32_t(v) + (1u << 28) < (1u << 29);
}

} // namespace

// Both halves add their 0.5 and are truncated on their own, and the lighten
// term enters both: one dab lightens by about twice its value.
const SwapPointBrush::SwapTable& SwapPointBrush::swapTable(std::vector<SwapTable>& tables,
                                                           uint32_t& generation, float intensity,
                                                           float bias, float lighten)
{
    if (tables.empty())
        tables.resize(kSwapTableSlots);
    const uint32_t key[3] = {floatBits(intensity), floatBits(bias), floatBits(lighten)};
    const uint32_t hash = (key[0] * 2654435761u) ^ (key[1] * 40503u) ^ (key[2] * 97u);
    SwapTable& table = tables[(hash ^ (hash >> 16)) % kSwapTableSlots];
    if (table.filled && table.key[0] == key[0] && table.key[1] == key[1] && table.key[2] == key[2])
        return table;
    for (int v = 0; v < 256; ++v) {
        table.own[v] = truncToInt((1.0f - intensity) * v + bias * (127 - v) + lighten + 0.5f);
        table.other[v] = truncToInt(bias * (v - 127) + intensity * v + lighten + 0.5f);
    }
    std::memcpy(table.key, key, sizeof key);
    table.filled = true;
    nextGeneration(generation);
    return table;
}

const SwapPointBrush::StepMix& SwapPointBrush::fillStepMix(StepMix& mix, float t)
{
    mix.pushSticky = pushSticky_.at(t);
    mix.pullSticky = pullSticky_.at(t);
    mix.push = &swapTable(pushTables_, generation_, pushIntensity_.at(t), pushBias_.at(t),
                          pushLighten_.at(t));
    mix.pull = &swapTable(pullTables_, generation_, pullIntensity_.at(t), pullBias_.at(t),
                          pullLighten_.at(t));
    mix.tBits = floatBits(t);
    mix.generation = generation_;
    return mix;
}

Pixel SwapPointBrush::swapPixel(const Pixel& own, const Pixel& other, const SwapTable& table)
{
    // Table entries stay far inside int: no wider sum needed.
    const auto channel = [&table](uint8_t a, uint8_t b) {
        const int sum = table.own[a] + table.other[b];
        return static_cast<uint8_t>(sum < 0 ? 0 : (sum > 255 ? 255 : sum));
    };
    Pixel out = own;
    out.b = channel(own.b, other.b);
    out.g = channel(own.g, other.g);
    out.r = channel(own.r, other.r);
    return out;
}

// Both pixels inside the target: each is addressed once for its read and
// its write, and three-byte B, G, R pixels (what hosts mostly hand in) skip
// the layout's per-channel tests.
template <bool Bgr>
bool SwapPointBrush::swapInside(const PixelLayout& layout, uint8_t* pAt, uint8_t* qAt, float t)
{
    Pixel p = layout.loadAs<Bgr>(pAt);
    Pixel q = layout.loadAs<Bgr>(qAt);
    Pixel newP, newQ;
    if (!mixAndSwap(p, q, t, newP, newQ))
        return false;
    layout.storeAs<Bgr>(qAt, newQ);
    layout.storeAs<Bgr>(pAt, newP);
    return true;
}

SwapPointBrush::SwapPointBrush()
    : PointBrush(kTable, "_SwapPoint", "Swap Point (original)"), limit_(defaultPaintIf())
{
}

SwapPointBrush::~SwapPointBrush()
{
}

void SwapPointBrush::prepare(int)
{
    pushIntensity_ = realPair(kPushIntensity);
    pushLighten_ = realPair(kPushLighten);
    pushBias_ = realPair(kPushBias);
    pushSticky_ = realPair(kPushSticky);
    pullIntensity_ = realPair(kPullIntensity);
    pullLighten_ = realPair(kPullLighten);
    pullBias_ = realPair(kPullBias);
    pullSticky_ = realPair(kPullSticky);
    limit_ = choice<PaintIfPredicate>(kLimit, defaultPaintIf());
    paintsAll_ = limit_ == defaultPaintIf();
    nextGeneration(generation_);
}

bool SwapPointBrush::dab(const Vec2& position, const Vec2& direction, float t)
{
    Image* target = paintTarget();
    if (!target)
        return false;
    DabPixels d;
    int whole[4];
    const bool rounded = roundFourFloats(position.x, position.y, direction.x, direction.y, whole);
    if (!rounded) {
        whole[0] = roundFloat(position.x);
        whole[1] = roundFloat(position.y);
        whole[2] = roundFloat(direction.x);
        whole[3] = roundFloat(direction.y);
    }
    // Coordinates and offset well inside int, the usual case: plain int
    // sums cannot wrap, so no saturating (64-bit) steps.
    const bool small = rounded && belowTwoTo28(whole[0]) && belowTwoTo28(whole[1]) &&
                       belowTwoTo28(whole[2]) && belowTwoTo28(whole[3]) &&
                       belowTwoTo28(pixelOffset.x) && belowTwoTo28(pixelOffset.y);
    d.x0 = whole[0];
    d.y0 = whole[1];
    d.x1 = small ? d.x0 + whole[2] : addSaturated(d.x0, whole[2]);
    d.y1 = small ? d.y0 + whole[3] : addSaturated(d.y0, whole[3]);
    // A dab that takes and paints the same pixel does nothing, not even
    // capture sticky colours.
    if (d.x1 == d.x0 && d.y1 == d.y0)
        return true;
    // Both pixels inside the target, the usual case: each is addressed once
    // for its read and its write. Elsewhere reads clamp and writes drop.
    uint8_t* pAt = nullptr;
    uint8_t* qAt = nullptr;
    if (small) {
        const int px = d.x0 + pixelOffset.x;
        const int py = d.y0 + pixelOffset.y;
        const int qx = d.x1 + pixelOffset.x;
        const int qy = d.y1 + pixelOffset.y;
        const unsigned w = unsigned(target->width());
        const unsigned h = unsigned(target->height());
        if (unsigned(px) < w && unsigned(py) < h && unsigned(qx) < w && unsigned(qy) < h) {
            pAt = target->pixelAddress(px, py);
            qAt = target->pixelAddress(qx, qy);
        }
    }
    if (pAt) {
        const PixelLayout layout = target->pixelLayout();
        return layout.isBgr() ? swapInside<true>(layout, pAt, qAt, t)
                              : swapInside<false>(layout, pAt, qAt, t);
    }
    readPixels(*target, d);
    Pixel newP, newQ;
    if (!mixAndSwap(d.p, d.q, t, newP, newQ))
        return false;
    writeAt(*target, d.x1, d.y1, newQ);
    writeAt(*target, d.x0, d.y0, newP);
    return true;
}
