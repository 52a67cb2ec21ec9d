#include <gtest/gtest.h>

#include <cmath>

#include "foundation/PropertyBag.h"
#include "shell/colour/ColorMatrixOps.h"
#include "shell/colour/ColourFunctions.h"
#include "shell/transforms/PixelFunctionFilter.h"
#include "shell/ShellFilterSupport.h"

using namespace shelltest;

namespace {

PropertyBag bag(std::initializer_list<std::pair<const char*, const char*>> values)
{
    PropertyBag b;
    for (const auto& v : values)
        b.setString(v.first, v.second);
    return b;
}

Pixel through(const PixelFunction& f, const Pixel& p)
{
    OwnedBitmap one(1, 1, 6);
    one.setPixel(0, 0, p);
    return f.pixelAt(one, 3, -2); // positions are clamped into the image
}

} // namespace

TEST(BrightnessContrast, WorkedExamples)
{
    auto identity = makeBrightnessContrast(PropertyBag());
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(identity->red[i], i);
    auto white = makeBrightnessContrast(bag({{"brightness", "1.0"}}));
    EXPECT_EQ(white->green[0], 255);
    auto flat = makeBrightnessContrast(bag({{"contrast", "-1.0"}}));
    EXPECT_EQ(flat->blue[0], 1);
    EXPECT_EQ(flat->blue[255], 1);
    // Centre 0.5 pivots about 129; doubled contrast: ((i - 129) * 512 >> 8) + 129.
    auto pivot = makeBrightnessContrast(bag({{"contrast", "1.0"}, {"contrast_center", "0.5"}}));
    EXPECT_EQ(pivot->red[129], 129);
    EXPECT_EQ(pivot->red[130], 131);
    EXPECT_EQ(pivot->red[100], 71);
    // Per-channel overrides; huge values clamp instead of wrapping.
    auto red = makeBrightnessContrast(bag({{"red.brightness", "-20"}, {"brightness", "1e9"}}));
    EXPECT_EQ(red->red[100], 80);
    EXPECT_EQ(red->green[0], 255);
}

TEST(HueSaturation, WorkedExamples)
{
    auto identity = makeHueSaturation(PropertyBag());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(identity->matrix[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    // Single precision lands 65 exactly on a half: ties to even give 64.
    EXPECT_EQ(through(*identity, Pixel(65, 200, 0, 9)), Pixel(64, 200, 0, 9));

    auto grey = makeHueSaturation(bag({{"saturation", "-1"}}));
    const Pixel g = through(*grey, Pixel(255, 0, 0, 255));
    EXPECT_EQ(g.r, g.g);
    EXPECT_EQ(g.g, g.b);
    EXPECT_NEAR(g.r, 0.3086 * 255, 1.0);

    auto third = makeHueSaturation(bag({{"hue_rotate", "0.33"}}));
    const Pixel green = through(*third, Pixel(255, 0, 0, 7));
    EXPECT_LT(green.r, 20);
    EXPECT_GT(green.g, 235);
    EXPECT_LT(green.b, 20);
    EXPECT_EQ(green.a, 7);
    // Grey stays grey under any hue rotation; lightness offsets first.
    auto turned = makeHueSaturation(bag({{"hue_rotate", "0.2"}}));
    const Pixel mid = through(*turned, Pixel(128, 128, 128, 255));
    EXPECT_NEAR(mid.r, 128, 1);
    EXPECT_NEAR(mid.b, 128, 1);
    auto lighter = makeHueSaturation(bag({{"lightness", "0.5"}}));
    EXPECT_EQ(through(*lighter, Pixel(0, 0, 0, 255)), Pixel(127, 127, 127, 255));
}

TEST(Levels, WorkedExamplesAndClampedRange)
{
    auto identity = makeLevels(bag({{"input_white", "255"}, {"input_gamma", "1"},
                                    {"output_white", "255"}}));
    auto same = makeLevels(bag({{"input_black", "40"}, {"input_white", "40"}}));
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(identity->red[i], i);
        ASSERT_EQ(same->blue[i], i);
    }
    auto stretch = makeLevels(bag({{"input_black", "100"}, {"input_white", "200"},
                                   {"input_gamma", "1"}, {"output_white", "255"}}));
    EXPECT_EQ(stretch->red[0], 0);
    EXPECT_EQ(stretch->red[100], 0);
    EXPECT_EQ(stretch->red[150], 128); // 127.5 to the even neighbour
    EXPECT_EQ(stretch->red[200], 255);
    EXPECT_EQ(stretch->red[255], 255);
    // Fractional gamma below input black (no real power) and output white
    // below output black (inverted): t is clamped, so the ends are exact.
    auto inverted = makeLevels(bag({{"input_black", "50"}, {"input_white", "60"},
                                    {"input_gamma", "0.5"}, {"output_black", "200"},
                                    {"output_white", "20"}}));
    EXPECT_EQ(inverted->red[0], 200);
    EXPECT_EQ(inverted->red[50], 200);
    EXPECT_EQ(inverted->red[60], 20);
    EXPECT_EQ(inverted->red[255], 20);
}

TEST(Sepia, WorkedExamples)
{
    auto none = makeSepia(bag({{"amount", "0"}}));
    const Pixel p(12, 200, 99, 44);
    EXPECT_EQ(through(*none, p), p);
    auto full = makeSepia(bag({{"amount", "1"}}));
    EXPECT_EQ(through(*full, Pixel(127, 127, 127, 255)), Pixel(180, 120, 80, 255));
    EXPECT_EQ(through(*full, Pixel(0, 0, 0, 3)), Pixel(0, 0, 0, 3));
    EXPECT_EQ(through(*full, Pixel(255, 255, 255, 3)), Pixel(255, 255, 255, 3));
}

TEST(ColourOperations, RunAsFiltersByKey)
{
    OwnedBitmap source(5, 4, 4), out;
    fillPattern(source, 4);
    RecordingCallbacks callbacks;
    PixelFunctionFilter invertBright(makeColourFunction("color_brightcontrast",
                                                        bag({{"contrast", "-2"}, {"brightness", "1"}})));
    ASSERT_TRUE(invertBright.prepareDestination(source, out));
    ASSERT_TRUE(invertBright.apply(source, out, callbacks));
    // C = -256, P = 1, B = 256: 258 - v, clamped.
    const uint8_t v = source.pixelAddress(2, 3)[0];
    EXPECT_EQ(out.pixelAddress(2, 3)[0], v <= 3 ? 255 : 258 - v);
    EXPECT_EQ(callbacks.reports, (std::vector<float>{0.5f, 1.0f}));
    EXPECT_EQ(makeColourFunction("color_unknown", PropertyBag()), nullptr);
    PixelFunctionFilter empty(nullptr);
    EXPECT_FALSE(empty.apply(source, out, callbacks));
}

TEST(ColourOperations, RowPathsMatchThePixelFunction)
{
    const PropertyBag settings[] = {
        bag({{"hue_rotate", "0.37"}, {"saturation", "0.8"}, {"lightness", "-0.1"}}),
        bag({{"hue_rotate", "-2.2"}, {"saturation", "-0.5"}}),
        bag({{"saturation", "3"}, {"lightness", "1e12"}}),
        PropertyBag(),
    };
    std::vector<std::unique_ptr<PixelFunction>> functions;
    for (const PropertyBag& s : settings)
        functions.push_back(makeHueSaturation(s));
    functions.push_back(makeLevels(bag({{"input_black", "30"}, {"input_white", "220"},
                                        {"input_gamma", "0.7"}, {"output_white", "250"}})));
    functions.push_back(makeBrightnessContrast(bag({{"contrast", "0.4"}, {"brightness", "-0.1"}})));
    for (int format : {4, 6}) {
        OwnedBitmap source(23, 6, format), rows(23, 6, format), pixels(23, 6, format);
        fillPattern(source, unsigned(format));
        for (const auto& f : functions) {
            RecordingCallbacks callbacks;
            ASSERT_TRUE(runPixelFunction(*f, source, rows, callbacks));
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 23; ++x)
                    pixels.setPixel(x, y, f->pixelAt(source, x, y));
            EXPECT_TRUE(sameBytes(rows, pixels)) << format;
        }
    }
}
