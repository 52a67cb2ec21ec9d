#include "engine/tips/BrushTip.h"

#include <algorithm>


#include "engine/RowPrefetcher.h"
#include "engine/tips/BrushTipShape.h"
#include "engine/tips/ColorRows.h"
#include "engine/tips/PolygonTipShape.h"
#include "foundation/Numeric.h"
#include "foundation/Rect.h"
#include "foundation/Vec2.h"
#include "image/BlendKernels.h"
#include "image/BlendModes.h"
#include "image/Image.h"

BrushTip::BrushTip()
    : mass(1.0), blendKernel(defaultBlendKernel()),
      compositeKernel(defaultCompositeKernel()), spacing_(1.0f), fixedAlpha_(255),
      identityTone_(true)
{
    for (int i = 0; i < 256; ++i) {
        brightness[0][i] = brightness[1][i] = brightness[2][i] = static_cast<uint8_t>(i);
        brightness[3][i] = 255;
    }
}

BrushTip::~BrushTip()
{
}

float BrushTip::width() const
{
    return static_cast<float>(mask.width());
}

float BrushTip::height() const
{
    return static_cast<float>(mask.height());
}

void BrushTip::centre(Vec2& out) const
{
    out = Vec2(width() / 2.0f, height() / 2.0f);
}

float BrushTip::spacing() const
{
    return spacing_;
}

void BrushTip::build(bool radial, float radius, float height, float angle, float shape,
                     bool clip, int sides, float noise, ResponseCurve curve,
                     TipHeightFunction heightFunction, TipNoiseFunction noiseFunction)
{
    if (radial) {
        const BrushTipShape builder(height, shape, noise, clip, curve, heightFunction,
                                    noiseFunction);
        spacing_ = builder.generate(mask, radius);
    } else {
        const PolygonTipShape builder(height, shape, noise, clip, curve, radius, angle, sides,
                                      heightFunction, noiseFunction);
        spacing_ = builder.generate(mask);
    }
    mass = static_cast<double>(mask.sum()) / 255.0;
}

void BrushTip::setBrightness(float b)
{
    for (int i = 0; i < 256; ++i) {
        const uint8_t v = static_cast<uint8_t>(clampInt(roundToInt(i * static_cast<double>(b)), 0, 255));
        brightness[0][i] = brightness[1][i] = brightness[2][i] = v;
        brightness[3][i] = 255;
    }
    brightnessChanged();
}

bool BrushTip::uniformColor(Pixel&) const
{
    return false;
}

void BrushTip::brightnessChanged()
{
    fixedAlpha_ = brightness[3][0];
    for (int i = 1; i < 256; ++i) {
        if (brightness[3][i] != brightness[3][0])
            fixedAlpha_ = -1;
    }
    identityTone_ = true;
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i < 256; ++i)
            if (brightness[row][i] != i)
                identityTone_ = false;
}

struct BrushTip::ColorCells {
    const BrushTip& tip;
    Image& image;
    const Point& centre;
    template <bool DefaultBlend, bool Bgr, bool Identity>
    void cells()
    {
        tip.stampColorCells<DefaultBlend, Bgr, Identity>(image, centre);
    }
};

void BrushTip::stampColor(Image& image, const Point& centre) const
{
    if (image.isEmpty())
        return;
    ColorCells owner{*this, image, centre};
    dispatchCells(owner, image.pixelLayout().isBgr());
}

template <bool DefaultBlend, bool Bgr, bool Identity>
void BrushTip::stampColorCells(Image& image, const Point& centre) const
{
    const int w = mask.width();
    const int h = mask.height();
    if (w <= 0 || h <= 0 || image.isEmpty())
        return;
    const int iw = image.width();
    const int ih = image.height();
    // 64-bit so that a centre near the int limits cannot wrap onto the image.
    const long long top = static_cast<long long>(centre.y) - (h >> 1);
    const long long left = static_cast<long long>(centre.x) - (w >> 1);
    // The columns that land on the image.
    const int jBegin = left < 0 ? static_cast<int>(std::min<long long>(-left, w)) : 0;
    const int jEnd = static_cast<int>(std::max<long long>(std::min<long long>(iw - left, w), 0));
    const int alpha = fixedAlpha();
    const PixelLayout layout = image.pixelLayout();
    // dispatchCells chose Bgr by isBgr(): told so, the compiler makes the row
    // set-up below constant and keeps the uniform test out of the cell loop.
    if (Bgr && !layout.isBgr())
        __builtin_unreachable();
    Pixel c;
    const bool uniform = uniformColor(c);
    // One colour, the default blend and no brightness change: whole rows
    // at a time.
    const ColorRow colorRow(layout, c, alpha);
    const bool byRows = DefaultBlend && Identity && uniform && colorRow.served();
    const long long x0 = left + jBegin, x1 = left + jEnd - 1;
    const bool onImage = jBegin < jEnd;
    const RowPrefetcher::StampRows rows = RowPrefetcher::StampRows::color(image, x0, x1, top, h);
    for (int k = 0; k < h; ++k) {
        rows.before(k);
        const long long y = top + k;
        if (y < 0 || y >= ih)
            continue;
        const uint8_t* m = mask.bytes() + static_cast<size_t>(w) * k;
        const int iy = static_cast<int>(y);
        uint8_t* row = image.row(iy);
        if (byRows) {
            if (onImage)
                colorRow.blend(layout.atAs<Bgr>(row, static_cast<int>(x0)), m + jBegin,
                               jEnd - jBegin);
            continue;
        }
        for (int j = jBegin; j < jEnd; ++j) {
            const uint8_t weight = m[j];
            if (weight == 0)
                continue;
            const int x = static_cast<int>(left + j);
            uint8_t* p = layout.atAs<Bgr>(row, x);
            const Pixel d = layout.loadAs<Bgr>(p);
            if (!uniform)
                colorAt(c, h - 1 - k, w - 1 - j);
            layout.storeAs<Bgr>(p, blendCell<DefaultBlend, Identity>(c, weight, d, alpha));
        }
    }
}
