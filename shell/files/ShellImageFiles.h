#pragma once

#include "foundation/String.h"

class Image;
class ImageCodec;

// The shell's image files. Types are those of imageTypeFor and
// extensionForType (image/codecs/ImageLoading.h).

// Opens PNG, JPEG, BMP and TGA files by MIME type, else by the path's
// extension. A one-byte grey picture comes back as B,G,R (format 4): a
// document holds 3 or 4 bytes per pixel, which every view, save type and
// plug-in takes.
bool shellLoadImageFile(const String& path, Image& image, const String& mime);

// Saves as the path's extension says: JPEG at jpegQuality() (at most 99),
// PNG, BMP or TGA; never over the old file unless the new one is complete.
bool shellSaveImageFile(const String& path, const Image& image);

// Whether the type can store the image: JPEG for 3 bytes per pixel; PNG, BMP
// and TGA for 3 or 4.
bool shellCanSaveImageAs(const Image& image, int type);

// Writes through the codec into "<path>._wr" beside the target and moves it
// over the target only when the codec succeeded, so a failed encode keeps
// the user's old file. A read-only target or a folder is refused untouched.
bool saveImageBeside(ImageCodec& codec, const Image& image, const String& path);

// Widens a one-byte grey image to B,G,R in place; other images stay as they
// are. False when the new pixels cannot be had (the image is left empty).
bool widenGreyToBgr(Image& image);
