#pragma once

// The byte arithmetic the blend and composite kernels are written in. The
// shifts of negative values are arithmetic on purpose: stored presets were
// painted with exactly these results.
namespace kernel {

inline int m(int x, int y) { return (x * y + 255) >> 8; }
inline int top(int x) { return x < 255 ? x : 255; }
inline int clampByte(int x) { return x < 0 ? 0 : (x > 255 ? 255 : x); }
inline int minI(int x, int y) { return x < y ? x : y; }
inline int maxI(int x, int y) { return x > y ? x : y; }
// d steps toward t by w / 256, rounded: the default blend, and the last step
// of most kernels. Inline, as the stamps' fast paths call it per channel.
inline int lerpTo(int t, int d, int w) { return d + (((t - d) * w + 127) >> 8); }
inline unsigned char toByte(int x) { return static_cast<unsigned char>(x); }

} // namespace kernel
