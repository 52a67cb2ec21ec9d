#include "engine/brushes/ImageCopyBrush.h"

#include <cstdlib>

#include "engine/Canvas.h"
#include "engine/ParamDescriptor.h"
#include "engine/brushes/BrushRows.h"
#include "engine/ResponseCurves.h"
#include "engine/tips/ImageCopyTip.h"
#include "foundation/Numeric.h"
#include "foundation/Vec2.h"
#include "image/BlendModes.h"
#include "image/CompositeModes.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kRadius, kHeight, kHeightTransform, kRotation, kSides, kShape, kBlendMode, kAlphaMode, kLimit,
    kBrightness, kNoise, kReverse, kShapeBuilder, kRowCount
};

const ParamDescriptor kTable[] = {
    {3, 5, 200, 25, 1, "Radius ", "radius", 0, {}, 0, 0, 0, "Brush radius"},
    {3, 4, 300, 100, 2, "Height ", "height", 0, {}, 4, 125, 75,
     "Brush height\n higher value -> sharper edged brush"},
    kHeightTransformRow,
    {2, -720, 720, 0, 0, "Rotation ", "rotation", 1, {}, 1, 2, 40,
     "Brush rotation through the stroke"},
    kSidesRow,
    {2, -10, 200, 0, 2, "Shape ", "shape", 0, {}, 0, 50, 60, "amount of brush shape"},
    kBlendModeRow,
    kAlphaModeRow,
    {2, 0, 0, 0, 0, "Paint If ", "limit", 5, &paintIfPredicates, 0, 0, 0,
     "paint logic, selects which brush point applications are painted"},
    kBrightnessRow,
    kNoiseRow,
    {1, 0, 1, 0, 0, "Reverse ", "swap", 0, {}, 0, 0, 0, "swap source/destination pixel positions"},
    {1, 0, 1, 1, 0, "Builder 1 ", "shapebuilder", 0, {}, 0, 0, 0, "use second shape builder"},
    {0, 0, 0, 0, 0, "", "", 0, {}, 0, 0, 0, ""},
};
static_assert(sizeof kTable / sizeof kTable[0] == kRowCount + 1, "a name for every row");

// Rows of the next stroke's start asked for with each dab: each is on a page
// of its own, and a burst of them stalled the dab on their page walks.
constexpr int kPendingRowsPerDab = 2;

} // namespace

ImageCopyBrush::ImageCopyBrush()
    : ShapedBrush(kTable,
                  {kRadius, kHeight, kHeightTransform, kRotation, kSides, kShape, kNoise,
                   kShapeBuilder},
                  "_ImageCopyBrush", "Image Copy Brush"),
      reverse(false),
      limit_(defaultPaintIf()), pending_{0, 0, 1, 0}
{
}

ImageCopyBrush::~ImageCopyBrush()
{
}

BrushTip* ImageCopyBrush::createTip() const
{
    return new ImageCopyTip();
}

void ImageCopyBrush::prepare(int steps)
{
    ShapedBrush::prepare(steps);
    reverse = isChecked(kReverse);
    steps_ = steps;
    pending_ = {0, 0, 1, 0};
    const CompositeKernel alpha = choice<CompositeKernel>(kAlphaMode, defaultCompositeKernel());
    const BlendKernel blend = choice<BlendKernel>(kBlendMode, defaultBlendKernel());
    limit_ = choice<PaintIfPredicate>(kLimit, defaultPaintIf());
    const ValuePair brightness = realPair(kBrightness);
    Image* target = canvas ? canvas->target : nullptr;
    configureTips(blend, alpha, brightness);
    for (int i = 0; i < count_; ++i) {
        ImageCopyTip* tip = static_cast<ImageCopyTip*>(tips_[i]);
        tip->source = target;
        tip->rowsFetchedAhead = true;
    }
}

bool ImageCopyBrush::prefetchStart(const Vec2& position)
{
    const Image* target = paintTarget();
    // Rows a short stroke left unasked are for the stroke about to start.
    if (target)
        fetchPending(*target, pending_.bottom - pending_.top + 1);
    pending_ = {0, 0, 1, 0};
    if (count_ == 0 || !target || !target->outgrowsCache() || !position.within(1.0e6f)) {
        prefetchAround(position);
        return false;
    }
    // The first dab copies around the start and around a point about a step
    // away in a heading the stroke has yet to pick: the rows around both.
    const long long margin = static_cast<long long>(spacingScale()) + 2;
    const long long hw = tips_[0]->mask.width() / 2 + margin;
    const long long hh = tips_[0]->mask.height() / 2 + margin;
    const long long x = static_cast<long long>(roundToInt(position.x)) + pixelOffset.x;
    const long long y = static_cast<long long>(roundToInt(position.y)) + pixelOffset.y;
    pending_ = {x - hw, x + hw, y - hh, y + hh};
    return true;
}

void ImageCopyBrush::fetchPending(const Image& target, long long rows)
{
    for (; rows > 0 && pending_.top <= pending_.bottom; --rows)
        target.prefetchPixels(pending_.left, pending_.right, pending_.top++);
}

bool ImageCopyBrush::dab(const Vec2& position, const Vec2& direction, float t)
{
    Image* target = paintTarget();
    if (count_ == 0 || !target)
        return false;
    Point p, q;
    dabEnds(position, direction, p, q);
    const DabEnds last = lastEnds_;
    // No fetch of the ends some dabs on: the stroke fetches down its path,
    // and more page walks per dab here cost more than they saved.
    lastEnds_ = {p.x, p.y, q.x, q.y, t};
    const int index = truncToInt(static_cast<double>(count_ - 1) * t);
    const ImageCopyTip* tip =
        index >= 0 && index < count_ ? static_cast<const ImageCopyTip*>(tips_[index]) : nullptr;
    // Each patch row lies on its own page of a large picture. Within a
    // stroke both ends move on by about their last step: ask now for what the
    // next dab's patches add, so its misses overlap this dab's work. Each is
    // measured against the nearer of this dab's patches: along a straight
    // stroke one end often steps onto where the other was. A
    // stroke's first dab has no step to go by: all its rows are asked for
    // at once rather than a few ahead of its row loop.
    if (tip && target->outgrowsCache()) {
        // The longest stroke's last dab has no next one to fetch for.
        const bool more = static_cast<float>(steps_) * t < static_cast<float>(steps_) - 1.5f;
        if (t > last.t && more) {
            const auto onward = [](int now, int before) {
                return saturateToInt(2 * static_cast<long long>(now) - before);
            };
            const Point nextP(onward(p.x, last.px), onward(p.y, last.py));
            const Point nextQ(onward(q.x, last.qx), onward(q.y, last.qy));
            const auto nearer = [&](const Point& to) -> const Point& {
                const auto apart = [&](const Point& a) {
                    return std::llabs(static_cast<long long>(a.x) - to.x) +
                           std::llabs(static_cast<long long>(a.y) - to.y);
                };
                return apart(p) <= apart(q) ? p : q;
            };
            tip->prefetchAhead(*target, nearer(nextP), nextP);
            tip->prefetchAhead(*target, nearer(nextQ), nextQ);
        } else if (!(t > last.t)) {
            tip->prefetchPatch(*target, p);
            tip->prefetchPatch(*target, q);
        }
        fetchPending(*target, kPendingRowsPerDab);
    }
    const Pixel atQ = readClamped(*target, q.x, q.y);
    const Pixel atP = readClamped(*target, p.x, p.y);
    if (!limit_(&atP, &atQ))
        return false;
    if (!tip)
        return false;
    if (reverse)
        tip->stamp(*target, p, q);
    else
        tip->stamp(*target, q, p);
    return true;
}
