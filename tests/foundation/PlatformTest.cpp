#include <gtest/gtest.h>
#include <cstdlib>

// The engine relies on msvcrt's generator; a different runtime would change
// every random preset.
TEST(Platform, RuntimeRandomGenerator)
{
    srand(1);
    unsigned state = 1;
    for (int i = 0; i < 5; ++i) {
        state = state * 214013u + 2531011u;
        EXPECT_EQ(int((state >> 16) & 0x7fff), rand());
    }
#if defined(_WIN64)
    EXPECT_EQ(8u, sizeof(void*));
#else
    EXPECT_EQ(4u, sizeof(void*));
#endif
}
