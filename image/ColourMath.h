#pragma once

#include <cstdint>

#include "foundation/String.h"
#include "image/Pixel.h"

class PropertyReader;

// Colour conversions and mixing on packed pixels. Hue is in turns (1.0 is
// a full turn, red at 0); saturation and value are in [0, 1].

// A channel byte c as a float: c * 0.0039064027 (about 1/255.99).
const float kColourByteScale = 0.0039064027f;

float channelToFloat(uint8_t c);
// Nearest integer (ties to even) to x * 255.99 - 0.5 in single precision,
// clamped to 0..255; NaN gives 0.
uint8_t floatToChannel(float x);

void rgbToHsv(float r, float g, float b, float& h, float& s, float& v, float defaultHue);
// Any hue wraps into one turn.
void hsvToRgb(float& r, float& g, float& b, float h, float s, float v);

float pixelHue(const Pixel& p);
float pixelSaturation(const Pixel& p);
float pixelValue(const Pixel& p);
uint8_t pixelMaxChannel(const Pixel& p);
void pixelToHsv(const Pixel& p, float& h, float& s, float& v);

// Mixing: R, G, B move from a toward b; alpha is a's unless said.
Pixel lerpPixelRgb(const Pixel& a, const Pixel& b, float t);
Pixel lerpPixelRgb3(const Pixel& a, const Pixel& b, float tR, float tG, float tB);
// Alpha mixed as well.
Pixel lerpPixelRgba(const Pixel& a, const Pixel& b, float t);
// Mixed in HSV; the hue moves the short way round.
Pixel blendPixelHsv(const Pixel& a, const Pixel& b, float tH, float tS, float tV);

// In-place changes of R, G, B; alpha kept unless said.
void scalePixelRgb(Pixel& p, float f);
void setPixelHue(Pixel& p, float h);
void setPixelSaturation(Pixel& p, float s);
void setPixelValue(Pixel& p, float v);
void shiftPixelHue(Pixel& p, float dh);
void setPixelHsv(Pixel& p, float h, float s, float v);
void setPixelHsva(Pixel& p, float h, float s, float v, uint8_t alpha);

// Keys prefix + ".red", ".green", ".blue", ".alpha" ("red" and so on for an
// empty prefix), defaults 0, 0, 0, 255; each value's low byte is used.
Pixel pixelFromReader(const String& prefix, const PropertyReader& reader);
// Opaque white, then parsePixelText.
Pixel pixelFromText(const String& text);
// "#rrggbbaa" with every missing digit read as "f"; any other text is a
// number ("0x" hexadecimal, else decimal) taken as the 32-bit word
// 0xAARRGGBB.
void parsePixelText(Pixel& p, const String& text);
