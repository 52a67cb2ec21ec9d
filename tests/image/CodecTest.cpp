#include "ImageFileBuilders.h"

#include "foundation/FixedBufferReader.h"
#include "image/CopyRegion.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/BmpCodec.h"
#include "image/codecs/ImageLoading.h"
#include "image/codecs/PngCodec.h"
#include "image/codecs/TgaCodec.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Expected pixel of the builders' pattern as a given file kind stores it.
void expectPattern(const Image& image, int width, int height, bool grey, bool alpha)
{
    ASSERT_EQ(width, image.width());
    ASSERT_EQ(height, image.height());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgba e = patternPixel(x, y);
            const Pixel p = image.getPixel(x, y);
            if (grey) {
                ASSERT_EQ(e.g, p.r) << x << "," << y;
                ASSERT_EQ(e.g, p.g);
                ASSERT_EQ(e.g, p.b);
            } else {
                ASSERT_EQ(e.r, p.r) << x << "," << y;
                ASSERT_EQ(e.g, p.g) << x << "," << y;
                ASSERT_EQ(e.b, p.b) << x << "," << y;
            }
            ASSERT_EQ(alpha ? e.a : 255, p.a) << x << "," << y;
        }
}

void fillPattern(Image& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const Rgba e = patternPixel(x, y);
            image.setPixel(x, y, Pixel(e.r, e.g, e.b, e.a));
        }
}

bool samePixels(const Image& a, const Image& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.getPixel(x, y) != b.getPixel(x, y))
                return false;
    return true;
}

bool readPngBytes(Image& image, const Bytes& data)
{
    FixedBufferReader reader(data.data(), unsigned(data.size()));
    return readPng(image, reader);
}

} // namespace

TEST(ImageTypes, ByFileNameAndMime)
{
    EXPECT_EQ(kImageTypeJpeg, imageTypeFromFileName("C:/photos/Holiday.JPEG"));
    EXPECT_EQ(kImageTypeJpeg, imageTypeFromFileName("a.jfif"));
    EXPECT_EQ(kImageTypePng, imageTypeFromFileName("dir.v2/x.png"));
    EXPECT_EQ(kImageTypeBmp, imageTypeFromFileName("x.dib"));
    EXPECT_EQ(kImageTypeTga, imageTypeFromFileName("picture.Tga"));
    EXPECT_EQ(kImageTypeRaw, imageTypeFromFileName("x.RAW"));
    EXPECT_EQ(kImageTypeNone, imageTypeFromFileName("noextension"));
    EXPECT_EQ(kImageTypeNone, imageTypeFromFileName("x.gif"));
    // The whole path counts as the extension when there is no dot.
    EXPECT_EQ(kImageTypePng, imageTypeFromFileName("png"));

    EXPECT_EQ(kImageTypeJpeg, imageTypeForMime("image/jpg"));
    EXPECT_EQ(kImageTypePng, imageTypeForMime("image/png"));
    EXPECT_EQ(kImageTypeNone, imageTypeForMime("image/PNG"));
    EXPECT_EQ(kImageTypePng, imageTypeFor("x.bmp", "image/png"));
    EXPECT_EQ(kImageTypeBmp, imageTypeFor("x.bmp", "text/plain"));
    EXPECT_EQ(kImageTypeTga, imageTypeFor("x.tga", ""));

    EXPECT_EQ("jpg", extensionForType(1));
    EXPECT_EQ("tga", extensionForType(4));
    EXPECT_EQ("raw", extensionForType(5));
    EXPECT_EQ("", extensionForType(0));
    EXPECT_EQ("", extensionForType(6));
}

TEST(PngCodec, ReadsGreyRgbRgbaAndInterlaced)
{
    struct Case { int colourType; bool interlaced; int format; };
    const Case cases[] = {{0, false, 2}, {2, false, 4}, {6, false, 6}, {0, true, 2}, {2, true, 4}, {6, true, 6}};
    for (const Case& c : cases)
        for (int width : {1, 5, 13}) {
            const int height = width == 1 ? 3 : 9;
            OwnedBitmap image;
            ASSERT_TRUE(readPngBytes(image, makePng(width, height, c.colourType, 8, c.interlaced)))
                << c.colourType << " " << c.interlaced << " " << width;
            EXPECT_EQ(c.format, image.format());
            expectPattern(image, width, height, c.colourType == 0, c.colourType == 6);
        }
}

TEST(PngCodec, RefusesOtherDepthsAndColourTypes)
{
    OwnedBitmap image;
    EXPECT_FALSE(readPngBytes(image, makePng(4, 4, 2, 16)));
    EXPECT_FALSE(readPngBytes(image, makePng(4, 4, 6, 16)));
    EXPECT_FALSE(readPngBytes(image, makePng(4, 4, 3, 8)));
    EXPECT_FALSE(readPngBytes(image, makePng(4, 4, 4, 8)));
    EXPECT_FALSE(readPngBytes(image, makePng(4, 4, 0, 1)));
    EXPECT_FALSE(readPngBytes(image, makePng(4, 4, 0, 4)));
}

TEST(PngCodec, SaveLoadRoundTripsEveryFormat)
{
    for (int format : {2, 4, 5, 6, 7}) {
        OwnedBitmap source;
        ASSERT_TRUE(source.create(7, 5, format));
        fillPattern(source);
        ASSERT_TRUE(canSavePng(source));
        const std::string path = scratchFolder() + "roundtrip.png";
        ASSERT_TRUE(PngCodec().save(source, path)) << format;
        OwnedBitmap loaded;
        ASSERT_TRUE(loaded.loadFile(path)) << format;
        // R,G,B memory order comes back in the B,G,R order the reader makes.
        const int expected = format == 5 ? 4 : format == 7 ? 6 : format;
        EXPECT_EQ(expected, loaded.format());
        EXPECT_TRUE(samePixels(source, loaded)) << format;
    }
    OwnedBitmap fiveBytes;
    ASSERT_TRUE(fiveBytes.create(2, 2, 8));
    EXPECT_FALSE(canSavePng(fiveBytes));
    EXPECT_FALSE(PngCodec().save(fiveBytes, scratchFolder() + "five.png"));
    OwnedBitmap empty;
    EXPECT_FALSE(PngCodec().save(empty, scratchFolder() + "empty.png"));
    OwnedBitmap small(2, 2, 4);
    EXPECT_FALSE(PngCodec().save(small, scratchFolder() + "missing\\folder\\x.png"));
    EXPECT_FALSE(PngCodec().load(empty, scratchFolder() + "does-not-exist.png"));
}

TEST(ImageLoading, ChoosesTheDecoderByMimeThenExtension)
{
    const std::string png = writeScratchFile("picture.dat", makePng(3, 2, 2));
    OwnedBitmap image;
    EXPECT_TRUE(loadImageFile(png, image, "image/png"));
    EXPECT_EQ(3, image.width());
    EXPECT_FALSE(loadImageFile(png, image, "image/jpeg"));
    EXPECT_FALSE(loadImageFile(png, image, ""));
    const std::string tga = writeScratchFile("picture.TGA", makeTga(3, 2, 24, false));
    EXPECT_TRUE(image.loadFile(tga));
    const std::string bmp = writeScratchFile("picture.bmp", makeBmp(3, 2, 24));
    EXPECT_TRUE(loadImageFile(bmp, image, "application/octet-stream"));
    expectPattern(image, 3, 2, false, false);

    const Bytes data = makePng(4, 4, 6);
    FixedBufferReader reader(data.data(), unsigned(data.size()));
    EXPECT_TRUE(image.loadFromStream(reader, kImageTypePng));
    FixedBufferReader again(data.data(), unsigned(data.size()));
    EXPECT_FALSE(loadImageOfType(again, image, kImageTypeBmp));
}

TEST(BmpCodec, Reads24And32BitsAtOddWidths)
{
    for (int bits : {24, 32})
        for (int width : {1, 3, 5, 7})
            for (int height : {4, -4})
                for (int gap : {0, 12}) {
                    const std::string path = writeScratchFile("odd.bmp", makeBmp(width, height, bits, gap));
                    OwnedBitmap image;
                    ASSERT_TRUE(BmpCodec().load(image, path)) << bits << " " << width << " " << height << " " << gap;
                    EXPECT_EQ(bits == 24 ? 4 : 6, image.format());
                    expectPattern(image, width, 4, false, bits == 32);
                }
}

TEST(BmpCodec, ZeroAlphaReadsOpaqueAndSavesRoundTrip)
{
    const std::string path = writeScratchFile("noalpha.bmp", makeBmp(5, 3, 32, 0, true));
    OwnedBitmap image;
    ASSERT_TRUE(BmpCodec().load(image, path));
    expectPattern(image, 5, 3, false, false);

    // Odd widths need row padding at 24 bits; the file is bottom-up, as
    // other programs expect of a positive height.
    for (int format : {4, 6}) {
        OwnedBitmap source(5, 3, format);
        fillPattern(source);
        const std::string out = scratchFolder() + "out.bmp";
        ASSERT_TRUE(BmpCodec().save(source, out)) << format;
        const Bytes written = readFileBytes(out);
        const Bytes expected = makeBmp(5, 3, format == 4 ? 24 : 32);
        ASSERT_EQ(expected.size(), written.size());
        EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 54, written.begin())) << format;
        OwnedBitmap back;
        ASSERT_TRUE(BmpCodec().load(back, out));
        expectPattern(back, 5, 3, false, format == 6);
    }
    OwnedBitmap grey(2, 2, 2), rgb(2, 2, 5), empty;
    EXPECT_FALSE(BmpCodec().save(grey, scratchFolder() + "grey.bmp"));
    EXPECT_FALSE(BmpCodec().save(rgb, scratchFolder() + "rgb.bmp"));
    EXPECT_FALSE(BmpCodec().save(empty, scratchFolder() + "empty.bmp"));
}

TEST(TgaCodec, ReadsBothRowOrdersAndSkipsTheIdField)
{
    for (int bits : {24, 32})
        for (bool topDown : {false, true})
            for (int idLength : {0, 7}) {
                const std::string path = writeScratchFile("t.tga", makeTga(5, 3, bits, topDown, idLength));
                OwnedBitmap image;
                ASSERT_TRUE(TgaCodec().load(image, path)) << bits << topDown << idLength;
                EXPECT_EQ(bits == 24 ? 4 : 6, image.format());
                expectPattern(image, 5, 3, false, bits == 32);
            }
    // Width 5 at 24 bits: 15 bytes per file row into rows of stride 16.
    OwnedBitmap image;
    ASSERT_TRUE(TgaCodec().load(image, writeScratchFile("w5.tga", makeTga(5, 2, 24, true))));
    EXPECT_EQ(16u, image.stride());
}

TEST(TgaCodec, SaveWritesTopDownAndRoundTripsEveryFormat)
{
    for (int format : {4, 5, 6, 7}) {
        OwnedBitmap source;
        ASSERT_TRUE(source.create(5, 4, format));
        fillPattern(source);
        const std::string path = scratchFolder() + "saved.tga";
        ASSERT_TRUE(TgaCodec().save(source, path));
        const Bytes bytes = readFileBytes(path);
        ASSERT_EQ(18u + 5 * 4 * source.step(), bytes.size());
        EXPECT_EQ(0x20, bytes[17]);
        EXPECT_EQ(8 * source.step(), bytes[16]);
        // First stored pixel is the top-left one, in B, G, R order.
        const Rgba first = patternPixel(0, 0);
        EXPECT_EQ(first.b, bytes[18]);
        EXPECT_EQ(first.r, bytes[20]);
        OwnedBitmap loaded;
        ASSERT_TRUE(loaded.loadFile(path));
        EXPECT_TRUE(samePixels(source, loaded)) << format;
    }
    OwnedBitmap grey;
    ASSERT_TRUE(grey.create(3, 3, 2));
    EXPECT_FALSE(canSaveTga(grey));
    EXPECT_FALSE(TgaCodec().save(grey, scratchFolder() + "grey.tga"));
}

TEST(DataUri, DecodesPngAndRefusesOtherPrefixes)
{
    const Bytes png = makePng(6, 4, 6);
    // Base64 with line breaks, as the encoder writes it.
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < png.size(); i += 3) {
        const uint32_t v = (png[i] << 16) | ((i + 1 < png.size() ? png[i + 1] : 0) << 8)
                         | (i + 2 < png.size() ? png[i + 2] : 0);
        text += alphabet[(v >> 18) & 63];
        text += alphabet[(v >> 12) & 63];
        text += i + 1 < png.size() ? alphabet[(v >> 6) & 63] : '=';
        text += i + 2 < png.size() ? alphabet[v & 63] : '=';
        if (i % 57 == 54)
            text += "\n";
    }
    OwnedBitmap image;
    EXPECT_TRUE(imageFromDataUri("data:image/png;base64," + text, image));
    expectPattern(image, 6, 4, false, true);
    EXPECT_FALSE(imageFromDataUri("data:image/jpeg;base64," + text, image));
    EXPECT_FALSE(imageFromDataUri("DATA:image/png;base64," + text, image));
    EXPECT_FALSE(imageFromDataUri("data:image/png;base64,", image));
    EXPECT_FALSE(imageFromDataUri("data:image/png;base64," + text.substr(0, text.size() / 2), image));
    EXPECT_FALSE(imageFromDataUri("data:image/png;base64,!!!!", image));
    EXPECT_FALSE(imageFromDataUri("", image));
}

namespace {

class RecordingConsumer : public RegionConsumer
{
public:
    bool consume(CopyRegion& region, void* argument) override
    {
        calls++;
        sourceRect = region.sourceRect;
        point = region.point;
        sourceWidth = region.source->width();
        copiedPixel = region.destination->getPixel(1, 1);
        return argument != nullptr;
    }
    int calls = 0;
    Rect sourceRect;
    Point point;
    int sourceWidth = 0;
    Pixel copiedPixel;
};

} // namespace

TEST(ImageLoading, RegionOfAFile)
{
    const std::string path = writeScratchFile("region.tga", makeTga(6, 5, 24, true));
    RecordingConsumer consumer;
    int token = 0;
    EXPECT_TRUE(loadImageRegion(consumer, path, nullptr, &token));
    EXPECT_EQ(1, consumer.calls);
    EXPECT_EQ(6, consumer.sourceWidth);
    EXPECT_EQ(6, consumer.sourceRect.right);
    EXPECT_EQ(5, consumer.sourceRect.bottom);
    EXPECT_EQ(0, consumer.point.x);
    const Rgba e = patternPixel(1, 1);
    EXPECT_EQ(Pixel(e.r, e.g, e.b, 255), consumer.copiedPixel);

    // A rectangle reaching past the image is clipped; the point is its corner.
    const Rect part(4, 2, 10, 4);
    EXPECT_FALSE(loadImageRegion(consumer, path, &part, nullptr));
    EXPECT_EQ(2, consumer.calls);
    EXPECT_EQ(4, consumer.sourceRect.left);
    EXPECT_EQ(6, consumer.sourceRect.right);
    EXPECT_EQ(4, consumer.sourceRect.bottom);
    EXPECT_EQ(4, consumer.point.x);
    EXPECT_EQ(2, consumer.point.y);

    EXPECT_FALSE(loadImageRegion(consumer, scratchFolder() + "missing.tga", nullptr, &token));
    EXPECT_EQ(2, consumer.calls);
}
