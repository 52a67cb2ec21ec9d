#include "image/DibSectionImage.h"
#include "image/GdiBridge.h"
#include "shell/document/ClipboardPaste.h"
#include "shell/document/DocumentDib.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void fillDistinct(Image& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, Pixel(uint8_t(10 + x * 40), uint8_t(20 + y * 50), uint8_t(x * 7 + y * 3), uint8_t(100 + x + y)));
}

// The packed DIB as bytes, for layout checks without the clipboard.
std::vector<uint8_t> packed(const Image& image)
{
    HGLOBAL block = makeClipboardDib(image);
    std::vector<uint8_t> bytes;
    if (!block)
        return bytes;
    const uint8_t* data = static_cast<const uint8_t*>(GlobalLock(block));
    bytes.assign(data, data + GlobalSize(block));
    GlobalUnlock(block);
    GlobalFree(block);
    return bytes;
}

} // namespace

TEST(DocumentDib, HeaderFollowsEveryCreation)
{
    DocumentDib image(3, 2, 4);
    const BITMAPINFOHEADER& h = image.header();
    EXPECT_EQ(40u, h.biSize);
    EXPECT_EQ(3, h.biWidth);
    EXPECT_EQ(-2, h.biHeight);
    EXPECT_EQ(1, h.biPlanes);
    EXPECT_EQ(24, h.biBitCount);
    EXPECT_EQ(DWORD(BI_RGB), h.biCompression);
    EXPECT_EQ(12u, image.stride());
    EXPECT_EQ(24u, h.biSizeImage);
    EXPECT_EQ(0, h.biXPelsPerMeter + h.biYPelsPerMeter + int(h.biClrUsed + h.biClrImportant));
    const uint32_t word = *reinterpret_cast<const uint32_t*>(&image.bitmapInfo().bmiColors[0]);
    EXPECT_EQ(0u, word);

    ASSERT_TRUE(image.create(5, 7, 6));
    EXPECT_EQ(5, image.header().biWidth);
    EXPECT_EQ(-7, image.header().biHeight);
    EXPECT_EQ(32, image.header().biBitCount);
    EXPECT_EQ(140u, image.header().biSizeImage);

    // Five bytes per pixel have no DIB form: the pixels exist, the header
    // keeps what it said.
    ASSERT_TRUE(image.create(4, 4, 8));
    EXPECT_FALSE(image.updateHeader());
    EXPECT_EQ(5, image.header().biWidth);
    EXPECT_EQ(32, image.header().biBitCount);
}

TEST(DocumentDib, ClipboardBlockIsBottomUpWithPaddedRows)
{
    DocumentDib rgb(3, 2, 4);
    fillDistinct(rgb);
    const std::vector<uint8_t> block = packed(rgb);
    ASSERT_EQ(40u + 24u, block.size());
    BITMAPINFOHEADER h;
    std::memcpy(&h, block.data(), sizeof h);
    EXPECT_EQ(2, h.biHeight);
    EXPECT_EQ(24, h.biBitCount);
    EXPECT_EQ(0, std::memcmp(block.data() + 40, rgb.row(1), 12));
    EXPECT_EQ(0, std::memcmp(block.data() + 52, rgb.row(0), 12));

    DocumentDib rgba(2, 2, 6);
    fillDistinct(rgba);
    const std::vector<uint8_t> deep = packed(rgba);
    ASSERT_EQ(40u + 16u, deep.size());
    std::memcpy(&h, deep.data(), sizeof h);
    EXPECT_EQ(32, h.biBitCount);
    EXPECT_EQ(DWORD(BI_RGB), h.biCompression);
    EXPECT_EQ(rgba.getPixel(1, 1).a, deep[40 + 7]);
}

TEST(DocumentDib, DrawsOneToOneAndStretched)
{
    DocumentDib image(4, 3, 4);
    fillDistinct(image);
    DibSectionImage target(8, 6, 4);
    ASSERT_TRUE(target.dc());
    const RECT whole = {0, 0, 4, 3};
    const RECT placed = {2, 1, 6, 4};
    ASSERT_TRUE(DrawDib(image, target.dc(), whole, placed));
    GdiFlush();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const Pixel want = image.getPixel(x, y), got = target.getPixel(x + 2, y + 1);
            EXPECT_TRUE(want.r == got.r && want.g == got.g && want.b == got.b) << x << "," << y;
        }

    DocumentDib flat(2, 2, 4);
    flat.fill(Pixel(30, 140, 220, 255));
    const RECT small = {0, 0, 2, 2};
    const RECT big = {0, 0, 8, 6};
    ASSERT_TRUE(DrawDib(flat, target.dc(), small, big));
    GdiFlush();
    const Pixel centre = target.getPixel(4, 3);
    EXPECT_EQ(30, centre.r);
    EXPECT_EQ(140, centre.g);
    EXPECT_EQ(220, centre.b);
}

TEST(DocumentDib, PasteWidensGreyDibs)
{
    // Other test programs share the desktop's clipboard: retry a few times.
    bool matched = false;
    for (int attempt = 0; attempt < 20 && !matched; ++attempt) {
        DocumentDib grey(5, 3, 2);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                grey.row(y)[x] = uint8_t(x * 50 + y);
        if (!copyImageToClipboard(grey, nullptr)) {
            Sleep(50);
            continue;
        }
        DocumentDib pasted;
        if (!pasteClipboardDib(pasted) || pasted.width() != 5 || pasted.height() != 3) {
            Sleep(50);
            continue;
        }
        ASSERT_EQ(4, pasted.format());
        matched = true;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const uint8_t v = uint8_t(x * 50 + y);
                matched = matched && pasted.getPixel(x, y) == Pixel(v, v, v, 255);
            }
        EXPECT_EQ(-3, pasted.header().biHeight);
    }
    EXPECT_TRUE(matched);
}
