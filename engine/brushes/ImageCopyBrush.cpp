#include "engine/brushes/ImageCopyBrush.h"

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
    rangeRow("Radius ", "radius").spans(5, 200).startsAt(25).tenths().describedAs("Brush radius"),
    rangeRow("Height ", "height").spans(4, 300).startsAt(100).hundredths().randomIn(4, 125, 75)
        .describedAs("Brush height\n higher value -> sharper edged brush"),
    kHeightTransformRow,
    singleRow("Rotation ", "rotation").spans(-720, 720).inDegrees().randomIn(1, 2, 40)
        .describedAs("Brush rotation through the stroke"),
    kSidesRow,
    singleRow("Shape ", "shape").spans(-10, 200).hundredths().randomIn(0, 50, 60)
        .describedAs("amount of brush shape"),
    kBlendModeRow,
    kAlphaModeRow,
    paintIfRow("Paint If "),
    kBrightnessRow,
    kNoiseRow,
    checkBoxRow("Reverse ", "swap").describedAs("swap source/destination pixel positions"),
    checkBoxRow("Builder 1 ", "shapebuilder").startsAt(1).describedAs("use second shape builder"),
    kEndRow,
};
static_assert(sizeof kTable / sizeof kTable[0] == kRowCount + 1, "a name for every row");

} // namespace

ImageCopyBrush::ImageCopyBrush()
    : ShapedBrush(kTable,
                  {kRadius, kHeight, kHeightTransform, kRotation, kSides, kShape, kNoise,
                   kShapeBuilder},
                  "_ImageCopyBrush", "Image Copy Brush"),
      reverse(false),
      limit_(defaultPaintIf())
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
    const CompositeKernel alpha = choice<CompositeKernel>(kAlphaMode, defaultCompositeKernel());
    const BlendKernel blend = choice<BlendKernel>(kBlendMode, defaultBlendKernel());
    limit_ = choice<PaintIfPredicate>(kLimit, defaultPaintIf());
    const ValuePair brightness = realPair(kBrightness);
    Image* target = canvas ? canvas->target : nullptr;
    configureTips(blend, alpha, brightness);
    for (int i = 0; i < count_; ++i) {
        ImageCopyTip* tip = static_cast<ImageCopyTip*>(tips_[i]);
        tip->source = target;
    }
    if (count_ > 0) {
        // The first dab copies around the start and around a point about a
        // step away: the patch and a step's margin.
        const long long margin = static_cast<long long>(spacingScale()) + 2;
        prefetcher().copiesPatches(tips_[0]->mask.width() / 2 + margin,
                                   tips_[0]->mask.height() / 2 + margin, steps);
    }
}

bool ImageCopyBrush::dab(const Vec2& position, const Vec2& direction, float t)
{
    Image* target = paintTarget();
    if (count_ == 0 || !target)
        return false;
    Point p, q;
    dabEnds(position, direction, p, q);
    const int index = truncToInt(static_cast<double>(count_ - 1) * t);
    const ImageCopyTip* tip =
        index >= 0 && index < count_ ? static_cast<const ImageCopyTip*>(tips_[index]) : nullptr;
    prefetcher().copyDab(tip ? tip->mask.width() : 0, tip ? tip->mask.height() : 0, p, q, t);
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
