#include <gtest/gtest.h>

#include "image/ZoomRatio.h"

TEST(ZoomRatio, StepsAlongTheLadderAndBackToOne)
{
    ZoomRatio z(4, 16);
    EXPECT_EQ(z.percentText(), "100.0%");
    EXPECT_TRUE(z.zoomIn());
    EXPECT_EQ(z.numerator(), 5u);
    EXPECT_EQ(z.denominator(), 4u);
    EXPECT_EQ(z.percentText(), "125.0%");
    EXPECT_TRUE(z.zoomOut());
    EXPECT_TRUE(z.zoomOut());
    EXPECT_EQ(z.numerator(), 4u);
    EXPECT_EQ(z.denominator(), 5u);
    EXPECT_EQ(z.percentText(), "80.0%");
    EXPECT_TRUE(z.zoomOut());
    EXPECT_EQ(z.percentText(), "66.7%");
    // From 4/6: 4/5, 4/4, 5/4.
    EXPECT_EQ(z.step(3), 3);
    EXPECT_EQ(z.numerator(), 5u);
    EXPECT_EQ(z.denominator(), 4u);
    EXPECT_EQ(z.step(-1), -1);
    EXPECT_EQ(z.percentText(), "100.0%");
}

TEST(ZoomRatio, StopsAtTheLimitBothWays)
{
    ZoomRatio z(1, 2);
    EXPECT_EQ(z.step(10), 1);
    EXPECT_EQ(z.numerator(), 2u);
    EXPECT_FALSE(z.zoomIn());
    EXPECT_EQ(z.step(0), 0);
    EXPECT_EQ(z.step(-10), -2);
    EXPECT_EQ(z.denominator(), 2u);
    EXPECT_EQ(z.percentText(), "50.0%");

    ZoomRatio big(4, 16);
    EXPECT_EQ(big.step(1000), 60);
    EXPECT_EQ(big.percentText(), "1600.0%");
    EXPECT_EQ(big.step(-1000), -120);
    EXPECT_EQ(big.percentText(), "6.3%");
}

TEST(ZoomRatio, ZeroBaseIsTakenAsOne)
{
    ZoomRatio z(0, 4);
    EXPECT_EQ(z.base(), 1u);
    EXPECT_EQ(z.step(-2), -2);
    EXPECT_EQ(z.percentText(), "33.3%");
    EXPECT_EQ(z.step(5), 5);
    EXPECT_EQ(z.percentText(), "400.0%");
}

TEST(ZoomRatio, PartsNeverWrapAtTheTopOfTheRange)
{
    ZoomRatio z(0xFFFFFFFEu, 0xFFFFFFFFu);
    EXPECT_EQ(z.step(5), 1);
    EXPECT_EQ(z.numerator(), 0xFFFFFFFFu);
    EXPECT_EQ(z.step(-5), -2);
    EXPECT_EQ(z.denominator(), 0xFFFFFFFFu);
    EXPECT_EQ(z.numerator(), 0xFFFFFFFEu);
}
