#include "GdiTestSupport.h"

#include "foundation/Exception.h"
#include "image/BinResource.h"
#include "image/DibImage.h"
#include "image/DibSectionImage.h"
#include "image/GdiBridge.h"
#include "image/MemoryDc.h"
#include "image/OwnedBitmap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

Pixel samplePixel(int x, int y)
{
    return Pixel(uint8_t(17 * x + 3), uint8_t(29 * y + 40), uint8_t(200 - 11 * x - 7 * y), uint8_t(60 + 13 * x + 5 * y));
}

void fillSample(Image& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, samplePixel(x, y));
}

bool sameColour(const Pixel& a, const Pixel& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

bool closeTo(const Pixel& a, const Pixel& b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// A packed DIB built by hand.
std::vector<uint8_t> packedDib(int width, int height, int bits, DWORD compression, const std::vector<uint32_t>& extra,
                               size_t pixelBytes, DWORD clrUsed = 0)
{
    BITMAPINFOHEADER h;
    std::memset(&h, 0, sizeof h);
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = WORD(bits);
    h.biCompression = compression;
    h.biClrUsed = clrUsed;
    std::vector<uint8_t> block(sizeof h + 4 * extra.size() + pixelBytes, 0);
    std::memcpy(block.data(), &h, sizeof h);
    std::memcpy(block.data() + sizeof h, extra.data(), 4 * extra.size());
    return block;
}

HGLOBAL toGlobal(const std::vector<uint8_t>& bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    void* p = GlobalLock(block);
    std::memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

bool readDibBytes(Image& image, const std::vector<uint8_t>& bytes)
{
    HGLOBAL block = toGlobal(bytes);
    const bool ok = readPackedDib(image, block);
    // The lock taken by the reader is released on every path.
    EXPECT_EQ(0u, GlobalFlags(block) & GMEM_LOCKCOUNT);
    GlobalFree(block);
    return ok;
}

} // namespace

TEST(GdiBridge, HeadersDescribeImagesTopDownWithAGreyTableForOneByte)
{
    OwnedBitmap grey(3, 2, 2);
    GdiBitmapHeader header;
    ASSERT_TRUE(buildGdiHeader(header, grey));
    EXPECT_EQ(8, header.header.biBitCount);
    EXPECT_EQ(-2, header.header.biHeight);
    EXPECT_EQ(256u, header.header.biClrUsed);
    EXPECT_EQ(0x80, header.colours[128].rgbRed);
    EXPECT_EQ(0x80, header.colours[128].rgbBlue);
    EXPECT_EQ(40u + 1024u, header.size());

    OwnedBitmap bgr(3, 2, 4);
    ASSERT_TRUE(buildGdiHeader(header, bgr));
    EXPECT_EQ(24u, header.header.biSizeImage);
    EXPECT_EQ(0u, header.header.biClrUsed);

    OwnedBitmap fiveBytes(3, 2, 8);
    EXPECT_FALSE(buildGdiHeader(header, fiveBytes));
    OwnedBitmap empty;
    EXPECT_FALSE(buildGdiHeader(header, empty));
}

TEST(GdiBridge, DrawsEqualSizesExactlyInEveryFormat)
{
    for (int format : {2, 4, 5, 6, 7}) {
        DibImage image(5, 4, format);
        fillSample(image);
        DibSectionImage target(5, 4, 4);
        ASSERT_TRUE(target.dc());
        const RECT whole = {0, 0, 5, 4};
        ASSERT_TRUE(image.draw(target.dc(), whole, whole)) << format;
        GdiFlush();
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x)
                ASSERT_TRUE(sameColour(image.getPixel(x, y), target.getPixel(x, y))) << format << " " << x << "," << y;
    }
    // A part of the image to a point: the same pixels, moved.
    DibImage image(6, 5, 4);
    fillSample(image);
    DibSectionImage target(6, 5, 4);
    target.fill(Pixel(0, 0, 0, 255));
    const RECT source = {2, 1, 5, 4};
    const RECT destination = {0, 2, 3, 5};
    ASSERT_TRUE(drawImage(image, target.dc(), source, destination));
    GdiFlush();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_TRUE(sameColour(image.getPixel(2 + x, 1 + y), target.getPixel(x, 2 + y))) << x << "," << y;
    EXPECT_TRUE(sameColour(Pixel(0, 0, 0, 255), target.getPixel(4, 0)));

    const POINT at = {1, 1};
    DibImage small(2, 2, 4);
    fillSample(small);
    ASSERT_TRUE(small.drawAt(target.dc(), at));
    GdiFlush();
    EXPECT_TRUE(sameColour(small.getPixel(1, 0), target.getPixel(2, 1)));
}

TEST(GdiBridge, StretchedDrawingKeepsTheGeometry)
{
    // Wine's halftone stretching differs from Windows in detail: check where
    // each colour lands, away from the seams.
    DibImage image(4, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, x < 2 ? Pixel(255, 0, 0, 255) : Pixel(0, 0, 255, 255));
    DibSectionImage target(16, 8, 4);
    target.fill(Pixel(0, 255, 0, 255));
    const RECT destination = {0, 0, 12, 8};
    ASSERT_TRUE(drawImageScaled(image, target.dc(), destination));
    GdiFlush();
    EXPECT_TRUE(closeTo(Pixel(255, 0, 0, 255), target.getPixel(1, 1), 40));
    EXPECT_TRUE(closeTo(Pixel(255, 0, 0, 255), target.getPixel(3, 6), 40));
    EXPECT_TRUE(closeTo(Pixel(0, 0, 255, 255), target.getPixel(10, 1), 40));
    EXPECT_TRUE(closeTo(Pixel(0, 0, 255, 255), target.getPixel(8, 6), 40));
    EXPECT_TRUE(closeTo(Pixel(0, 255, 0, 255), target.getPixel(14, 4), 0));
}

TEST(GdiBridge, DeviceBitmapsAndScanLines)
{
    DibImage image(7, 3, 4);
    fillSample(image);
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = image.createDdb(screen);
    ASSERT_TRUE(ddb != nullptr);
    const int all[2] = {0, 3};
    const int tooMany[2] = {1, 3};
    EXPECT_TRUE(image.setDIBits(screen, ddb, all));
    EXPECT_FALSE(image.setDIBits(screen, ddb, tooMany));
    DibSectionImage copy(7, 3, 4);
    MemoryDc memory(ddb, true, screen);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(BitBlt(copy.dc(), 0, 0, 7, 3, memory.dc(), 0, 0, SRCCOPY));
    GdiFlush();
    EXPECT_TRUE(sameColour(image.getPixel(0, 0), copy.getPixel(0, 0)));
    EXPECT_TRUE(sameColour(image.getPixel(6, 2), copy.getPixel(6, 2)));
}

TEST(GdiBridge, AlphaBlendingAndCapture)
{
    Pixel p(200, 100, 50, 128);
    OwnedBitmap one(1, 1, 6);
    one.setPixel(0, 0, p);
    premultiplyAlpha(one);
    EXPECT_EQ(Pixel(100, 50, 25, 128), one.getPixel(0, 0));
    OwnedBitmap three(1, 1, 4);
    three.setPixel(0, 0, Pixel(200, 100, 50, 255));
    premultiplyAlpha(three);
    EXPECT_EQ(Pixel(200, 100, 50, 255), three.getPixel(0, 0));

    // Software alpha over a blue background.
    DibSectionImage background(8, 8, 4);
    background.fill(Pixel(0, 0, 255, 255));
    OwnedBitmap overlay(4, 4, 6);
    overlay.fill(Pixel(255, 0, 0, 128));
    overlay.setPixel(0, 0, Pixel(255, 0, 0, 0));
    const RECT area = {2, 2, 6, 6};
    ASSERT_TRUE(drawBlended(overlay, background.dc(), area));
    GdiFlush();
    EXPECT_TRUE(closeTo(Pixel(128, 0, 127, 255), background.getPixel(3, 3), 2));
    EXPECT_TRUE(sameColour(Pixel(0, 0, 255, 255), background.getPixel(2, 2)));
    EXPECT_TRUE(sameColour(Pixel(0, 0, 255, 255), background.getPixel(6, 6)));

    // AlphaBlend of a premultiplied section.
    DibSectionImage sprite(2, 2, 6);
    sprite.fill(Pixel(255, 255, 255, 255));
    sprite.setPixel(1, 1, Pixel(0, 0, 0, 0));
    GdiFlush();
    DibSectionImage target(4, 4, 4);
    target.fill(Pixel(0, 0, 100, 255));
    const RECT source = {0, 0, 2, 2};
    const RECT placed = {1, 1, 3, 3};
    ASSERT_TRUE(sprite.alphaBlendTo(target.dc(), source, placed));
    GdiFlush();
    EXPECT_TRUE(closeTo(Pixel(255, 255, 255, 255), target.getPixel(1, 1), 1));
    EXPECT_TRUE(closeTo(Pixel(0, 0, 100, 255), target.getPixel(2, 2), 1));
    EXPECT_TRUE(closeTo(Pixel(0, 0, 100, 255), target.getPixel(0, 0), 0));
    // Without per-pixel alpha on the device the image is copied opaque.
    target.fill(Pixel(0, 0, 100, 255));
    const POINT at = {1, 1};
    ASSERT_TRUE(sprite.alphaBlendAt(target.dc(), at));
    GdiFlush();
    const bool deviceBlends = (GetDeviceCaps(target.dc(), SHADEBLENDCAPS) & SB_PIXEL_ALPHA) != 0;
    EXPECT_TRUE(closeTo(deviceBlends ? Pixel(0, 0, 100, 255) : Pixel(0, 0, 0, 255), target.getPixel(2, 2), 1));
    ASSERT_TRUE(sprite.alphaBlendAtOrigin(target.dc()));
    const RECT stretched = {0, 0, 4, 4};
    ASSERT_TRUE(sprite.alphaBlendInto(target.dc(), stretched));

    DibSectionImage captured;
    const RECT region = {1, 2, 4, 4};
    ASSERT_TRUE(captured.captureFrom(background.dc(), region));
    EXPECT_EQ(3, captured.width());
    EXPECT_EQ(2, captured.height());
    EXPECT_EQ(4, captured.format());
    EXPECT_TRUE(sameColour(background.getPixel(1, 2), captured.getPixel(0, 0)));
    EXPECT_TRUE(sameColour(background.getPixel(3, 3), captured.getPixel(2, 1)));
}

TEST(GdiClipboard, RoundTripsEveryFormat)
{
    TestWindow window;
    ASSERT_TRUE(window.handle());
    for (int format : {2, 4, 5, 6, 7}) {
        DibImage image(5, 3, format);
        fillSample(image);
        ASSERT_TRUE(copyImageToClipboard(image, window.handle())) << format;

        ASSERT_TRUE(openClipboardPatiently(window.handle()));
        HGLOBAL block = GetClipboardData(CF_DIB);
        ASSERT_TRUE(block != nullptr);
        const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(block));
        // Stored bottom-up: positive height, the last row first.
        EXPECT_EQ(3, header->biHeight);
        if (format != 2) {
            const uint8_t* firstStored = reinterpret_cast<const uint8_t*>(header + 1);
            const Pixel last = image.getPixel(0, 2);
            EXPECT_EQ(last.b, firstStored[0]);
            EXPECT_EQ(last.r, firstStored[2]);
        }
        GlobalUnlock(block);
        OwnedBitmap pasted;
        ASSERT_TRUE(readPackedDib(pasted, block)) << format;
        CloseClipboard();

        const int expected = format == 5 ? 4 : format == 7 ? 6 : format;
        EXPECT_EQ(expected, pasted.format());
        ASSERT_EQ(5, pasted.width());
        ASSERT_EQ(3, pasted.height());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                ASSERT_EQ(image.getPixel(x, y), pasted.getPixel(x, y)) << format << " " << x << "," << y;
    }
    OwnedBitmap empty;
    EXPECT_FALSE(copyImageToClipboard(empty, window.handle()));
}

TEST(GdiClipboard, PackedDibKinds)
{
    // 16-bit 5-6-5 bit fields.
    std::vector<uint8_t> dib = packedDib(2, 1, 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, 4);
    const uint16_t pixels[2] = {0xFFFF, 0x8410};
    std::memcpy(dib.data() + 52, pixels, 4);
    OwnedBitmap image;
    ASSERT_TRUE(readDibBytes(image, dib));
    EXPECT_EQ(4, image.format());
    EXPECT_EQ(Pixel(0xF8, 0xFC, 0xF8, 255), image.getPixel(0, 0));
    EXPECT_EQ(Pixel((0x8410 & 0xF800) >> 8, (0x8410 & 0x07E0) >> 3, (0x8410 & 0x1F) << 3, 255), image.getPixel(1, 0));

    // 32-bit bit fields, top-down.
    dib = packedDib(1, -2, 32, BI_BITFIELDS, {0x00FF0000, 0x0000FF00, 0x000000FF}, 8);
    const uint32_t deep[2] = {0x00112233, 0x00445566};
    std::memcpy(dib.data() + 52, deep, 8);
    ASSERT_TRUE(readDibBytes(image, dib));
    EXPECT_EQ(Pixel(0x11, 0x22, 0x33, 255), image.getPixel(0, 0));
    EXPECT_EQ(Pixel(0x44, 0x55, 0x66, 255), image.getPixel(0, 1));

    // 32-bit BI_RGB whose alpha bytes are all 0 is opaque; with any alpha set
    // the alpha is kept.
    dib = packedDib(2, 1, 32, BI_RGB, {}, 8);
    const uint32_t zeroAlpha[2] = {0x00102030, 0x00405060};
    std::memcpy(dib.data() + 40, zeroAlpha, 8);
    ASSERT_TRUE(readDibBytes(image, dib));
    EXPECT_EQ(Pixel(0x10, 0x20, 0x30, 255), image.getPixel(0, 0));
    const uint32_t someAlpha[2] = {0x80102030, 0x00405060};
    std::memcpy(dib.data() + 40, someAlpha, 8);
    ASSERT_TRUE(readDibBytes(image, dib));
    EXPECT_EQ(Pixel(0x10, 0x20, 0x30, 0x80), image.getPixel(0, 0));
    EXPECT_EQ(0, image.getPixel(1, 0).a);

    // 8-bit with a colour table that is not grey: expanded to colour.
    std::vector<uint32_t> table = {0x00FF0000, 0x0000FF00};
    dib = packedDib(3, 1, 8, BI_RGB, table, 4, 2);
    dib[48] = 1;
    dib[49] = 0;
    dib[50] = 7; // beyond the table: black
    ASSERT_TRUE(readDibBytes(image, dib));
    EXPECT_EQ(4, image.format());
    EXPECT_EQ(Pixel(0, 255, 0, 255), image.getPixel(0, 0));
    EXPECT_EQ(Pixel(255, 0, 0, 255), image.getPixel(1, 0));
    EXPECT_EQ(Pixel(0, 0, 0, 255), image.getPixel(2, 0));
}

TEST(GdiClipboard, MalformedPackedDibsAreRefused)
{
    const std::vector<uint8_t> good = packedDib(3, 2, 24, BI_RGB, {}, 24);
    OwnedBitmap image;
    ASSERT_TRUE(readDibBytes(image, good));

    auto withField = [&](size_t at, uint32_t value, int bytes) {
        std::vector<uint8_t> dib = good;
        std::memcpy(dib.data() + at, &value, bytes);
        return dib;
    };
    EXPECT_FALSE(readDibBytes(image, withField(0, 12, 4)));          // core header
    EXPECT_FALSE(readDibBytes(image, withField(0, 124, 4)));         // v5 header
    EXPECT_FALSE(readDibBytes(image, withField(4, 0, 4)));           // zero width
    EXPECT_FALSE(readDibBytes(image, withField(4, uint32_t(-3), 4))); // negative width
    EXPECT_FALSE(readDibBytes(image, withField(8, 0, 4)));           // zero height
    EXPECT_FALSE(readDibBytes(image, withField(8, 0x80000000u, 4))); // INT_MIN height
    EXPECT_FALSE(readDibBytes(image, withField(12, 2, 2)));          // planes
    EXPECT_FALSE(readDibBytes(image, withField(14, 16, 2)));         // 16-bit BI_RGB
    EXPECT_FALSE(readDibBytes(image, withField(14, 4, 2)));          // 4 bits
    EXPECT_FALSE(readDibBytes(image, withField(16, BI_RLE8, 4)));
    EXPECT_FALSE(readDibBytes(image, withField(16, BI_JPEG, 4)));
    EXPECT_FALSE(readDibBytes(image, withField(32, 300, 4)));        // colour table too long
    EXPECT_FALSE(readDibBytes(image, withField(32, 2, 4)));          // table eats the pixels
    EXPECT_FALSE(readDibBytes(image, withField(4, 0x40000000u, 4))); // rows beyond the block
    std::vector<uint8_t> huge = withField(4, 0x7FFFFFFFu, 4);
    std::memcpy(huge.data() + 8, "\xFF\xFF\xFF\x7F", 4);
    EXPECT_FALSE(readDibBytes(image, huge));
    for (size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(readDibBytes(image, std::vector<uint8_t>(good.begin(), good.begin() + cut))) << cut;

    // Bit fields: a zero mask (which would never reach bit 7) and missing masks.
    EXPECT_FALSE(readDibBytes(image, packedDib(1, 1, 16, BI_BITFIELDS, {0xF800, 0, 0x1F}, 4)));
    EXPECT_FALSE(readDibBytes(image, packedDib(1, 1, 16, BI_BITFIELDS, {}, 0)));
    EXPECT_FALSE(readDibBytes(image, packedDib(1, 1, 24, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}, 4)));

    EXPECT_FALSE(readPackedDib(image, nullptr));
}

TEST(BinResource, LoadsPngFromTheExecutable)
{
    OwnedBitmap image;
    BinResource resource;
    ASSERT_TRUE(resource.loadImage(image, 1, 2, nullptr));
    EXPECT_EQ(5, image.width());
    EXPECT_EQ(3, image.height());
    EXPECT_EQ(6, image.format());
    // The pattern the resource was made with.
    EXPECT_EQ(Pixel(5 + 37 * 2 + 11, 100 + 3 * 2 + 59, uint8_t(200 + 91 * 2 + 7), 1 + 13 * 2 + 29), image.getPixel(2, 1));

    EXPECT_FALSE(resource.loadImage(image, 1, 3, nullptr));
    EXPECT_FALSE(resource.loadImage(image, 1 + 0x10000, 4, GetModuleHandleA(nullptr)));
    try {
        resource.loadImage(image, 999, 2, nullptr);
        FAIL() << "missing resource loaded";
    } catch (const Exception& e) {
        EXPECT_EQ(0x5009012u, e.code);
        EXPECT_STREQ("Resource Exception", e.message);
    }
}
