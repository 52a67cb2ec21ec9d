#include "shell/filters/SeparableConvolve.h"

#include <emmintrin.h>

#include <new>
#include <vector>

#include "engine/RenderCallbacks.h"
#include "framework/FrameworkErrors.h"
#include "image/Image.h"

// With n <= 255 d, m = ceil(2^s / d) and 2^s > 255 d^2, the error term
// n (m d - 2^s) / (d 2^s) stays below 1/d, so the floor is exact.
ExactDivider::ExactDivider(uint32_t divisor)
{
    const uint64_t d = divisor ? divisor : 1;
    const uint64_t bound = 255u * d * d;
    int s = 0;
    while (s < 63 && (uint64_t(1) << s) <= bound)
        ++s;
    shift_ = s;
    multiplier_ = uint32_t(((uint64_t(1) << s) + d - 1) / d);
}

namespace {

// One kernel prepared for both the SIMD and the scalar loops.
struct Kernel
{
    int length = 0;
    int pairs = 0;
    uint32_t sum = 0;
    bool simd = true;
    const uint16_t* weights = nullptr;
    __m128i pairWeights[kMaxKernelLength / 2];

    bool set(const uint16_t* w, int n)
    {
        if (!w || n <= 0 || n > kMaxKernelLength)
            return false;
        length = n;
        weights = w;
        pairs = (n + 1) / 2;
        for (int k = 0; k < n; ++k) {
            sum += w[k];
            // madd multiplies signed 16-bit values.
            if (w[k] > 32767)
                simd = false;
        }
        for (int p = 0; p < pairs; ++p) {
            const uint32_t a = w[2 * p];
            const uint32_t b = 2 * p + 1 < n ? w[2 * p + 1] : 0;
            pairWeights[p] = _mm_set1_epi32(int(a | (b << 16)));
        }
        return sum > 0;
    }
};

struct VectorDivider
{
    explicit VectorDivider(const ExactDivider& d)
        : multiplier(_mm_set1_epi32(int(d.multiplier()))), shift(_mm_cvtsi32_si128(d.shift()))
    {
    }

    // Four unsigned sums to four quotients.
    __m128i operator()(__m128i n) const
    {
        const __m128i even = _mm_srl_epi64(_mm_mul_epu32(n, multiplier), shift);
        const __m128i odd = _mm_srl_epi64(_mm_mul_epu32(_mm_srli_epi64(n, 32), multiplier), shift);
        return _mm_or_si128(even, _mm_slli_epi64(odd, 32));
    }

    __m128i multiplier;
    __m128i shift;
};

// Sums of eight neighbouring values: tap k reads rows[k] + offset.
inline void sumEight(const Kernel& kernel, const int16_t* const* rows, size_t offset,
                     __m128i& low, __m128i& high)
{
    low = _mm_setzero_si128();
    high = _mm_setzero_si128();
    for (int p = 0; p < kernel.pairs; ++p) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2 * p] + offset));
        const __m128i b =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2 * p + 1] + offset));
        low = _mm_add_epi32(low, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), kernel.pairWeights[p]));
        high = _mm_add_epi32(high, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), kernel.pairWeights[p]));
    }
}

inline uint32_t sumOne(const Kernel& kernel, const int16_t* const* rows, size_t offset)
{
    uint32_t acc = 0;
    for (int k = 0; k < kernel.length; ++k)
        acc += uint32_t(rows[k][offset]) * kernel.weights[k];
    return acc;
}

class Convolver
{
public:
    Convolver(const Image& source, Image& destination, const Kernel& kx, const Kernel& ky)
        : source_(source), destination_(destination), kx_(kx), ky_(ky),
          divideX_(kx.sum), divideY_(ky.sum), vectorX_(divideX_), vectorY_(divideY_),
          step_(int(source.step())), rowBytes_(size_t(source.width()) * source.step())
    {
    }

    void allocate()
    {
        try {
            // The pad row holds the clamped source row with room for the odd
            // tap's zero-weighted partner and the last vector's overrun.
            pad_.assign((size_t(source_.width()) + kx_.length) * step_ + 16, 0);
            ring_.assign(size_t(ky_.length) * rowBytes_, 0);
            zeros_.assign(rowBytes_ + 16, 0);
        } catch (const std::bad_alloc&) {
            throwMemoryException();
        }
    }

    bool run(RenderCallbacks& callbacks)
    {
        const int height = source_.height();
        const int half = ky_.length / 2;
        int computed = 0;
        for (int y = 0; y < height; ++y) {
            const int lastNeeded = y + ky_.length - 1 - half < height - 1
                ? y + ky_.length - 1 - half
                : height - 1;
            while (computed <= lastNeeded) {
                horizontal(computed);
                ++computed;
            }
            vertical(y);
            if (y % 8 == 7 && !callbacks.progress(float(y + 1) / float(height)))
                return false;
        }
        return true;
    }

private:
    int16_t* ringRow(int y) { return &ring_[size_t(y % ky_.length) * rowBytes_]; }

    void horizontal(int y)
    {
        const uint8_t* src = source_.row(y);
        const int width = source_.width();
        const int half = kx_.length / 2;
        int16_t* pad = pad_.data();
        for (int j = 0; j < width + kx_.length - 1; ++j) {
            int x = j - half;
            x = x < 0 ? 0 : (x >= width ? width - 1 : x);
            const uint8_t* p = src + size_t(x) * step_;
            for (int c = 0; c < step_; ++c)
                *pad++ = p[c];
        }
        const int16_t* taps[kMaxKernelLength + 1];
        for (int k = 0; k <= kx_.length; ++k)
            taps[k] = pad_.data() + size_t(k) * step_;
        int16_t* out = ringRow(y);
        size_t i = 0;
        if (kx_.simd)
            for (; i + 8 <= rowBytes_; i += 8) {
                __m128i low, high;
                sumEight(kx_, taps, i, low, high);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                                 _mm_packs_epi32(vectorX_(low), vectorX_(high)));
            }
        for (; i < rowBytes_; ++i)
            out[i] = int16_t(divideX_(sumOne(kx_, taps, i)));
    }

    void vertical(int y)
    {
        const int height = source_.height();
        const int half = ky_.length / 2;
        const int16_t* rows[kMaxKernelLength + 1];
        for (int k = 0; k < ky_.length; ++k) {
            int r = y + k - half;
            r = r < 0 ? 0 : (r >= height ? height - 1 : r);
            rows[k] = ringRow(r);
        }
        rows[ky_.length] = zeros_.data();
        uint8_t* out = destination_.row(y);
        size_t i = 0;
        if (ky_.simd)
            for (; i + 8 <= rowBytes_; i += 8) {
                __m128i low, high;
                sumEight(ky_, rows, i, low, high);
                const __m128i words = _mm_packs_epi32(vectorY_(low), vectorY_(high));
                _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i),
                                 _mm_packus_epi16(words, words));
            }
        for (; i < rowBytes_; ++i)
            out[i] = uint8_t(divideY_(sumOne(ky_, rows, i)));
    }

    const Image& source_;
    Image& destination_;
    const Kernel& kx_;
    const Kernel& ky_;
    ExactDivider divideX_;
    ExactDivider divideY_;
    VectorDivider vectorX_;
    VectorDivider vectorY_;
    int step_;
    size_t rowBytes_;
    std::vector<int16_t> pad_;
    std::vector<int16_t> ring_;
    std::vector<int16_t> zeros_;
};

} // namespace

bool separableConvolve(const Image& source, Image& destination, const uint16_t* weightsX,
                       int lengthX, const uint16_t* weightsY, int lengthY,
                       RenderCallbacks& callbacks)
{
    if (source.isEmpty() || destination.isEmpty() || destination.width() != source.width()
        || destination.height() != source.height() || destination.step() != source.step())
        return false;
    Kernel kx;
    Kernel ky;
    if (!kx.set(weightsX, lengthX) || !ky.set(weightsY, lengthY))
        return false;
    Convolver convolver(source, destination, kx, ky);
    convolver.allocate();
    return convolver.run(callbacks);
}
