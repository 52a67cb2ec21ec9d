#pragma once

#include <cstdlib>

#include "framework/GuiTestSupport.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/PngCodec.h"

namespace guitest {

// Writes the capture as a PNG file; false when it could not be written.
inline bool saveCapture(const Capture& capture, const String& path)
{
    OwnedBitmap picture(capture.width, capture.height, 4);
    if (picture.isEmpty())
        return false;
    for (int y = 0; y < capture.height; ++y)
        for (int x = 0; x < capture.width; ++x) {
            const unsigned char* s = &capture.pixels[(size_t(y) * capture.width + x) * 4];
            unsigned char* d = picture.pixelAddress(x, y);
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    return PngCodec().save(picture, path);
}

// With QX_SCREENSHOT_DIR set, saves the capture there as <name>.png, for
// people to look at. True when nothing was asked or the file was written.
inline bool saveScreenshot(const Capture& capture, const char* name)
{
    const char* folder = std::getenv("QX_SCREENSHOT_DIR");
    if (!folder || !*folder || capture.width <= 0)
        return true;
    return saveCapture(capture, String(folder) + "\\" + name + ".png");
}

inline bool screenshotsAsked()
{
    const char* folder = std::getenv("QX_SCREENSHOT_DIR");
    return folder && *folder;
}

} // namespace guitest
