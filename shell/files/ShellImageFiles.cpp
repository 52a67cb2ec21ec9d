#include "shell/files/ShellImageFiles.h"

#include "foundation/FileSystem.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/BmpCodec.h"
#include "image/codecs/ImageLoading.h"
#include "image/codecs/PngCodec.h"
#include "image/codecs/TgaCodec.h"
#include "shell/files/ApplicationOptions.h"
#include "shell/files/JpegCodec.h"

#include <algorithm>
#include <cstring>

#include <windows.h>

namespace {

int savingQuality()
{
    return std::min(jpegQuality(), 99);
}

} // namespace

bool widenGreyToBgr(Image& image)
{
    if (image.format() != kFormatGrey || image.isEmpty())
        return true;
    const int width = image.width(), height = image.height();
    OwnedBitmap grey(width, height, kFormatGrey);
    if (grey.isEmpty())
        return false;
    for (int y = 0; y < height; ++y)
        std::memcpy(grey.row(y), image.row(y), size_t(width));
    if (!image.create(width, height, kFormatBgr) || image.format() != kFormatBgr || image.width() != width
        || image.height() != height || image.isEmpty())
        return false;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = grey.row(y);
        uint8_t* out = image.row(y);
        for (int x = 0; x < width; ++x, out += 3)
            out[0] = out[1] = out[2] = in[x];
    }
    return true;
}

bool shellLoadImageFile(const String& path, Image& image, const String& mime)
{
    bool loaded;
    switch (imageTypeFor(path, mime)) {
    case kImageTypeJpeg: loaded = JpegCodec(savingQuality()).load(image, path); break;
    case kImageTypePng: loaded = PngCodec().load(image, path); break;
    case kImageTypeBmp: loaded = BmpCodec().load(image, path); break;
    case kImageTypeTga: loaded = TgaCodec().load(image, path); break;
    default: return false;
    }
    return loaded && widenGreyToBgr(image);
}

bool shellCanSaveImageAs(const Image& image, int type)
{
    switch (type) {
    case kImageTypeJpeg: return canSaveJpeg(image);
    case kImageTypePng: return (image.step() == 3 || image.step() == 4) && canSavePng(image);
    case kImageTypeBmp: return canSaveBmp(image);
    case kImageTypeTga: return canSaveTga(image);
    default: return false;
    }
}

bool saveImageBeside(ImageCodec& codec, const Image& image, const String& path)
{
    try {
        if (path.empty())
            return false;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES
            && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
            return false;
        const String temporary = path + "._wr";
        bool written;
        try {
            written = codec.save(image, temporary);
        } catch (...) {
            written = false;
        }
        if (written && moveFile(temporary, path, true))
            return true;
        deleteFile(temporary);
        return false;
    } catch (...) {
        return false;
    }
}

bool shellSaveImageFile(const String& path, const Image& image)
{
    switch (imageTypeFromFileName(path)) {
    case kImageTypeJpeg: {
        JpegCodec codec(savingQuality());
        return saveImageBeside(codec, image, path);
    }
    case kImageTypePng: {
        PngCodec codec;
        return saveImageBeside(codec, image, path);
    }
    case kImageTypeBmp: {
        BmpCodec codec;
        return saveImageBeside(codec, image, path);
    }
    case kImageTypeTga: {
        TgaCodec codec;
        return saveImageBeside(codec, image, path);
    }
    default:
        return false;
    }
}
