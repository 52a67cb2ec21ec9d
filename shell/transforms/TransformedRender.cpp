#include "shell/transforms/TransformedRender.h"

#include <emmintrin.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "engine/RenderCallbacks.h"
#include "foundation/Numeric.h"
#include "framework/FrameworkErrors.h"
#include "image/Image.h"

namespace {

bool fits(const Image& source, const Image& destination)
{
    return !source.isEmpty() && !destination.isEmpty() && source.step() == destination.step()
        && source.step() <= uint32_t(kMaxSampleStep);
}

bool reportRow(RenderCallbacks& sink, int y, int height)
{
    return (y % 8) != 7 || sink.progress(float(y + 1) / float(height));
}

// The pixels of one axis that a sample touches, with their overlaps; the same
// for every row (columns) or every column (rows) of an axis-aligned grid.
struct Span
{
    int first;    // unclipped pixel range, for the one-pixel case
    int last;
    int begin;    // entries in the tap list
    int end;
};

struct Taps
{
    std::vector<Span> spans;
    std::vector<int> index;
    std::vector<float> weight;
};

// Same arithmetic as areaSample: centre, edges, rounding and overlap.
void addSpan(Taps& taps, float centre, float half, int size)
{
    const float low = centre - half;
    const float high = centre + half;
    Span s;
    s.first = roundToInt(low - 0.5f);
    s.last = roundToInt(high - 0.5f);
    s.begin = int(taps.index.size());
    const int a = s.first > 0 ? s.first : 0;
    const int b = s.last < size - 1 ? s.last : size - 1;
    for (int p = a; p <= b; ++p) {
        const float w = pixelCoverage(p, 0, low, high, 0.0f, 1.0f);
        if (w > 0.0f) {
            taps.index.push_back(p);
            taps.weight.push_back(w);
        }
    }
    s.end = int(taps.index.size());
    taps.spans.push_back(s);
}

inline __m128 loadPixel(const uint8_t* p, int step)
{
    uint32_t word;
    if (step == 4)
        std::memcpy(&word, p, 4);
    else
        word = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
    const __m128i zero = _mm_setzero_si128();
    const __m128i v = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(word)), zero), zero);
    return _mm_cvtepi32_ps(v);
}

inline void storePixel(uint8_t* p, __m128 value, int step)
{
    const __m128i q = _mm_cvtps_epi32(value);
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(q, q), q);
    const uint32_t word = uint32_t(_mm_cvtsi128_si32(bytes));
    std::memcpy(p, &word, size_t(step));
}

// Restores the SSE control word on every way out: the conversions below
// round by it, and a plug-in may have left another mode.
class RoundNearest
{
public:
    RoundNearest() : saved_(_mm_getcsr()) { _mm_setcsr((saved_ & ~0x6000u)); }
    ~RoundNearest() { _mm_setcsr(saved_); }

private:
    unsigned int saved_;
};

// Nearest integer, ties to even, as roundToInt gives for values in range;
// only under RoundNearest.
inline int nearest(float v)
{
    return _mm_cvtss_si32(_mm_set_ss(v));
}

// Any grid over 3 or 4 bytes per pixel: areaSample per pixel with the
// channels in one vector. The step is a constant so that the byte copies
// compile inline.
template <int Step>
bool renderAffineSteps(const Image& source, Image& destination, const Vec2& origin,
                       const Vec2& columnStep, const Vec2& rowStep, float halfWidth,
                       float halfHeight, AreaDivide divide, RenderCallbacks& sink)
{
    const int step = Step;
    const int width = destination.width();
    const int height = destination.height();
    const int lastX = source.width() - 1;
    const int lastY = source.height() - 1;
    const float whole = 4.0f * halfWidth * halfHeight;
    RoundNearest rounding;
    for (int y = 0; y < height; ++y) {
        Vec2 point = origin + rowStep * float(y);
        uint8_t* out = destination.row(y);
        for (int x = 0; x < width; ++x, out += step, point = point + columnStep) {
            const float left = point.x - halfWidth;
            const float right = point.x + halfWidth;
            const float top = point.y - halfHeight;
            const float bottom = point.y + halfHeight;
            const int x0 = nearest(left - 0.5f);
            const int x1 = nearest(right - 0.5f);
            const int y0 = nearest(top - 0.5f);
            const int y1 = nearest(bottom - 0.5f);
            if (x0 == x1 && y0 == y1) {
                if (x0 >= 0 && x0 <= lastX && y0 >= 0 && y0 <= lastY)
                    std::memcpy(out, source.pixelAddress(x0, y0), size_t(step));
                else
                    std::memset(out, 0, size_t(step));
                continue;
            }
            const int xa = x0 > 0 ? x0 : 0;
            const int xb = x1 < lastX ? x1 : lastX;
            const int ya = y0 > 0 ? y0 : 0;
            const int yb = y1 < lastY ? y1 : lastY;
            __m128 sums = _mm_setzero_ps();
            float covered = 0.0f;
            // Adding a weight of 0 changes no sum, so no test of it.
            for (int sy = ya; sy <= yb; ++sy) {
                const uint8_t* line = source.row(sy);
                for (int sx = xa; sx <= xb; ++sx) {
                    const float w = pixelCoverage(sx, sy, left, right, top, bottom);
                    sums = _mm_add_ps(sums, _mm_mul_ps(loadPixel(line + sx * step, step),
                                                       _mm_set1_ps(w)));
                    covered += w;
                }
            }
            const float area = divide == AreaDivide::Covered ? covered : whole;
            if (area > 0.0f)
                storePixel(out, _mm_div_ps(sums, _mm_set1_ps(area)), step);
            else
                std::memset(out, 0, size_t(step));
        }
        if (!reportRow(sink, y, height))
            return false;
    }
    return true;
}

bool renderAffine(const Image& source, Image& destination, const Vec2& origin,
                  const Vec2& columnStep, const Vec2& rowStep, float halfWidth, float halfHeight,
                  AreaDivide divide, RenderCallbacks& sink)
{
    if (source.step() == 3)
        return renderAffineSteps<3>(source, destination, origin, columnStep, rowStep, halfWidth,
                                    halfHeight, divide, sink);
    return renderAffineSteps<4>(source, destination, origin, columnStep, rowStep, halfWidth,
                                halfHeight, divide, sink);
}

// True when every coordinate the grid reaches stays far inside the int range,
// where the vector rounding equals roundToInt.
bool moderate(const Image& destination, const Vec2& origin, const Vec2& columnStep,
              const Vec2& rowStep, float halfWidth, float halfHeight)
{
    const double reach = std::fabs(double(origin.x)) + std::fabs(double(origin.y))
        + double(destination.width()) * (std::fabs(double(columnStep.x)) + std::fabs(double(columnStep.y)))
        + double(destination.height()) * (std::fabs(double(rowStep.x)) + std::fabs(double(rowStep.y)))
        + std::fabs(double(halfWidth)) + std::fabs(double(halfHeight));
    return reach < 1e8;
}

// Source rows as floats, one vector per pixel, converted once while a window
// of rows moves down the source. With three bytes per pixel the fourth lane
// holds 1, so that its sum is the covered area.
class FloatRows
{
public:
    FloatRows(const Image& source, int slots)
        : source_(source), slots_(slots), width_(size_t(source.width()))
    {
        data_.resize(size_t(slots) * width_ * 4);
        tags_.assign(size_t(slots), -1);
    }

    const float* row(int y)
    {
        const size_t slot = size_t(y % slots_);
        float* out = &data_[slot * width_ * 4];
        if (tags_[slot] != y) {
            tags_[slot] = y;
            const int step = int(source_.step());
            const uint8_t* p = source_.row(y);
            for (size_t x = 0; x < width_; ++x, p += step) {
                out[4 * x] = p[0];
                out[4 * x + 1] = p[1];
                out[4 * x + 2] = p[2];
                out[4 * x + 3] = step == 4 ? float(p[3]) : 1.0f;
            }
        }
        return out;
    }

private:
    const Image& source_;
    int slots_;
    size_t width_;
    std::vector<float> data_;
    std::vector<int> tags_;
};

template <int Step>
void sampleRow(const Image& source, FloatRows& floats, const Taps& columns,
               const std::vector<float>& broadcastX, const Taps& rows, const Span& r,
               bool checked, float whole, AreaDivide divide, uint8_t* out, int width)
{
    const float* lines[64];
    __m128 weightsY[64];
    for (int j = r.begin; j < r.end; ++j) {
        lines[j - r.begin] = floats.row(rows.index[size_t(j)]);
        weightsY[j - r.begin] = _mm_set1_ps(rows.weight[size_t(j)]);
    }
    const int rowCount = r.end - r.begin;
    for (int x = 0; x < width; ++x, out += Step) {
        const Span& c = columns.spans[size_t(x)];
        if (c.first == c.last && r.first == r.last) {
            if (c.first >= 0 && c.first < source.width() && r.first >= 0
                && r.first < source.height())
                std::memcpy(out, source.pixelAddress(c.first, r.first), Step);
            else
                std::memset(out, 0, Step);
            continue;
        }
        __m128 sums = _mm_setzero_ps();
        __m128 covered = _mm_setzero_ps();
        for (int j = 0; j < rowCount; ++j) {
            const float* line = lines[j];
            for (int i = c.begin; i < c.end; ++i) {
                // ox * oy, as pixelCoverage multiplies them.
                const __m128 w = _mm_mul_ps(_mm_loadu_ps(&broadcastX[size_t(i) * 4]), weightsY[j]);
                if (checked && !(_mm_cvtss_f32(w) > 0.0f))
                    continue;
                const __m128 p = _mm_loadu_ps(line + size_t(columns.index[size_t(i)]) * 4);
                sums = _mm_add_ps(sums, _mm_mul_ps(p, w));
                if (Step == 4)
                    covered = _mm_add_ps(covered, w);
            }
        }
        if (Step == 3)
            covered = _mm_shuffle_ps(sums, sums, 0xFF);
        const float area = divide == AreaDivide::Covered ? _mm_cvtss_f32(covered) : whole;
        if (area > 0.0f)
            storePixel(out, _mm_div_ps(sums, _mm_set1_ps(area)), Step);
        else
            std::memset(out, 0, Step);
    }
}

// Every row of an axis-aligned grid walks the same columns: the column taps
// and their overlaps are worked out once, the row taps once per row.
bool renderAxisAligned(const Image& source, Image& destination, const Vec2& origin,
                       const Vec2& columnStep, const Vec2& rowStep, float halfWidth,
                       float halfHeight, AreaDivide divide, RenderCallbacks& sink)
{
    const int step = int(source.step());
    const int width = destination.width();
    const int height = destination.height();
    Taps columns;
    Taps rows;
    std::vector<float> broadcastX;
    float leastX = 1.0f;
    int mostRows = 0;
    try {
        columns.spans.reserve(size_t(width));
        // Row 0's walk; every row repeats it because rowStep.x is 0.
        Vec2 point = origin + rowStep * 0.0f;
        for (int x = 0; x < width; ++x) {
            addSpan(columns, point.x, halfWidth, source.width());
            point = point + columnStep;
        }
        for (int y = 0; y < height; ++y) {
            const Vec2 start = origin + rowStep * float(y);
            addSpan(rows, start.y, halfHeight, source.height());
            const Span& r = rows.spans.back();
            mostRows = r.end - r.begin > mostRows ? r.end - r.begin : mostRows;
        }
        broadcastX.reserve(columns.weight.size() * 4);
        for (float w : columns.weight) {
            leastX = w < leastX ? w : leastX;
            broadcastX.insert(broadcastX.end(), 4, w);
        }
    } catch (const std::bad_alloc&) {
        throwMemoryException();
    }
    // Tall sample areas (a strong shrink with much smoothing) go the general way.
    if (mostRows > 62) {
        if (!moderate(destination, origin, columnStep, rowStep, halfWidth, halfHeight))
            return renderTransformedPlain(source, destination, origin, columnStep, rowStep,
                                          halfWidth, halfHeight, divide, sink);
        return renderAffine(source, destination, origin, columnStep, rowStep, halfWidth,
                            halfHeight, divide, sink);
    }
    std::unique_ptr<FloatRows> floats;
    try {
        floats.reset(new FloatRows(source, mostRows + 2));
    } catch (const std::bad_alloc&) {
        throwMemoryException();
    }
    const float whole = 4.0f * halfWidth * halfHeight;
    RoundNearest rounding;
    for (int y = 0; y < height; ++y) {
        const Span& r = rows.spans[size_t(y)];
        float leastY = 1.0f;
        for (int j = r.begin; j < r.end; ++j)
            leastY = rows.weight[size_t(j)] < leastY ? rows.weight[size_t(j)] : leastY;
        // Rounding is monotonic: when the smallest product is positive, all are.
        const bool checked = !(leastX * leastY > 0.0f);
        if (step == 3)
            sampleRow<3>(source, *floats, columns, broadcastX, rows, r, checked, whole, divide,
                         destination.row(y), width);
        else
            sampleRow<4>(source, *floats, columns, broadcastX, rows, r, checked, whole, divide,
                         destination.row(y), width);
        if (!reportRow(sink, y, height))
            return false;
    }
    return true;
}

} // namespace

bool renderTransformedPlain(const Image& source, Image& destination, const Vec2& origin,
                            const Vec2& columnStep, const Vec2& rowStep, float halfWidth,
                            float halfHeight, AreaDivide divide, RenderCallbacks& sink)
{
    if (!fits(source, destination))
        return false;
    const int height = destination.height();
    for (int y = 0; y < height; ++y) {
        Vec2 point = origin + rowStep * float(y);
        uint8_t* out = destination.row(y);
        for (int x = 0; x < destination.width(); ++x, out += destination.step()) {
            areaSample(source, point.x, point.y, halfWidth, halfHeight, out, divide);
            point = point + columnStep;
        }
        if (!reportRow(sink, y, height))
            return false;
    }
    return true;
}

bool renderTransformed(const Image& source, Image& destination, const Vec2& origin,
                       const Vec2& columnStep, const Vec2& rowStep, float halfWidth,
                       float halfHeight, AreaDivide divide, RenderCallbacks& sink)
{
    if (!fits(source, destination))
        return false;
    const bool finite = std::isfinite(origin.x) && std::isfinite(origin.y)
        && std::isfinite(columnStep.x) && std::isfinite(rowStep.y)
        && std::isfinite(halfWidth) && std::isfinite(halfHeight);
    const bool vector = source.step() == 3 || source.step() == 4;
    if (finite && vector && columnStep.y == 0.0f && rowStep.x == 0.0f)
        return renderAxisAligned(source, destination, origin, columnStep, rowStep, halfWidth,
                                 halfHeight, divide, sink);
    if (finite && vector && std::isfinite(columnStep.y) && std::isfinite(rowStep.x)
        && moderate(destination, origin, columnStep, rowStep, halfWidth, halfHeight))
        return renderAffine(source, destination, origin, columnStep, rowStep, halfWidth,
                            halfHeight, divide, sink);
    return renderTransformedPlain(source, destination, origin, columnStep, rowStep, halfWidth,
                                  halfHeight, divide, sink);
}
