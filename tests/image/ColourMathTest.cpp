#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "foundation/Numeric.h"
#include "foundation/PropertyBag.h"
#include "image/ColourMath.h"

namespace {

Pixel rgb(int r, int g, int b, int a = 255)
{
    return Pixel(uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a));
}

} // namespace

TEST(ColourMath, ByteFloatRules)
{
    EXPECT_NEAR(0.996133, channelToFloat(255), 1e-6);
    EXPECT_EQ(255, floatToChannel(1.0f));
    EXPECT_EQ(0, floatToChannel(0.0f));
    EXPECT_EQ(0, floatToChannel(-3.0f));
    EXPECT_EQ(255, floatToChannel(7.0f));
    EXPECT_EQ(0, floatToChannel(NAN));
    // Single precision: 65 lands exactly on a half and rounds to even.
    EXPECT_EQ(64, floatToChannel(channelToFloat(65)));
    int same = 0;
    for (int c = 0; c < 256; ++c) {
        int back = floatToChannel(channelToFloat(uint8_t(c)));
        EXPECT_TRUE(back == c || back == c - 1) << c;
        same += back == c;
    }
    EXPECT_GT(same, 200);
}

TEST(ColourMath, ByteRoundingMatchesTheGeneralRounding)
{
    // Every half and its float neighbours, the ends and the odd values.
    std::vector<float> values = {NAN, INFINITY, -INFINITY, -0.0f, 1e30f, -1e30f};
    for (int k = -4; k <= 520; ++k) {
        const float v = k * 0.5f;
        values.insert(values.end(), {v, std::nextafter(v, -1e9f), std::nextafter(v, 1e9f), v + 0.25f});
    }
    for (float v : values)
        EXPECT_EQ(clampInt(roundToInt(v), 0, 255), roundFloatToByte(v)) << v;
}

TEST(ColourMath, Measures)
{
    Pixel black = rgb(0, 0, 0);
    EXPECT_EQ(0.0f, pixelSaturation(black));
    EXPECT_EQ(0.0f, pixelHue(black));
    EXPECT_EQ(0.0f, pixelValue(black));
    Pixel grey = rgb(128, 128, 128);
    EXPECT_EQ(0.0f, pixelSaturation(grey));
    EXPECT_EQ(0.0f, pixelHue(grey));
    EXPECT_EQ(0.0f, pixelHue(rgb(255, 0, 0)));
    EXPECT_FLOAT_EQ(1.0f / 3.0f, pixelHue(rgb(0, 255, 0)));
    EXPECT_FLOAT_EQ(2.0f / 3.0f, pixelHue(rgb(0, 0, 255)));
    EXPECT_FLOAT_EQ(5.0f / 6.0f, pixelHue(rgb(255, 0, 255))); // negative wraps up
    EXPECT_FLOAT_EQ(0.5f, pixelSaturation(rgb(200, 100, 150)));
    EXPECT_EQ(200, pixelMaxChannel(rgb(200, 100, 150)));
    EXPECT_FLOAT_EQ(200 * 0.0039064027f, pixelValue(rgb(10, 200, 150)));

    float h, s, v;
    rgbToHsv(0.3f, 0.3f, 0.3f, h, s, v, 0.42f);
    EXPECT_EQ(0.42f, h);
    EXPECT_EQ(0.0f, s);
    rgbToHsv(0, 0, 0, h, s, v, 0.7f);
    EXPECT_EQ(0.7f, h);
    EXPECT_EQ(0.0f, v);
}

TEST(ColourMath, HueWrapAndSectors)
{
    float r1, g1, b1, r2, g2, b2;
    hsvToRgb(r1, g1, b1, -0.25f, 1.0f, 1.0f);
    hsvToRgb(r2, g2, b2, 0.75f, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(r2, r1);
    EXPECT_FLOAT_EQ(g2, g1);
    EXPECT_FLOAT_EQ(b2, b1);
    hsvToRgb(r1, g1, b1, 1.25f, 0.5f, 0.8f);
    hsvToRgb(r2, g2, b2, 0.25f, 0.5f, 0.8f);
    EXPECT_NEAR(r2, r1, 1e-5);
    EXPECT_NEAR(g2, g1, 1e-5);

    // A hue just below a whole turn rounds to sector 6 in single precision:
    // it must still give red, not be left unwritten.
    float r = -1, g = -1, b = -1;
    hsvToRgb(r, g, b, -1.2e-7f, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(1.0f, r);
    EXPECT_NEAR(0.0f, g, 1e-5);
    EXPECT_NEAR(0.0f, b, 1e-5);
    r = g = b = -1;
    hsvToRgb(r, g, b, -20000.25f, 1.0f, 1.0f);
    EXPECT_GE(r, 0.0f);
    EXPECT_GE(g, 0.0f);
    EXPECT_GE(b, 0.0f);
    r = g = b = -1;
    hsvToRgb(r, g, b, NAN, 1.0f, 0.5f);
    EXPECT_EQ(0.5f, r);

    // Every sector boundary is continuous.
    for (int i = 0; i <= 6; ++i) {
        float h = i / 6.0f;
        hsvToRgb(r1, g1, b1, h - 1e-4f, 0.6f, 0.9f);
        hsvToRgb(r2, g2, b2, h + 1e-4f, 0.6f, 0.9f);
        EXPECT_NEAR(r1, r2, 1e-3) << i;
        EXPECT_NEAR(g1, g2, 1e-3) << i;
        EXPECT_NEAR(b1, b2, 1e-3) << i;
    }
    hsvToRgb(r, g, b, 0.3f, 0.0f, 0.25f);
    EXPECT_EQ(0.25f, r);
    EXPECT_EQ(0.25f, b);
}

TEST(ColourMath, HsvRoundTrips)
{
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 19) {
                Pixel p = rgb(r, g, b, 77);
                float h, s, v;
                pixelToHsv(p, h, s, v);
                ASSERT_GE(h, 0.0f);
                ASSERT_LE(h, 1.0f);
                Pixel q = p;
                setPixelHsv(q, h, s, v);
                ASSERT_NEAR(r, q.r, 1) << r << "," << g << "," << b;
                ASSERT_NEAR(g, q.g, 1);
                ASSERT_NEAR(b, q.b, 1);
                ASSERT_EQ(77, q.a);
            }
    Pixel p = rgb(10, 20, 30, 40);
    setPixelHsva(p, 0.0f, 1.0f, 1.0f, 200);
    EXPECT_EQ(rgb(255, 0, 0, 200), p);
}

TEST(ColourMath, Mixing)
{
    Pixel a = rgb(10, 100, 200, 50);
    Pixel b = rgb(250, 0, 100, 150);
    EXPECT_EQ(a, lerpPixelRgb(a, b, 0.0f));
    EXPECT_EQ(rgb(250, 0, 100, 50), lerpPixelRgb(a, b, 1.0f));
    EXPECT_EQ(rgb(130, 50, 150, 50), lerpPixelRgb(a, b, 0.5f));
    EXPECT_EQ(rgb(130, 50, 150, 100), lerpPixelRgba(a, b, 0.5f));
    EXPECT_EQ(rgb(250, 100, 150, 50), lerpPixelRgb3(a, b, 1.0f, 0.0f, 0.5f));
    // Ties go to even: 0 + 255 * 0.5 = 127.5 gives 128; 1 + 2 * 0.25 = 1.5 gives 2.
    EXPECT_EQ(128, lerpPixelRgb(rgb(0, 0, 0), rgb(255, 0, 0), 0.5f).r);
    EXPECT_EQ(2, lerpPixelRgb(rgb(1, 0, 0), rgb(3, 0, 0), 0.25f).r);
    EXPECT_EQ(255, lerpPixelRgb(a, b, 3.0f).r);
    EXPECT_EQ(0, lerpPixelRgb(a, b, 3.0f).g);

    Pixel p = rgb(200, 100, 3, 9);
    scalePixelRgb(p, 2.0f);
    EXPECT_EQ(rgb(255, 200, 6, 9), p);
    scalePixelRgb(p, -1.0f);
    EXPECT_EQ(rgb(0, 0, 0, 9), p);
}

TEST(ColourMath, HsvBlendTakesShortWayRound)
{
    Pixel a, b;
    setPixelHsv(a, 0.9f, 1.0f, 1.0f);
    setPixelHsv(b, 0.1f, 1.0f, 1.0f);
    a.a = 33;
    Pixel mid = blendPixelHsv(a, b, 0.5f, 0.5f, 0.5f);
    EXPECT_NEAR(0.0f, std::fmod(pixelHue(mid) + 0.5f, 1.0f) - 0.5f, 0.01f);
    EXPECT_EQ(255, mid.r);
    EXPECT_EQ(33, mid.a);
    Pixel back = blendPixelHsv(b, a, 0.5f, 0.5f, 0.5f);
    EXPECT_EQ(mid.r, back.r);
    EXPECT_NEAR(0.0f, std::fmod(pixelHue(back) + 0.5f, 1.0f) - 0.5f, 0.01f);
    EXPECT_EQ(a.r, blendPixelHsv(a, b, 0, 0, 0).r);
}

// The pair conversions take the single ones' steps in SSE lanes; every
// float and byte must come out the same, greys, ties and wrapped hues too.
TEST(ColourMath, BothWaysBlendGivesTheSingleOnesBytes)
{
    // Greys, primaries, ties between the largest channels, and random
    // words (alpha included, which both results keep).
    std::vector<Pixel> pixels = {rgb(0, 0, 0), rgb(255, 255, 255), rgb(7, 7, 7),
                                 rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255),
                                 rgb(255, 255, 0), rgb(0, 255, 255), rgb(255, 0, 255),
                                 rgb(200, 200, 10), rgb(10, 200, 200), rgb(200, 10, 200),
                                 rgb(1, 0, 0), rgb(0, 1, 1), rgb(255, 254, 254)};
    uint32_t seed = 12345;
    for (int i = 0; i < 600; ++i) {
        seed = seed * 1664525u + 1013904223u;
        pixels.push_back(Pixel::fromWord(seed));
    }
    // Weights past both ends, exact halves, and a hue far out of the
    // usual range (the single version's slow path).
    const float ts[][3] = {{0.5f, 0.5f, 0.5f}, {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f},
                           {0.35f, -0.4f, 1.3f}, {2.5f, 0.8f, -0.5f}, {-3.0f, 1.5f, 0.1f},
                           {-0.2f, 1.2f, 0.25f}, {-25000.0f, 0.5f, 0.5f}};
    int compared = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        for (size_t k : {(i * 7 + 3) % pixels.size(), (i * 13 + 1) % pixels.size()}) {
            const Pixel& a = pixels[i];
            const Pixel& b = pixels[k];
            for (const auto& t : ts) {
                const float tb[3] = {t[2], t[0], t[1]};
                Pixel pa, pb;
                blendPixelHsvBothWays(a, b, t, tb, pa, pb);
                ASSERT_EQ(blendPixelHsv(a, b, t[0], t[1], t[2]).word(), pa.word()) << i;
                ASSERT_EQ(blendPixelHsv(b, a, tb[0], tb[1], tb[2]).word(), pb.word()) << i;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 9000);
}

TEST(ColourMath, ChangeOneComponent)
{
    Pixel p = rgb(255, 0, 0, 7);
    setPixelHue(p, 1.0f / 3.0f);
    EXPECT_EQ(rgb(0, 255, 0, 7), p);
    shiftPixelHue(p, 1.0f / 3.0f);
    EXPECT_EQ(rgb(0, 0, 255, 7), p);
    shiftPixelHue(p, 1.0f / 3.0f); // wraps past a whole turn
    EXPECT_EQ(rgb(255, 0, 0, 7), p);
    setPixelSaturation(p, 0.0f);
    EXPECT_EQ(rgb(255, 255, 255, 7), p);
    p = rgb(200, 100, 100);
    setPixelValue(p, 1.0f);
    EXPECT_EQ(rgb(255, 127, 127), p);
    p = rgb(0, 0, 0);
    setPixelHue(p, 0.5f);
    EXPECT_EQ(rgb(0, 0, 0), p);
}

TEST(ColourMath, ColoursFromText)
{
    EXPECT_EQ(rgb(0xf0, 0x0f, 0xff, 0xff), pixelFromText("#f00"));
    EXPECT_EQ(rgb(0xff, 0, 0, 0x80), pixelFromText("#ff000080"));
    EXPECT_EQ(rgb(0x12, 0x34, 0x56, 0xff), pixelFromText("#123456"));
    EXPECT_EQ(rgb(0xff, 0xff, 0xff, 0xff), pixelFromText("#"));
    EXPECT_EQ(rgb(0x0a, 0, 0, 0xff), pixelFromText("#aZ00zz"));
    EXPECT_EQ(rgb(0, 0xff, 0, 0xff), pixelFromText("0xff00ff00"));
    EXPECT_EQ(0xff00ff00u, pixelFromText("4278255360").word());
    EXPECT_EQ(0xffffffffu, pixelFromText("-1").word());
    EXPECT_EQ(0xffffffffu, pixelFromText("0x1ffffffff").word());
    EXPECT_EQ(0x7bu, pixelFromText("123").word());
    EXPECT_EQ(0u, pixelFromText("").word());
    EXPECT_EQ(0u, pixelFromText("0XFF").word());
    EXPECT_EQ(0u, pixelFromText("junk").word());
    Pixel p(1, 2, 3, 4);
    parsePixelText(p, "#0102");
    EXPECT_EQ(rgb(1, 2, 0xff, 0xff), p);
}

TEST(ColourMath, ColoursFromReader)
{
    PropertyBag bag;
    bag.setString("fg.red", "300"); // low byte
    bag.setString("fg.green", "#20");
    bag.setString("fg.blue", "3");
    EXPECT_EQ(rgb(44, 32, 3, 255), pixelFromReader("fg", bag));
    bag.setString("red", "1");
    bag.setString("alpha", "0");
    EXPECT_EQ(rgb(1, 0, 0, 0), pixelFromReader("", bag));
    PropertyBag none;
    EXPECT_EQ(rgb(0, 0, 0, 255), pixelFromReader("", none));
}
