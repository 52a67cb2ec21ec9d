#include "engine/fields/ScalarFields.h"

#include "foundation/Angles.h"

#include <cfloat>
#include <cmath>

namespace {

// Far-away positions must not turn into infinities (or NaN) that would end
// up in a stroke's direction.
inline float finiteFloat(double v)
{
    if (v != v)
        return 0.0f;
    if (v > FLT_MAX)
        return FLT_MAX;
    if (v < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(v);
}

inline int pixelByte(const Pixel& p, int channel)
{
    switch (channel) {
    case 0: return p.r;
    case 1: return p.g;
    case 2: return p.b;
    default: return p.a;
    }
}

// --- channel pairs of one pixel sample --------------------------------------

template <int A, int B>
float channelDifference(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return pixelByte(p, A) * kChannelScale - pixelByte(p, B) * kChannelScale;
}

template <int A, int B>
float channelSum(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return (pixelByte(p, A) + pixelByte(p, B)) * kChannelScale;
}

// --- ring and contour searches ------------------------------------------------

template <ScalarFieldFunction Measure, const Ring8* Ring, bool Highest>
float ring8(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return ringSearch8With(image, x, y, SampledMeasure<Measure>::make(image), Ring->dx, Ring->dy,
                           Highest);
}

template <ScalarFieldFunction Measure, bool Highest>
float ring16(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return ringSearch16With(image, x, y, SampledMeasure<Measure>::make(image), Highest);
}

template <ScalarFieldFunction Measure>
float contour16(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return contourSearch16With(image, x, y, SampledMeasure<Measure>::make(image), kRing16.dx,
                               kRing16.dy);
}

float contour16BrightAddGreen(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return contour16<fieldBright>(image, x, y) + channelSample(image, x, y, 1);
}

float contour16RedAddSat(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return contour16<fieldRed>(image, x, y) + pixelSaturation(pixelSample(image, x, y));
}

float contour16GreenAddRedHalf(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return contour16<fieldGreen>(image, x, y) + 0.5f * channelSample(image, x, y, 0);
}

const auto uphillRed = ring8<fieldRed, &kRing1, true>;

// --- colour mixes ---------------------------------------------------------------
// The names of several of these rows do not say what they compute (a hue
// where the id says saturation, differences where it says products); stored
// presets rely on the values, so they stay as they are.

float hueSubUphillRed(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return pixelHue(pixelSample(image, x, y)) - uphillRed(image, x, y);
}

float satSubAlpha(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return pixelHue(p) - p.a * kChannelScale;
}

float brightSubInvSat(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return pixelValue(p) - pixelSaturation(p);
}

float brightMulUphillRed(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return pixelValue(pixelSample(image, x, y)) * uphillRed(image, x, y);
}

float brightMulSat(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return pixelValue(p) * pixelSaturation(p);
}

float brightMulHue(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return pixelValue(p) - pixelHue(p);
}

float satMulHue(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return pixelSaturation(p) - pixelHue(p);
}

float satSubRed(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return pixelSaturation(pixelSample(image, x, y)) - channelSample(image, x, y, 0);
}

float brightSubBlue(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return pixelValue(pixelSample(image, x, y)) - channelSample(image, x, y, 2);
}

float brightAddGreen(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return pixelValue(pixelSample(image, x, y)) + channelSample(image, x, y, 1);
}

float brightAddSat(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return pixelValue(p) + pixelSaturation(p);
}

float brightAddHue(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return pixelValue(p) + pixelHue(p);
}

// --- position and centre rows ---------------------------------------------------

inline double imageWidth(const Image& image)
{
    return static_cast<double>(static_cast<unsigned>(image.width()));
}

inline double imageHeight(const Image& image)
{
    return static_cast<double>(static_cast<unsigned>(image.height()));
}

float positionX(const Image& image, float x, float)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return finiteFloat(x / imageWidth(image));
}

float positionY(const Image& image, float, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return finiteFloat(y / imageHeight(image));
}

float positionXAddY(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return finiteFloat(x / imageWidth(image) + y / imageHeight(image));
}

float positionXMulY(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return finiteFloat((x / imageWidth(image)) * (y / imageHeight(image)));
}

float redAddX(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return finiteFloat(x / imageWidth(image) + channelSample(image, x, y, 0));
}

float greenMulY(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return finiteFloat((y / imageHeight(image)) * channelSample(image, x, y, 1));
}

// Direction from the point toward the image centre, in turns: 0 down,
// 0.25 right, 0.5 up, -0.25 left.
inline double rayToCentre(const Image& image, float x, float y)
{
    const double a = imageWidth(image) / 2 - x;
    const double b = imageHeight(image) / 2 - y;
    return std::atan2(a, b) * kInvTwoPi;
}

inline double distanceToCentre(const Image& image, float x, float y)
{
    const double w = imageWidth(image);
    const double h = imageHeight(image);
    const double a = (w / 2 - x) / w;
    const double b = (h / 2 - y) / h;
    return std::sqrt(a * a + b * b);
}

float centerRay(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return finiteFloat(rayToCentre(image, x, y));
}

float centerRayAddBlue(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return finiteFloat(rayToCentre(image, x, y) + channelSample(image, x, y, 2));
}

float centerDist(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return finiteFloat(distanceToCentre(image, x, y));
}

float centerRayAddDist(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return finiteFloat(distanceToCentre(image, x, y) + rayToCentre(image, x, y));
}

// --- cyclic rows: a pattern of period P pixels, ignoring the image's content ----

template <int Period>
inline double cycleScale()
{
    return kTwoPi * (1.0 / Period);
}

template <int Period>
float cycAdd(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const double k = cycleScale<Period>();
    return finiteFloat(std::sin(k * x) + std::cos(k * y));
}

template <int Period>
float cycMul(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const double k = cycleScale<Period>();
    return finiteFloat(std::sin(k * x) * std::cos(k * y));
}

template <int Period>
float cycMax(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const double k = cycleScale<Period>();
    const double s = std::sin(k * x);
    const float c = static_cast<float>(std::cos(k * y));
    // Ties (and unordered values) give the cosine.
    return finiteFloat(s > c ? s : c);
}

struct ScalarFieldRow {
    const char* id;
    ScalarFieldFunction function;
    const char* displayName;
};

const ScalarFieldRow kScalarFieldRows[] = {
    {"one", fieldOne, "one"},
    {"hue", fieldHue, "hue"},
    {"sat", fieldSat, "saturation"},
    {"bright", fieldBright, "brightness"},
    {"red", fieldRed, "red"},
    {"green", fieldGreen, "green"},
    {"blue", fieldBlue, "blue"},
    {"alpha", fieldAlpha, "alpha"},
    {"mid_red", fieldMidRed, "mid red"},
    {"mid_green", fieldMidGreen, "mid green"},
    {"red_sub_blue", fieldRedSubBlue, "red-blue"},
    {"green_sub_red", fieldGreenSubRed, "green-red"},
    {"blue_sub_green", fieldBlueSubGreen, "blue-green"},
    {"green_sub_alpha", channelDifference<1, 3>, "green-alpha"},
    {"red_add_blue", channelSum<0, 2>, "red+blue"},
    {"green_add_red", channelSum<1, 0>, "green+red"},
    {"blue_add_green", channelSum<2, 1>, "blue+green"},
    {"uphill_red", ring8<fieldRed, &kRing1, true>, "uphill red"},
    {"uphill_green", ring8<fieldGreen, &kRing1, true>, "uphill green"},
    {"uphill_blue", ring8<fieldBlue, &kRing1, true>, "uphill blue"},
    {"uphill_bright", ring8<fieldBright, &kRing1, true>, "uphill bright"},
    {"uphill_alpha", ring8<fieldAlpha, &kRing1, true>, "alpha uphill"},
    {"uphill_mid_red", ring8<fieldMidRed, &kRing1, true>, "uphill mid red"},
    {"uphill_mid_green", ring8<fieldMidGreen, &kRing1, true>, "uphill mid green"},
    {"uphill_green_sub_red", ring8<fieldGreenSubRed, &kRing1, true>, "uphill green-red"},
    {"uphill_red_sub_blue", ring8<fieldRedSubBlue, &kRing1, true>, "uphill red-blue"},
    {"uphill_blue_sub_green", ring8<fieldBlueSubGreen, &kRing1, true>, "uphill blue-green"},
    {"uphill2_red", ring8<fieldRed, &kRing2, true>, "uphill2 red"},
    {"uphill2_green", ring8<fieldGreen, &kRing2, true>, "uphill2 green"},
    {"uphill2_blue", ring8<fieldBlue, &kRing2, true>, "uphill2 blue"},
    {"uphill2_bright", ring8<fieldBright, &kRing2, true>, "uphill2 bright"},
    {"uphill3_red", ring8<fieldRed, &kRing3, true>, "uphill3 red"},
    {"uphill3_green", ring8<fieldGreen, &kRing3, true>, "uphill3 green"},
    {"uphill3_blue", ring8<fieldBlue, &kRing3, true>, "uphill3 blue"},
    {"uphill3_bright", ring8<fieldBright, &kRing3, true>, "uphill3 bright"},
    {"uphill3_sat", ring8<fieldSat, &kRing3, true>, "uphill3 sat"},
    {"uphill4_red", ring8<fieldRed, &kRing4, true>, "uphill4 red"},
    {"uphill4_green", ring8<fieldGreen, &kRing4, true>, "uphill4 green"},
    {"uphill4_blue", ring8<fieldBlue, &kRing4, true>, "uphill4 blue"},
    {"uphill4_bright", ring8<fieldBright, &kRing4, true>, "uphill4 bright"},
    {"uphill4_sat", ring8<fieldSat, &kRing4, true>, "uphill4 sat"},
    {"downhill_red", ring8<fieldRed, &kRing1, false>, "downhill red"},
    {"downhill_green", ring8<fieldGreen, &kRing1, false>, "downhill green"},
    {"downhill_blue", ring8<fieldBlue, &kRing1, false>, "downhill blue"},
    {"downhill_bright", ring8<fieldBright, &kRing1, false>, "downhill bright"},
    {"downhill2_red", ring8<fieldRed, &kRing2, false>, "downhill2 red"},
    {"downhill2_green", ring8<fieldGreen, &kRing2, false>, "downhill2 green"},
    {"downhill2_bright", ring8<fieldBright, &kRing2, false>, "downhill2 bright"},
    {"downhill3_bright", ring8<fieldBright, &kRing3, false>, "downhill3 bright"},
    {"downhill4_bright", ring8<fieldBright, &kRing4, false>, "downhill4 bright"},
    {"hue_sub_uphill_red", hueSubUphillRed, "hue-uphill red"},
    {"sat_sub_alpha", satSubAlpha, "sat-alpha"},
    {"bright_sub_inv_sat", brightSubInvSat, "bright-inv sat"},
    {"bright_mul_uphill_red", brightMulUphillRed, "bright*uphill red"},
    {"bright_mul_sat", brightMulSat, "bright*sat"},
    {"bright_mul_hue", brightMulHue, "bright*hue"},
    {"sat_mul_hue", satMulHue, "sat*hue"},
    {"sat_sub_red", satSubRed, "sat-red"},
    {"bright_sub_blue", brightSubBlue, "bright-blue"},
    {"bright_add_green", brightAddGreen, "bright+green"},
    {"bright_add_sat", brightAddSat, "bright+sat"},
    {"bright_add_hue", brightAddHue, "bright+hue"},
    {"uphill16_red", ring16<fieldRed, true>, "uphill 16 red"},
    {"uphill16_green", ring16<fieldGreen, true>, "uphill 16 green"},
    {"uphill16_blue", ring16<fieldBlue, true>, "uphill 16 blue"},
    {"uphill16_bright", ring16<fieldBright, true>, "uphill 16 bright"},
    {"uphill16_sat", ring16<fieldSat, true>, "uphill 16 sat"},
    {"downhill16_red", ring16<fieldRed, false>, "downhill 16 red"},
    {"downhill16_green", ring16<fieldGreen, false>, "downhill 16 green"},
    {"downhill16_blue", ring16<fieldBlue, false>, "downhill 16 blue"},
    {"downhill16_bright", ring16<fieldBright, false>, "downhill 16 bright"},
    {"downhill16_sat", ring16<fieldSat, false>, "downhill 16 sat"},
    {"contour16_red", contour16<fieldRed>, "contour 16 red"},
    {"contour16_green", contour16<fieldGreen>, "contour 16 green"},
    {"contour16_blue", contour16<fieldBlue>, "contour 16 blue"},
    {"contour16_bright", contour16<fieldBright>, "contour 16 bright"},
    {"contour16_sat", contour16<fieldSat>, "contour 16 sat"},
    {"contour16_bright_add_green", contour16BrightAddGreen, "countour16br+green"},
    {"contour16_red_add_sat", contour16RedAddSat, "contour16r+sat"},
    {"contour16_green_add_redhalf", contour16GreenAddRedHalf, "contour16g+red/2"},
    {"x", positionX, "x"},
    {"y", positionY, "y"},
    {"x+y", positionXAddY, "x+y"},
    {"x*y", positionXMulY, "x*y"},
    {"red+x", redAddX, "red+x"},
    {"green*y", greenMulY, "green*y"},
    {"uphillgreen+x-y", ring16<fieldGreen, true>, "uphillgreen+x-y"},
    {"center_ray", centerRay, "center ray"},
    {"center_ray+blue", centerRayAddBlue, "center ray+blue"},
    {"center_dist", centerDist, "center distance"},
    {"center_ray+dist", centerRayAddDist, "center ray+distance"},
    {"cycadd_100", cycAdd<100>, "cycadd 100"},
    {"cycmul_100", cycMul<100>, "cycmul 100"},
    {"cycmax_100", cycMax<100>, "cycmax 100"},
    {"cycadd_200", cycAdd<200>, "cycadd 200"},
    {"cycmul_200", cycMul<200>, "cycmul 200"},
    {"cycmax_200", cycMax<200>, "cycmax 200"},
    {"cycadd_400", cycAdd<400>, "cycadd 400"},
    {"cycmul_400", cycMul<400>, "cycmul 400"},
    {"cycmax_400", cycMax<400>, "cycmax 400"},
    {"cycadd_800", cycAdd<800>, "cycadd 800"},
    {"cycmul_800", cycMul<800>, "cycmul 800"},
    {"cycmax_800", cycMax<800>, "cycmax 800"},
};

static_assert(sizeof(kScalarFieldRows) / sizeof(kScalarFieldRows[0]) == kScalarFieldCount,
              "scalar field rows");

} // namespace

ScalarFieldCatalog::ScalarFieldCatalog()
{
    for (const ScalarFieldRow& row : kScalarFieldRows)
        add(row.id, row.function, row.displayName);
}

ScalarFieldCatalog::~ScalarFieldCatalog() = default;

ScalarFieldCatalog scalarFields;

ScalarFieldFunction defaultScalarField()
{
    return fieldOne;
}
