#include "engine/brushes/SwapPointBrush.h"

#include "engine/ParamDescriptor.h"
#include "foundation/Numeric.h"
#include "foundation/Vec2.h"

namespace {

const ParamDescriptor kTable[] = {
    {3, 1, 125, 50, 2, "s->d Intensity ", "pushintensity", 0, {}, 20, 80, 80,
     "Copy pixel from source to destination in this amount,\n higher value is more"},
    {3, -40, 40, 0, 1, "s->d Lighten ", "pushlighten", 0, {}, -12, 12, 90,
     "Lighten destination pixel value in this amount,\n higher value is lighter"},
    {3, -100, 100, 0, 2, "s->d Bias ", "pushbias", 0, {}, -20, 20, 90,
     "'Tips' the destination pixel output,\n resulting in more noisy contrasting output"},
    {3, -50, 150, 0, 2, "s->d Color Sticky ", "pushstickycolor", 0, {}, 0, 0, 0,
     "amount the current source color sticks\n to the original source color"},
    {3, 1, 125, 50, 2, "d->s Intensity ", "pullintensity", 0, {}, 20, 80, 80,
     "Copy pixel from destination to source in this amount,\n higher value is more"},
    {3, -40, 40, 0, 1, "d->s Lighten ", "pulllighten", 0, {}, -12, 12, 90,
     "Lighten source pixel value in this amount,\n higher value is lighter"},
    {3, -100, 100, 0, 2, "d->s Bias ", "pullbias", 0, {}, -20, 20, 90,
     "'Tips' the source pixel output,\n resulting in more noisy/contrasting output"},
    {3, -50, 150, 0, 2, "d->s Color Sticky ", "pullstickycolor", 0, {}, 0, 0, 0,
     "amount the current destination color sticks\n to the original destination color"},
    {2, 0, 0, 0, 0, "Paint If", "limit", 5, &paintIfPredicates, 0, 0, 0,
     "paint logic, selects which brush point applications are painted"},
    {0, 0, 0, 0, 0, "", "", 0, {}, 0, 0, 0, ""},
};

// Both halves add their 0.5 and are truncated on their own, and the lighten
// term enters both: one dab lightens by about twice its value.
uint8_t swapChannel(int own, int other, float intensity, float bias, float lighten)
{
    const int a = truncToInt((1.0f - intensity) * own + bias * (127 - own) + lighten + 0.5f);
    const int b = truncToInt(bias * (other - 127) + intensity * other + lighten + 0.5f);
    const long long sum = static_cast<long long>(a) + b;
    return static_cast<uint8_t>(sum < 0 ? 0 : (sum > 255 ? 255 : sum));
}

Pixel swapPixel(const Pixel& own, const Pixel& other, float intensity, float bias, float lighten)
{
    Pixel out = own;
    out.b = swapChannel(own.b, other.b, intensity, bias, lighten);
    out.g = swapChannel(own.g, other.g, intensity, bias, lighten);
    out.r = swapChannel(own.r, other.r, intensity, bias, lighten);
    return out;
}

} // namespace

SwapPointBrush::SwapPointBrush()
    : PointBrush(kTable, "_SwapPoint", "Swap Point (original)"), limit_(defaultPaintIf())
{
}

SwapPointBrush::~SwapPointBrush()
{
}

void SwapPointBrush::prepare(int)
{
    pushIntensity_ = valuePair("pushintensity");
    pushLighten_ = valuePair("pushlighten");
    pushBias_ = valuePair("pushbias");
    pushSticky_ = valuePair("pushstickycolor");
    pullIntensity_ = valuePair("pullintensity");
    pullLighten_ = valuePair("pulllighten");
    pullBias_ = valuePair("pullbias");
    pullSticky_ = valuePair("pullstickycolor");
    limit_ = choice<PaintIfPredicate>("limit", defaultPaintIf());
}

bool SwapPointBrush::dab(const Vec2& position, const Vec2& direction, float t)
{
    if (!paintTarget())
        return false;
    DabPixels d;
    locate(position, direction, d);
    // A dab that takes and paints the same pixel does nothing, not even
    // capture sticky colours.
    if (d.x1 == d.x0 && d.y1 == d.y0)
        return true;
    readPixels(d);
    captureSticky(d, t);
    mixSticky(d.p, stickyP, pushSticky_.at(t));
    mixSticky(d.q, stickyQ, pullSticky_.at(t));
    if (!limit_(&d.p, &d.q))
        return false;
    const Pixel newP = swapPixel(d.p, d.q, pushIntensity_.at(t), pushBias_.at(t), pushLighten_.at(t));
    const Pixel newQ = swapPixel(d.q, d.p, pullIntensity_.at(t), pullBias_.at(t), pullLighten_.at(t));
    writeTarget(d.x1, d.y1, newQ);
    writeTarget(d.x0, d.y0, newP);
    return true;
}
