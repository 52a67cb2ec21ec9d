#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "engine/brushes/DabRounding.h"
#include "foundation/Numeric.h"

namespace {

float floatFromBits(uint32_t bits)
{
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// Halves (both parities and signs), their float neighbours, values around
// the int limits, infinities and NaN.
std::vector<float> awkwardValues()
{
    std::vector<float> values = {0.0f, -0.0f, FLT_MIN, -FLT_MIN, FLT_MAX, -FLT_MAX,
                                 INFINITY, -INFINITY, NAN, 2147483648.0f, -2147483648.0f,
                                 2147483520.0f, -2147483520.0f, -2147483904.0f, 8388607.5f,
                                 -8388607.5f, 16777216.0f, 16777218.0f};
    for (int i = -40; i <= 40; ++i) {
        const float half = i + 0.5f;
        values.push_back(half);
        values.push_back(std::nextafter(half, 1000.0f));
        values.push_back(std::nextafter(half, -1000.0f));
        values.push_back(static_cast<float>(i));
        values.push_back(i + 0.25f);
        values.push_back(i + 0.75f);
    }
    return values;
}

} // namespace

TEST(DabRounding, MatchesRoundToIntOfTheWidenedFloat)
{
    std::vector<float> values = awkwardValues();
    // And a spread of bit patterns over the whole float range.
    for (uint32_t bits = 0; bits < 0xFFFFF000u; bits += 0x000FF1u)
        values.push_back(floatFromBits(bits));
    for (float v : values) {
        const int expected = roundToInt(static_cast<double>(v));
        EXPECT_EQ(expected, roundFloat(v)) << v;
        int four[4] = {7, 7, 7, 7};
        if (roundFourFloats(v, -v, v * 0.5f, 3.5f, four)) {
            EXPECT_EQ(expected, four[0]) << v;
            EXPECT_EQ(roundToInt(static_cast<double>(-v)), four[1]) << v;
            EXPECT_EQ(roundToInt(static_cast<double>(v * 0.5f)), four[2]) << v;
            EXPECT_EQ(4, four[3]);
        } else {
            // Only out-of-range or NaN inputs take the slow way.
            EXPECT_TRUE(!(v >= -2147483648.0f && v < 2147483648.0f) ||
                        !(-v >= -2147483648.0f && -v < 2147483648.0f) ||
                        !(v * 0.5f >= -2147483648.0f && v * 0.5f < 2147483648.0f))
                << v;
            EXPECT_EQ(7, four[0]);
        }
    }
}
