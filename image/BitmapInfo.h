#pragma once

#include <windows.h>

// Fills a top-down BI_RGB header (no colour table) for 8, 24 or 32 bits per
// pixel. False, with `out` untouched, for any other depth, an empty size or a
// size whose byte count does not fit the header.
bool buildBitmapInfo(BITMAPINFO& out, int width, int height, int bytesPerPixel, int stride);
