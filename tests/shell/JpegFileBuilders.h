#pragma once

// JPEG files made straight through libjpeg, independent of the codec under
// test (this file's source must not see <windows.h>; see JpegLibrary.cpp).

#include <cstdint>
#include <vector>

typedef std::vector<uint8_t> Bytes;

struct JpegSpec
{
    int width = 16;
    int height = 16;
    int components = 3; // 1 grey, 3 YCbCr, 4 CMYK
    int quality = 90;
    bool progressive = false;
    bool arithmetic = false;
    bool subsampled = true; // 4:2:0 for colour
    bool storeRgb = false;  // colour kept as R,G,B rather than YCbCr
    int restartRows = 0;
    // Grey only: one progressive scan per coefficient and bit, 704 in all.
    bool everyBitItsOwnScan = false;
};

// The pixel the builder writes at (x, y), channel c: smooth so that lossy
// round trips stay close.
uint8_t jpegPatternSample(int x, int y, int c);
Bytes makeJpeg(const JpegSpec& shape);

// Offsets of every marker (the 0xFF byte) up to the first scan's data, and
// the offset of the start-of-scan marker.
std::vector<size_t> jpegMarkerOffsets(const Bytes& jpeg);
