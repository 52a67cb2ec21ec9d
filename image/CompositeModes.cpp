#include "image/CompositeModes.h"
#include "image/KernelArithmetic.h"

namespace {

using namespace kernel;

// The "blend" rows move y toward their target by y itself.
inline int stepByY(int target, int y) { return y + (((target - y) * y + 127) >> 8); }

unsigned char compDest(unsigned char, unsigned char y) { return y; }

unsigned char compOver(unsigned char x, unsigned char y)
{
    return toByte(clampByte(y + (((x - m(x, y)) * y + 127) >> 8)));
}

unsigned char compMaxBlend(unsigned char x, unsigned char y) { return toByte(stepByY(maxI(x, y), y)); }

unsigned char compMaxHalf(unsigned char x, unsigned char y)
{
    return y == 0 ? 0 : toByte(maxI(x >> 1, y));
}

unsigned char compMaxHalfBlend(unsigned char x, unsigned char y)
{
    const int h = x >> 1;
    return h <= y ? y : toByte(stepByY(h, y));
}

template <int K>
unsigned char compAdd(unsigned char x, unsigned char y)
{
    return y == 0 ? 0 : toByte(top((x >> K) + y));
}

template <int K>
unsigned char compAddSqrScl(unsigned char x, unsigned char y)
{
    return toByte(top(y + ((y * ((x * x + 255) >> K) + 127) >> 8)));
}

unsigned char compAdd2SqrScl(unsigned char x, unsigned char y)
{
    return toByte(top(y + ((2 * m(x, x) * y + 127) >> 8)));
}

template <int K>
unsigned char compAddMul(unsigned char x, unsigned char y)
{
    return toByte(top(y + m(y, x >> K)));
}

template <int K>
unsigned char compAddScl(unsigned char x, unsigned char y)
{
    return toByte(stepByY(top((x >> K) + y), y));
}

unsigned char compInvDivScl(unsigned char x, unsigned char y)
{
    const int q = (256 * y) / maxI(x, 1);
    return toByte(stepByY(minI(q, 255), y));
}

unsigned char compMaxOver(unsigned char x, unsigned char y)
{
    return x < y ? y : toByte(m(x, y));
}

} // namespace

const CompositeModeRow compositeModeRows[kCompositeModeCount] = {
    /*  0 */ {"dest", &compDest, "destination"},
    /*  1 */ {"over", &compOver, "over blend"},
    /*  2 */ {"max_blend", &compMaxBlend, "max blend"},
    /*  3 */ {"max_half", &compMaxHalf, "max half"},
    /*  4 */ {"max_half_blend", &compMaxHalfBlend, "max half blend"},
    /*  5 */ {"add_1_32", &compAdd<5>, "add 1/32"},
    /*  6 */ {"add_1_16", &compAdd<4>, "add 1/16"},
    // This identifier really has a blank and a slash; presets store it so.
    /*  7 */ {"add 1/8", &compAdd<3>, "add 1/8"},
    /*  8 */ {"add_1_8_sqr_scl", &compAddSqrScl<11>, "add 1/8 sqr blend"},
    /*  9 */ {"add_1_4_sqr_scl", &compAddSqrScl<10>, "add 1/4 sqr blend"},
    /* 10 */ {"add_1_2_sqr_scl", &compAddSqrScl<9>, "add 1/2 sqr blend"},
    /* 11 */ {"add_1_sqr_scl", &compAddSqrScl<8>, "add sqr blend"},
    /* 12 */ {"add_2_sqr_scl", &compAdd2SqrScl, "add 2 sqr blend"},
    /* 13 */ {"add_1_32_mul", &compAddMul<5>, "add 1/32 mul"},
    /* 14 */ {"add_1_16_mul", &compAddMul<4>, "add 1/16 mul"},
    /* 15 */ {"add_1_8_mul", &compAddMul<3>, "add 1/8 mul"},
    /* 16 */ {"add_1_4_mul", &compAddMul<2>, "add 1/4 mul"},
    /* 17 */ {"add_1_2_mul", &compAddMul<1>, "add 1/2 mul"},
    /* 18 */ {"add_1_mul", &compAddMul<0>, "add mul"},
    /* 19 */ {"add_1_32_scl", &compAddScl<5>, "add 1/32 blend"},
    /* 20 */ {"add_1_16_scl", &compAddScl<4>, "add 1/16 blend"},
    /* 21 */ {"add_1_8_scl", &compAddScl<3>, "add 1/8 blend"},
    /* 22 */ {"add_1_4_scl", &compAddScl<2>, "add 1/4 blend"},
    /* 23 */ {"add_1_2_scl", &compAddScl<1>, "add 1/2 blend"},
    /* 24 */ {"add_1_scl", &compAddScl<0>, "add blend"},
    /* 25 */ {"inv_div_scl", &compInvDivScl, "inv div blend"},
    /* 26 */ {"max_over", &compMaxOver, "max over"},
    // Same kernel as "max_blend"; the display name repeats row 25's.
    /* 27 */ {"max_scl", &compMaxBlend, "inv div blend"},
};

static_assert(sizeof(compositeModeRows) / sizeof(compositeModeRows[0]) == 28,
              "the composite-mode table has 28 rows");

CompositeModeRegistry::CompositeModeRegistry()
{
    for (const CompositeModeRow& row : compositeModeRows)
        add(row.id, row.kernel, row.displayName);
}

// Built ahead of ordinary static objects, so that static initialisers in
// other files (parameter tables, brushes) may already read the table.
#if defined(__GNUC__)
const CompositeModeRegistry compositeModes __attribute__((init_priority(1000)));
#else
const CompositeModeRegistry compositeModes;
#endif

CompositeKernel defaultCompositeKernel()
{
    return &compDest;
}

Pixel lerpArgbBySourceAlpha(const Pixel& source, const Pixel& destination)
{
    if (source.a == 0)
        return destination;
    // Per channel d + (((s - d) * sa + 127) >> 8), then the larger alpha.
    return mixPixelsMaxAlpha(destination, source, source.a);
}
