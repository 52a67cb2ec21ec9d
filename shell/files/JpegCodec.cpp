#include "shell/files/JpegCodec.h"

#include "foundation/FileReader.h"
#include "foundation/FileWriter.h"
#include "image/Image.h"

bool JpegCodec::load(Image& image, const String& path)
{
    try {
        FileReader reader(path);
        const uint32_t size = reader.size();
        return readJpeg(image, reader, size);
    } catch (...) {
        return false;
    }
}

bool JpegCodec::save(const Image& image, const String& path)
{
    if ((image.format() != kFormatBgr && image.format() != kFormatBgra) || image.isEmpty())
        return false;
    try {
        FileWriter writer(path, 0);
        return writeJpeg(image, writer, quality);
    } catch (...) {
        return false;
    }
}
