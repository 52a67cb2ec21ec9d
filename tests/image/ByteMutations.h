#pragma once

#include <cstdint>
#include <vector>

// Deterministic byte mutations for the malformed-file corpora (the runtime
// generator is not used so that other tests' random sequences stay untouched).
inline std::vector<uint8_t> mutated(const std::vector<uint8_t>& data, uint32_t seed, int flips)
{
    std::vector<uint8_t> out = data;
    uint32_t state = seed;
    for (int i = 0; i < flips; ++i) {
        state = state * 1664525u + 1013904223u;
        const size_t at = (state >> 8) % out.size();
        state = state * 1664525u + 1013904223u;
        out[at] ^= uint8_t(1 + (state >> 24) % 255);
    }
    return out;
}
