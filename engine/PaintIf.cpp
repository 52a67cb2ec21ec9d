#include "engine/PaintIf.h"

#include "image/ColourMath.h"

#include <cmath>
#include <cstdlib>

namespace {

// Pixel measures and pair distances. S, V and H are single-precision floats
// computed the same way for both pixels, so equal pixels measure equal; the
// differences and the threshold tests are done in double.

inline int channelOf(const Pixel& p, int channel)
{
    switch (channel) {
    case 0: return p.r;
    case 1: return p.g;
    default: return p.b;
    }
}

inline int level(const Pixel& p)
{
    return pixelMaxChannel(p);
}

inline double saturationDistance(const Pixel& s, const Pixel& d)
{
    return std::fabs(static_cast<double>(pixelSaturation(s)) - pixelSaturation(d));
}

inline double valueDistance(const Pixel& s, const Pixel& d)
{
    return std::fabs(static_cast<double>(pixelValue(s)) - pixelValue(d));
}

// The shorter way round the colour circle: 0..0.5.
inline double hueDistance(const Pixel& s, const Pixel& d)
{
    const double dh = std::fabs(static_cast<double>(pixelHue(s)) - pixelHue(d));
    return dh > 0.5 ? 1.0 - dh : dh;
}

inline double hueValueDistance(const Pixel& s, const Pixel& d)
{
    return std::fabs(hueDistance(s, d) * (static_cast<double>(pixelValue(s)) - pixelValue(d)));
}

// At most 255^3, well inside 32 bits.
inline int productDistance(const Pixel& s, const Pixel& d)
{
    return std::abs((s.r - d.r) * (s.g - d.g) * (s.b - d.b));
}

inline int sumDistance(const Pixel& s, const Pixel& d)
{
    return std::abs(s.r - d.r) + std::abs(s.g - d.g) + std::abs(s.b - d.b);
}

inline int squaresDistance(const Pixel& s, const Pixel& d)
{
    const int dr = s.r - d.r;
    const int dg = s.g - d.g;
    const int db = s.b - d.b;
    return dr * dr + dg * dg + db * db;
}

template <bool Src>
inline const Pixel& pick(const Pixel* src, const Pixel* dest)
{
    return Src ? *src : *dest;
}

// --- constants and orderings --------------------------------------------------

bool paintAll(const Pixel*, const Pixel*) { return true; }
bool paintNone(const Pixel*, const Pixel*) { return false; }

bool satBelow(const Pixel* s, const Pixel* d) { return pixelSaturation(*s) < pixelSaturation(*d); }
bool satAbove(const Pixel* s, const Pixel* d) { return pixelSaturation(*s) > pixelSaturation(*d); }
bool levelBelow(const Pixel* s, const Pixel* d) { return level(*s) < level(*d); }
bool levelAbove(const Pixel* s, const Pixel* d) { return level(*s) > level(*d); }

template <int Channel>
bool channelAbove(const Pixel* s, const Pixel* d)
{
    return channelOf(*s, Channel) > channelOf(*d, Channel);
}

template <int Channel>
bool channelBelow(const Pixel* s, const Pixel* d)
{
    return channelOf(*s, Channel) < channelOf(*d, Channel);
}

// --- distances; float thresholds are given in thousandths -----------------------

template <int Thousandths>
constexpr double threshold()
{
    return Thousandths / 1000.0;
}

template <int T> bool saturationFar(const Pixel* s, const Pixel* d) { return saturationDistance(*s, *d) > threshold<T>(); }
template <int T> bool saturationNear(const Pixel* s, const Pixel* d) { return saturationDistance(*s, *d) < threshold<T>(); }
template <int T> bool valueFar(const Pixel* s, const Pixel* d) { return valueDistance(*s, *d) > threshold<T>(); }
template <int T> bool valueNear(const Pixel* s, const Pixel* d) { return valueDistance(*s, *d) < threshold<T>(); }
template <int T> bool hueFar(const Pixel* s, const Pixel* d) { return hueDistance(*s, *d) > threshold<T>(); }
template <int T> bool hueNear(const Pixel* s, const Pixel* d) { return hueDistance(*s, *d) < threshold<T>(); }
template <int T> bool hueValueNear(const Pixel* s, const Pixel* d) { return hueValueDistance(*s, *d) < threshold<T>(); }
template <int N> bool productNear(const Pixel* s, const Pixel* d) { return productDistance(*s, *d) < N; }
template <int N> bool sumNear(const Pixel* s, const Pixel* d) { return sumDistance(*s, *d) < N; }
template <int N> bool squaresNear(const Pixel* s, const Pixel* d) { return squaresDistance(*s, *d) < N; }

// --- one pixel's level, saturation, band and alpha --------------------------------
// "not low" and "not high" are strict too, so a level of exactly 90 is
// neither low nor not low; only mid and not mid are complements. The
// saturation bounds stay double: a float saturation is widened to compare.

constexpr int kLevelLow = 90;
constexpr int kLevelHigh = 165;
constexpr double kSatLow = 0.4;
constexpr double kSatHigh = 0.65;

template <bool Src> bool levelLow(const Pixel* s, const Pixel* d) { return level(pick<Src>(s, d)) < kLevelLow; }
template <bool Src> bool levelHigh(const Pixel* s, const Pixel* d) { return level(pick<Src>(s, d)) > kLevelHigh; }
template <bool Src> bool levelMid(const Pixel* s, const Pixel* d)
{
    const int m = level(pick<Src>(s, d));
    return m > kLevelLow && m < kLevelHigh;
}
template <bool Src> bool levelNotLow(const Pixel* s, const Pixel* d) { return level(pick<Src>(s, d)) > kLevelLow; }
template <bool Src> bool levelNotHigh(const Pixel* s, const Pixel* d) { return level(pick<Src>(s, d)) < kLevelHigh; }
template <bool Src> bool levelNotMid(const Pixel* s, const Pixel* d) { return !levelMid<Src>(s, d); }

template <bool Src> bool satLow(const Pixel* s, const Pixel* d) { return pixelSaturation(pick<Src>(s, d)) < kSatLow; }
template <bool Src> bool satHigh(const Pixel* s, const Pixel* d) { return pixelSaturation(pick<Src>(s, d)) > kSatHigh; }
template <bool Src> bool satMid(const Pixel* s, const Pixel* d)
{
    const double v = pixelSaturation(pick<Src>(s, d));
    return v > kSatLow && v < kSatHigh;
}
template <bool Src> bool satNotLow(const Pixel* s, const Pixel* d) { return pixelSaturation(pick<Src>(s, d)) > kSatLow; }
template <bool Src> bool satNotHigh(const Pixel* s, const Pixel* d) { return pixelSaturation(pick<Src>(s, d)) < kSatHigh; }
template <bool Src> bool satNotMid(const Pixel* s, const Pixel* d) { return !satMid<Src>(s, d); }

// The four band entries of a pixel have always been one and the same test.
template <bool Src> bool levelOdd(const Pixel* s, const Pixel* d) { return (level(pick<Src>(s, d)) & 1) != 0; }

template <bool Src> bool alphaSome(const Pixel* s, const Pixel* d) { return pick<Src>(s, d).a != 0; }
template <bool Src> bool alphaFull(const Pixel* s, const Pixel* d) { return pick<Src>(s, d).a == 255; }
template <bool Src> bool alphaPart(const Pixel* s, const Pixel* d)
{
    const int a = pick<Src>(s, d).a;
    return a > 0 && a < 255;
}

// Which registries a row belongs to.
enum Registries : unsigned { InPaintIf = 1, InStickyType = 2, InBoth = InPaintIf | InStickyType };

struct PredicateRow {
    const char* id;
    PaintIfPredicate predicate;
    const char* displayName;
    Registries in;
};

// Both registries, one row per entry: each registry takes the rows that name
// it, in this order, so an entry's index is its position among those rows.
// Ids and order are what stored presets and parameter values refer to.
constexpr PredicateRow kPredicateRows[] = {
    // In the Paint-If rows "higher" means the source measures below the
    // destination (paint where the canvas is higher); ids follow the test.
    {"all", paintAll, "all", InPaintIf},
    {"sat_lt", satBelow, "higher saturation", InPaintIf},
    {"sat_gt", satAbove, "lower saturation", InPaintIf},
    {"sat_far12", saturationFar<120>, "different saturation 1", InPaintIf},
    {"sat_far17", saturationFar<170>, "different saturation 2", InPaintIf},
    {"sat_near11", saturationNear<110>, "similar saturation 1", InPaintIf},
    {"sat_near15", saturationNear<150>, "similar saturation 2", InPaintIf},
    {"sat_near21", saturationNear<210>, "similar saturation 3", InPaintIf},
    {"bright_lt", levelBelow, "higher brightness", InPaintIf},
    {"bright_gt", levelAbove, "lower brightness", InPaintIf},
    {"bright_far12", valueFar<120>, "different bright 1", InPaintIf},
    {"bright_far17", valueFar<170>, "different bright 2", InPaintIf},
    {"bright_near27", valueNear<270>, "similar bright 1", InPaintIf},
    {"bright_near21", valueNear<210>, "similar bright 2", InPaintIf},
    {"bright_near15", valueNear<150>, "similar bright 3", InPaintIf},
    {"bright_near11", valueNear<110>, "similar bright 4", InPaintIf},
    {"bright_near08", valueNear<80>, "similar bright 5", InPaintIf},
    {"hue_far20", hueFar<20>, "different hue 1", InPaintIf},
    {"hue_far14", hueFar<14>, "different hue 2", InPaintIf},
    {"hue_near44", hueNear<44>, "similar hue 1", InPaintIf},
    {"hue_near32", hueNear<32>, "similar hue 2", InPaintIf},
    {"hue_near25", hueNear<25>, "similar hue 3", InPaintIf},
    {"hue_near18", hueNear<18>, "similar hue 4", InPaintIf},
    {"hue_near12", hueNear<12>, "similar hue 5", InPaintIf},
    {"hue_near8", hueNear<8>, "similar hue 6", InPaintIf},
    {"hue_near5", hueNear<5>, "similar hue 7", InPaintIf},
    {"hue_bright_near8", hueValueNear<8>, "similar hue/bright 1", InPaintIf},
    {"hue_bright_near7", hueValueNear<7>, "similar hue/bright 2", InPaintIf},
    {"hue_bright_near6", hueValueNear<6>, "similar hue/bright 3", InPaintIf},
    {"hue_bright_near5", hueValueNear<5>, "similar hue/bright 4", InPaintIf},
    {"hue_bright_near4", hueValueNear<4>, "similar hue/bright 5", InPaintIf},
    {"hue_bright_near3", hueValueNear<3>, "similar hue/bright 6", InPaintIf},
    {"hue_bright_near2", hueValueNear<2>, "similar hue/bright 7", InPaintIf},
    {"hue_bright_near1", hueValueNear<1>, "similar hue/bright 8", InPaintIf},
    {"color_near_pd3200", productNear<3200>, "similar color pd 1", InPaintIf},
    {"color_near_pd1600", productNear<1600>, "similar color pd 2", InPaintIf},
    {"color_near_pd800", productNear<800>, "similar color pd 3", InPaintIf},
    {"color_near_pd400", productNear<400>, "similar color pd 4", InPaintIf},
    {"color_near_pd200", productNear<200>, "similar color pd 5", InPaintIf},
    {"color_near_pd100", productNear<100>, "similar color pd 6", InPaintIf},
    {"color_near_pd50", productNear<50>, "similar color pd 7", InPaintIf},
    {"color_near_pd25", productNear<25>, "similar color pd 8", InPaintIf},
    {"color_near_pd12", productNear<12>, "similar color pd 9", InPaintIf},
    {"color_near_pd7", productNear<7>, "similar color pd 10", InPaintIf},
    {"color_near_sd200", sumNear<200>, "similar color sd 1", InPaintIf},
    {"color_near_sd100", sumNear<100>, "similar color sd 2", InPaintIf},
    {"color_near_sd50", sumNear<50>, "similar color sd 3", InPaintIf},
    {"color_near_sd25", sumNear<25>, "similar color sd 4", InPaintIf},
    {"color_near_sd12", sumNear<12>, "similar color sd 5", InPaintIf},
    {"color_near_sd7", sumNear<7>, "similar color sd 6", InPaintIf},
    {"color_near_sd4", sumNear<4>, "similar color sd 7", InPaintIf},
    {"color_near_sds4096", squaresNear<4096>, "similar color sds 1", InPaintIf},
    {"color_near_sds2048", squaresNear<2048>, "similar color sds 2", InPaintIf},
    {"color_near_sds1024", squaresNear<1024>, "similar color sds 3", InPaintIf},
    {"color_near_sds512", squaresNear<512>, "similar color sds 4", InPaintIf},
    {"color_near_sds256", squaresNear<256>, "similar color sds 5", InPaintIf},
    {"color_near_sds128", squaresNear<128>, "similar color sds 6", InPaintIf},
    {"color_near_sds64", squaresNear<64>, "similar color sds 7", InPaintIf},
    {"color_near_sds32", squaresNear<32>, "similar color sds 8", InPaintIf},
    {"color_near_sds16", squaresNear<16>, "similar color sds 9", InPaintIf},
    {"color_near_sds8", squaresNear<8>, "similar color sds 10", InPaintIf},
    // In the sticky rows "higher" means the source measures above the
    // destination (take up a colour that is higher).
    {"none", paintNone, "original", InStickyType},
    {"sat_gt", satAbove, "higher saturation", InStickyType},
    {"sat_lt", satBelow, "lower saturation", InStickyType},
    // The brightness pair's ids are swapped against the other pairs; stored
    // presets hold them this way.
    {"bright_lt", levelAbove, "higher brightness", InStickyType},
    {"bright_gt", levelBelow, "lower brightness", InStickyType},
    {"red_gt", channelAbove<0>, "higher red", InStickyType},
    {"red_lt", channelBelow<0>, "lower red", InStickyType},
    {"green_gt", channelAbove<1>, "higher green", InStickyType},
    {"green_lt", channelBelow<1>, "lower green", InStickyType},
    {"blue_gt", channelAbove<2>, "higher blue", InStickyType},
    {"blue_lt", channelBelow<2>, "lower blue", InStickyType},
    // One pixel's level and saturation: the same entries in both.
    {"src_low", levelLow<true>, "src low", InBoth},
    {"src_high", levelHigh<true>, "src high", InBoth},
    {"src_mid", levelMid<true>, "src mid", InBoth},
    {"src_not_low", levelNotLow<true>, "src not low", InBoth},
    {"src_not_high", levelNotHigh<true>, "src not high", InBoth},
    {"src_not_mid", levelNotMid<true>, "src not mid", InBoth},
    {"dest_low", levelLow<false>, "dest low", InBoth},
    {"dest_high", levelHigh<false>, "dest high", InBoth},
    {"dest_mid", levelMid<false>, "dest mid", InBoth},
    {"dest_not_low", levelNotLow<false>, "dest not low", InBoth},
    {"dest_not_high", levelNotHigh<false>, "dest not high", InBoth},
    {"dest_not_mid", levelNotMid<false>, "dest not mid", InBoth},
    {"src_low_sat", satLow<true>, "src low sat", InBoth},
    {"src_high_sat", satHigh<true>, "src high sat", InBoth},
    {"src_mid_sat", satMid<true>, "src mid sat", InBoth},
    {"src_not_low_sat", satNotLow<true>, "src not low sat", InBoth},
    {"src_not_high_sat", satNotHigh<true>, "src not high sat", InBoth},
    {"src_not_mid_sat", satNotMid<true>, "src not mid sat", InBoth},
    {"dest_low_sat", satLow<false>, "dest low sat", InBoth},
    {"dest_high_sat", satHigh<false>, "dest high sat", InBoth},
    {"dest_mid_sat", satMid<false>, "dest mid sat", InBoth},
    {"dest_not_low_sat", satNotLow<false>, "dest not low sat", InBoth},
    {"dest_not_high_sat", satNotHigh<false>, "dest not high sat", InBoth},
    {"dest_not_mid_sat", satNotMid<false>, "dest not mid sat", InBoth},
    // Band and alpha tests: Paint If only.
    {"src_band_low1", levelOdd<true>, "src band low 1", InPaintIf},
    {"src_band_low2", levelOdd<true>, "src band low 2", InPaintIf},
    {"src_band_high1", levelOdd<true>, "src band high 1", InPaintIf},
    {"src_band_high2", levelOdd<true>, "src band high 2", InPaintIf},
    {"dest_band_low1", levelOdd<false>, "dest band low 1", InPaintIf},
    {"dest_band_low2", levelOdd<false>, "dest band low 2", InPaintIf},
    {"dest_band_high1", levelOdd<false>, "dest band high 1", InPaintIf},
    {"dest_band_high2", levelOdd<false>, "dest band high 2", InPaintIf},
    {"src_alpha", alphaSome<true>, "src some alpha", InPaintIf},
    {"src_full_alpha", alphaFull<true>, "src full alpha", InPaintIf},
    {"src_part_alpha", alphaPart<true>, "src part alpha", InPaintIf},
    {"dest_alpha", alphaSome<false>, "dest some alpha", InPaintIf},
    {"dest_full_alpha", alphaFull<false>, "dest full alpha", InPaintIf},
    {"dest_part_alpha", alphaPart<false>, "dest part alpha", InPaintIf},
};

constexpr unsigned rowsIn(Registries registry)
{
    unsigned n = 0;
    for (const PredicateRow& row : kPredicateRows)
        n += (row.in & registry) != 0;
    return n;
}

static_assert(rowsIn(InPaintIf) == kPaintIfPredicateCount, "Paint-If rows");
static_assert(rowsIn(InStickyType) == kStickyTypePredicateCount, "sticky type rows");

void addRows(NamedRegistry<PaintIfPredicate>& registry, Registries which)
{
    for (const PredicateRow& row : kPredicateRows)
        if (row.in & which)
            registry.add(row.id, row.predicate, row.displayName);
}

} // namespace

PaintIfRegistry::PaintIfRegistry()
{
    addRows(*this, InPaintIf);
}

PaintIfRegistry::~PaintIfRegistry() = default;

StickyTypeRegistry::StickyTypeRegistry()
{
    addRows(*this, InStickyType);
}

StickyTypeRegistry::~StickyTypeRegistry() = default;

// Defined in this order in one unit: Paint-If first, then sticky types.
PaintIfRegistry paintIfPredicates;
StickyTypeRegistry stickyTypePredicates;

PaintIfPredicate defaultPaintIf()
{
    return paintAll;
}

PaintIfPredicate defaultStickyType()
{
    return paintNone;
}
