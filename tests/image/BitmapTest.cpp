#include "image/BitmapInfo.h"
#include "image/DcHolder.h"
#include "image/DibImage.h"
#include "image/DibSectionImage.h"
#include "image/GdiHandleHolder.h"
#include "image/MemoryDc.h"
#include "image/OwnedBitmap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

TEST(BitmapInfo, BuildsTopDownHeaders)
{
    BITMAPINFO info;
    std::memset(&info, 0xAB, sizeof(info));
    EXPECT_FALSE(buildBitmapInfo(info, 4, 4, 2, 0));
    EXPECT_FALSE(buildBitmapInfo(info, 0, 4, 4, 0));
    // Byte count beyond 32 bits.
    EXPECT_FALSE(buildBitmapInfo(info, 0x10000, 0x10000, 4, 0));
    EXPECT_EQ(0xABABABABu, info.bmiHeader.biSize);

    ASSERT_TRUE(buildBitmapInfo(info, 3, 2, 3, 0));
    EXPECT_EQ(40u, info.bmiHeader.biSize);
    EXPECT_EQ(3, info.bmiHeader.biWidth);
    EXPECT_EQ(-2, info.bmiHeader.biHeight);
    EXPECT_EQ(1, info.bmiHeader.biPlanes);
    EXPECT_EQ(24, info.bmiHeader.biBitCount);
    EXPECT_EQ(DWORD(BI_RGB), info.bmiHeader.biCompression);
    EXPECT_EQ(24u, info.bmiHeader.biSizeImage);

    ASSERT_TRUE(buildBitmapInfo(info, 3, 2, 1, 16));
    EXPECT_EQ(8, info.bmiHeader.biBitCount);
    EXPECT_EQ(32u, info.bmiHeader.biSizeImage);
}

TEST(OwnedBitmap, StridesAndDepths)
{
    OwnedBitmap empty;
    EXPECT_EQ(kFormatBgr, empty.format());
    EXPECT_TRUE(empty.isEmpty());

    OwnedBitmap b;
    ASSERT_TRUE(b.create(5, 2, kFormatBgr));
    EXPECT_EQ(16u, b.stride());
    EXPECT_EQ(3u, b.step());
    EXPECT_TRUE(b.bits() != nullptr);
    ASSERT_TRUE(b.create(5, 2, kFormatBgra));
    EXPECT_EQ(20u, b.stride());
    b.setPixel(4, 1, Pixel(1, 2, 3, 4));
    EXPECT_EQ(Pixel(1, 2, 3, 4), b.getPixel(4, 1));

    EXPECT_FALSE(b.createWithDepth(3, 3, 2));
    ASSERT_TRUE(b.createWithDepth(3, 3, 1));
    EXPECT_EQ(kFormatGrey, b.format());
    EXPECT_EQ(4u, b.stride());
    ASSERT_TRUE(b.createWithDepth(3, 3, 3));
    EXPECT_EQ(kFormatBgr, b.format());
    ASSERT_TRUE(b.createWithDepth(3, 3, 4));
    EXPECT_EQ(kFormatBgra, b.format());

    OwnedBitmap constructed(7, 3, kFormatRgb);
    EXPECT_EQ(24u, constructed.stride());
    EXPECT_FALSE(constructed.isEmpty());
}

TEST(OwnedBitmap, RefusedSizesLeaveAnEmptyImage)
{
    OwnedBitmap b(4, 4, kFormatBgra);
    EXPECT_FALSE(b.create(4, 4, 3));
    EXPECT_TRUE(b.isEmpty());
    EXPECT_TRUE(b.bits() == nullptr);

    EXPECT_FALSE(b.create(-4, 4, kFormatBgra));
    // A row past 32-bit pixel offsets, and a buffer no allocator can give:
    // clean refusals, never a crash.
    EXPECT_FALSE(b.create(0x40000000, 4, kFormatBgra));
    EXPECT_FALSE(b.createWithDepth(0x7FFFFFFF, 0x7FFFFFFF, 4));
    EXPECT_FALSE(b.create(0x1FFFFFFE, 0x7FFFFFFF, kFormatBgra));
    EXPECT_TRUE(b.isEmpty());

    uint32_t stride = 0;
    EXPECT_TRUE(OwnedBitmap::checkedStride(16384, 16384, 4, stride));
    EXPECT_EQ(65536u, stride);
}

TEST(OwnedBitmap, ZeroSizeIsAnEmptyImageOfThatSize)
{
    OwnedBitmap b(4, 4, kFormatBgra);
    ASSERT_TRUE(b.create(0, 10, kFormatBgr));
    EXPECT_EQ(0, b.width());
    EXPECT_EQ(10, b.height());
    EXPECT_EQ(0u, b.stride());
    EXPECT_EQ(kFormatBgr, b.format());
    EXPECT_TRUE(b.isEmpty());
    ASSERT_TRUE(b.create(7, 0, kFormatGrey));
    EXPECT_EQ(8u, b.stride());
    EXPECT_TRUE(b.isEmpty());
}

// Only a 32-bit process caps an image at 1 GiB; a 64-bit one opens a
// 16385 x 16385 RGBA picture.
TEST(OwnedBitmap, LargeBuffersFollowTheAddressSpace)
{
    OwnedBitmap b;
    const bool created = b.create(16385, 16385, kFormatBgra);
    if (sizeof(void*) < 8) {
        EXPECT_FALSE(created);
        EXPECT_TRUE(b.isEmpty());
        OwnedBitmap huge(100000, 100000, kFormatBgra);
        EXPECT_TRUE(huge.isEmpty());
        return;
    }
    ASSERT_TRUE(created);
    EXPECT_EQ(65540u, b.stride());
    b.setPixel(16384, 16384, Pixel(1, 2, 3, 4));
    EXPECT_EQ(3, b.getPixel(16384, 16384).b);
}

TEST(OwnedBitmap, AttachPixelsNeedsRoomForEveryRow)
{
    OwnedBitmap b(2, 2, kFormatBgr);

    // A grey buffer whose rows are exactly width bytes is a valid image.
    uint8_t* grey = static_cast<uint8_t*>(std::malloc(6));
    std::memcpy(grey, "abcdef", 6);
    b.attachPixels(3, 2, grey, 3, kFormatGrey);
    EXPECT_EQ(grey, b.bits());
    EXPECT_EQ(3, b.width());
    EXPECT_EQ('e', b.getPixel(1, 1).r);

    // Four-byte pixels need at least 4 x width per row.
    uint8_t* narrow = static_cast<uint8_t*>(std::malloc(64));
    b.attachPixels(4, 2, narrow, 12, kFormatBgra);
    EXPECT_EQ(grey, b.bits());
    b.attachPixels(0, 2, narrow, 16, kFormatBgra);
    b.attachPixels(4, 2, nullptr, 16, kFormatBgra);
    b.attachPixels(4, 2, narrow, 16, 3);
    EXPECT_EQ(grey, b.bits());
    b.attachPixels(4, 2, narrow, 16, kFormatBgra);
    EXPECT_EQ(narrow, b.bits());
    EXPECT_EQ(16u, b.stride());
}

TEST(DibImage, HeaderFollowsThePixels)
{
    DibImage d;
    ASSERT_TRUE(d.create(10, 10, kFormatBgra));
    const BITMAPINFOHEADER& h = d.bitmapInfo().bmiHeader;
    EXPECT_EQ(10, h.biWidth);
    EXPECT_EQ(-10, h.biHeight);
    EXPECT_EQ(32, h.biBitCount);
    EXPECT_EQ(400u, h.biSizeImage);

    ASSERT_TRUE(d.create(3, 2, kFormatBgr));
    EXPECT_EQ(24, h.biBitCount);
    EXPECT_EQ(24u, h.biSizeImage);

    // Five-byte pixels have no GDI form: the old header stays.
    ASSERT_TRUE(d.create(3, 2, kFormatBgrxa));
    EXPECT_EQ(24, h.biBitCount);
    EXPECT_EQ(3, h.biWidth);

    DibImage constructed(4, 4, kFormatGrey);
    EXPECT_EQ(8, constructed.bitmapInfo().bmiHeader.biBitCount);
}

TEST(DibSectionImage, GdiDrawsIntoThePixels)
{
    DibSectionImage d(4, 3, kFormatBgra);
    ASSERT_FALSE(d.isEmpty());
    ASSERT_TRUE(d.dc() != nullptr);
    EXPECT_EQ(16u, d.stride());
    EXPECT_EQ(HGDIOBJ(d.section()), GetCurrentObject(d.dc(), OBJ_BITMAP));

    d.fill(Pixel(0, 0, 0, 0));
    SetPixelV(d.dc(), 2, 1, RGB(200, 100, 50));
    GdiFlush();
    Pixel p = d.getPixel(2, 1);
    EXPECT_EQ(200, p.r);
    EXPECT_EQ(100, p.g);
    EXPECT_EQ(50, p.b);
    EXPECT_EQ(0, d.getPixel(2, 2).r);

    // Recreating deletes the old section (it is deselected first).
    HBITMAP old = d.section();
    HDC oldDc = d.dc();
    ASSERT_TRUE(d.create(8, 8, kFormatBgr));
    // GDI may hand out a freed handle value again.
    if (d.section() != old) {
        EXPECT_EQ(0u, GetObjectType(old));
    }
    if (d.dc() != oldDc) {
        EXPECT_EQ(0u, GetObjectType(oldDc));
    }
    EXPECT_EQ(24u, d.stride());

    ASSERT_TRUE(d.create(5, 5, kFormatGrey));
    SetPixelV(d.dc(), 0, 0, RGB(255, 255, 255));
    GdiFlush();
    EXPECT_EQ(255, d.getPixel(0, 0).r);

    EXPECT_FALSE(d.create(5, 5, kFormatBgrxa));
    EXPECT_FALSE(d.create(0, 5, kFormatBgra));
    EXPECT_FALSE(d.create(70000, 70000, kFormatBgra));
    EXPECT_EQ(5, d.width());

    d.releaseSection();
    EXPECT_TRUE(d.isEmpty());
}

TEST(GdiHolders, RestoreSelectionsAndDeleteWhatTheyOwn)
{
    HDC screen = GetDC(nullptr);
    HBITMAP owned = CreateCompatibleBitmap(screen, 4, 4);
    HBITMAP kept = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);

    HDC dcA = CreateCompatibleDC(nullptr);
    HDC dcB = CreateCompatibleDC(nullptr);
    HGDIOBJ originalA = GetCurrentObject(dcA, OBJ_BITMAP);
    {
        GdiObjectHolder holder(owned, true);
        holder.selectInto(dcA);
        EXPECT_EQ(HGDIOBJ(owned), GetCurrentObject(dcA, OBJ_BITMAP));
        // Moving to another DC gives the first one its bitmap back.
        holder.selectInto(dcB);
        EXPECT_EQ(originalA, GetCurrentObject(dcA, OBJ_BITMAP));
        EXPECT_EQ(HGDIOBJ(owned), GetCurrentObject(dcB, OBJ_BITMAP));
    }
    EXPECT_NE(HGDIOBJ(owned), GetCurrentObject(dcB, OBJ_BITMAP));
    EXPECT_EQ(0u, GetObjectType(owned));
    {
        GdiHandleHolder holder(kept, false);
        holder.selectInto(dcA);
    }
    EXPECT_EQ(DWORD(OBJ_BITMAP), GetObjectType(kept));
    EXPECT_EQ(originalA, GetCurrentObject(dcA, OBJ_BITMAP));

    {
        DcHolder held(dcA, true);
        held.attach(dcB, false);
        EXPECT_EQ(0u, GetObjectType(dcA));
    }
    EXPECT_EQ(DWORD(OBJ_MEMDC), GetObjectType(dcB));
    DeleteDC(dcB);
    DeleteObject(kept);
}

TEST(GdiHolders, MemoryDcCopiesFromAnotherDc)
{
    DibSectionImage source(6, 6, kFormatBgra);
    ASSERT_FALSE(source.isEmpty());
    source.fill(Pixel(10, 20, 30, 255));
    source.setPixel(3, 2, Pixel(250, 0, 0, 255));

    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 2);
    ReleaseDC(nullptr, screen);
    {
        MemoryDc memory(bitmap, true);
        ASSERT_TRUE(memory.dc() != nullptr);
        ASSERT_TRUE(memory.bitBltFrom(source.dc(), 2, 1, SRCCOPY));
        EXPECT_EQ(RGB(250, 0, 0), GetPixel(memory.dc(), 1, 1));
        EXPECT_EQ(RGB(10, 20, 30), GetPixel(memory.dc(), 0, 0));
    }
    EXPECT_EQ(0u, GetObjectType(bitmap));

    MemoryDc empty;
    EXPECT_FALSE(empty.bitBltFrom(source.dc(), 0, 0, SRCCOPY));
}
