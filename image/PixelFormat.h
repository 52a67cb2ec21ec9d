#pragma once

#include <cstdint>

// Pixel-format codes: bytes per pixel and the byte of each channel in a pixel.
enum : int {
    kFormatGrey = 2,  // one byte read as R = G = B
    kFormatBgr = 4,   // B, G, R
    kFormatRgb = 5,   // R, G, B
    kFormatBgra = 6,  // B, G, R, A (the Pixel order)
    kFormatRgba = 7,  // R, G, B, A
    kFormatBgrxa = 8, // B, G, R, extra, A
    kFormatRgbxa = 9, // R, G, B, extra, A
};

// Channel indexes of a channel layout.
enum : int {
    kChannelR = 0,
    kChannelG = 1,
    kChannelB = 2,
    kChannelA = 3,
    kChannelExtra = 4,
    kChannelLayoutSize = 8,
};

// A layout entry of 0x80 or more marks an absent channel.
const uint8_t kChannelAbsent = 0xFF;

// 1 for 2; 3 for 4 and 5; 4 for 6 and 7; 5 for 8 and 9; 0 for any other code.
int bytesPerPixelFor(int format);

// The byte offsets of R, G, B, A and extra that the format has, in that
// order, followed by the end value 0xFF (only the end value for an unlisted
// code). The table is static.
const uint8_t* channelLayoutFor(int format);
