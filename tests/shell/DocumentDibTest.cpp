#include "image/GdiBridge.h"
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
