#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/PaintIf.h"
#include "engine/brushes/PointBrush.h"

// "_SwapPoint": pushes Q into P and pulls P into Q with intensity, bias and
// lighten per direction.
class SwapPointBrush : public PointBrush {
public:
    SwapPointBrush();
    ~SwapPointBrush() override;

    bool dab(const Vec2& position, const Vec2& direction, float t) override;
    void prepare(int steps) override;

private:
    // One direction's channel mix for one (intensity, bias, lighten): the
    // two truncated halves of the formula for every byte value, so a dab
    // adds two table entries per channel instead of evaluating it.
    struct SwapTable {
        uint32_t key[3];
        bool filled;
        int32_t own[256];
        int32_t other[256];
    };
    // What a dab at one stroke fraction t needs: both sticky weights and
    // both tables. A stroke meets the same few t values in every stroke, so
    // a dab looks them up by t instead of redoing six lerps and two table
    // searches. An entry holds while `generation` matches: any table refill
    // or new parameter values make every entry stale.
    struct StepMix {
        uint32_t tBits;
        uint32_t generation;
        float pushSticky;
        float pullSticky;
        const SwapTable* push;
        const SwapTable* pull;
    };
    static const SwapTable& swapTable(std::vector<SwapTable>& tables, uint32_t& generation,
                                      float intensity, float bias, float lighten);
    const StepMix& stepMix(float t)
    {
        uint32_t bits;
        std::memcpy(&bits, &t, sizeof bits);
        if (!stepMixes_.empty()) {
            StepMix& mix = stepMixes_[(bits * 2654435761u) >> (32 - kStepMixSlotBits)];
            if (mix.generation == generation_ && mix.tBits == bits)
                return mix;
        } else {
            stepMixes_.resize(1 << kStepMixSlotBits);
        }
        return fillStepMix(stepMixes_[(bits * 2654435761u) >> (32 - kStepMixSlotBits)], t);
    }
    const StepMix& fillStepMix(StepMix& mix, float t);
    static const int kStepMixSlotBits = 5;
    static Pixel swapPixel(const Pixel& own, const Pixel& other, const SwapTable& table);
    // The dab past addressing: P and Q as read become the sticky colours at
    // t = 0 and are mixed with them; false when Paint If refuses, else the
    // two swapped pixels to write.
    // Inlined, so the pixels stay in registers between the read and the write.
    __attribute__((always_inline)) bool mixAndSwap(Pixel& p, Pixel& q, float t, Pixel& newP,
                                                   Pixel& newQ)
    {
        if (t == 0.0f) {
            stickyP = p;
            stickyQ = q;
        }
        const StepMix& mix = stepMix(t);
        mixSticky(p, stickyP, mix.pushSticky);
        mixSticky(q, stickyQ, mix.pullSticky);
        if (!paintsAll_ && !limit_(&p, &q))
            return false;
        newP = swapPixel(p, q, *mix.push);
        newQ = swapPixel(q, p, *mix.pull);
        return true;
    }
    template <bool Bgr>
    bool swapInside(const PixelLayout& layout, uint8_t* pAt, uint8_t* qAt, float t);

    // A few slots chosen by the values' bits: a stroke meets one triple per
    // step, and the default values give one triple for every step. Push and
    // pull keep their own slots so that one never evicts the other's table
    // while a StepMix is being built.
    std::vector<SwapTable> pushTables_;
    std::vector<SwapTable> pullTables_;
    std::vector<StepMix> stepMixes_;
    uint32_t generation_ = 1;
    ValuePair pushIntensity_, pushLighten_, pushBias_, pushSticky_;
    ValuePair pullIntensity_, pullLighten_, pullBias_, pullSticky_;
    // The default Paint If passes every dab: no call through the pointer.
    bool paintsAll_ = true;
    PaintIfPredicate limit_;
};
