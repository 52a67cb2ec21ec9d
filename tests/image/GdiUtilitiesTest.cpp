#include "GdiTestSupport.h"

#include "foundation/GdiUtilities.h"
#include "foundation/ValueHolder.h"
#include "image/DibSectionImage.h"
#include "image/GdiObjectHolder.h"
#include "image/MattePixelGenerator.h"
#include "image/MemoryDc.h"
#include "image/OwnedBitmap.h"
#include "image/PaintDc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

TEST(MattePixelGenerator, ThresholdAndBlend)
{
    OwnedBitmap image(4, 1, 6);
    const Pixel colour(200, 100, 50, 0);
    const uint8_t alphas[4] = {127, 128, 255, 0};
    for (int x = 0; x < 4; ++x) {
        Pixel p = colour;
        p.a = alphas[x];
        image.setPixel(x, 0, p);
    }
    const Pixel below(1, 2, 3, 4);
    const Pixel matte(0, 0, 255, 255);
    MattePixelGenerator generator(below, matte, 128);
    Pixel out;
    generator.pixel(out, image, 0, 0);
    EXPECT_EQ(below, out);
    generator.pixel(out, image, 1, 0);
    EXPECT_EQ(mixPixels(matte, image.getPixel(1, 0), 128), out);
    generator.pixel(out, image, 2, 0);
    EXPECT_LE(std::abs(int(out.r) - 200), 1);
    EXPECT_LE(std::abs(int(out.g) - 100), 1);
    EXPECT_LE(std::abs(int(out.b) - 50), 1);

    MattePixelGenerator everything(below, matte, 0);
    everything.pixel(out, image, 3, 0);
    EXPECT_EQ(matte, out);

    // Flattening a whole image through the fill operation.
    OwnedBitmap flat(4, 1, 6);
    image.apply(flat, generator);
    EXPECT_EQ(below, flat.getPixel(0, 0));
    EXPECT_EQ(below, flat.getPixel(3, 0));

    ValueHolder holder;
    holder.set(0xFF00FF00u);
    EXPECT_EQ(0xFF00FF00u, holder.value);
}

TEST(GdiUtilities, FontsOnTheObjectHolder)
{
    LOGFONTA description;
    EXPECT_EQ(int(sizeof(LOGFONTA)), describeFont(defaultGuiFont(), description));

    GdiObjectHolder font;
    EXPECT_TRUE(font.useDefaultGuiFont());
    EXPECT_EQ(defaultGuiFont(), font.handle());
    EXPECT_FALSE(font.owns());

    // Replacing the stock font does not delete it.
    ASSERT_TRUE(font.createFont("Arial", -14));
    EXPECT_TRUE(font.owns());
    EXPECT_NE(defaultGuiFont(), font.handle());
    EXPECT_EQ(OBJ_FONT, int(GetObjectType(defaultGuiFont())));
    EXPECT_EQ(int(sizeof(LOGFONTA)), describeFont(static_cast<HFONT>(font.handle()), description));
    EXPECT_EQ(-14, description.lfHeight);
    EXPECT_EQ(400, description.lfWeight);
    EXPECT_STREQ("Arial", description.lfFaceName);

    // A face name longer than the field is cut to 31 characters.
    const char* longName = "An Extraordinarily Long Face Name For Testing";
    ASSERT_TRUE(font.createFont(longName, 12));
    describeFont(static_cast<HFONT>(font.handle()), description);
    EXPECT_EQ(std::string(longName, 31), description.lfFaceName);

    // A font selected into a DC is deselected before it is replaced.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
    font.selectInto(dc);
    EXPECT_EQ(font.handle(), GetCurrentObject(dc, OBJ_FONT));
    HGDIOBJ previousFont = font.handle();
    ASSERT_TRUE(font.createFontIndirect(description));
    EXPECT_EQ(original, GetCurrentObject(dc, OBJ_FONT));
    EXPECT_EQ(0u, GetObjectType(previousFont));
    DeleteDC(dc);

    TestWindow window;
    font.applyFontTo(window.handle());
    EXPECT_EQ(reinterpret_cast<LRESULT>(font.handle()), SendMessageA(window.handle(), WM_GETFONT, 0, 0));
}

namespace {

bool paintedWithDc = false;

LRESULT CALLBACK paintingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PaintDc paint(window);
        paintedWithDc = paint.dc() != nullptr && !paint.owns();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

TEST(GdiUtilities, PaintDcValidatesTheUpdateRegion)
{
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = paintingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QxPaintDcTest";
    RegisterClassA(&wc);
    TestWindow window("QxPaintDcTest", WS_POPUP);
    ShowWindow(window.handle(), SW_SHOWNOACTIVATE);
    InvalidateRect(window.handle(), nullptr, FALSE);
    UpdateWindow(window.handle());
    EXPECT_TRUE(paintedWithDc);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(window.handle(), &update, FALSE));
}

TEST(GdiUtilities, TransparentAndStretchedCopies)
{
    DibSectionImage source(2, 2, 4);
    source.fill(Pixel(255, 0, 255, 255));
    source.setPixel(0, 0, Pixel(255, 0, 0, 255));
    GdiFlush();
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 2);
    MemoryDc memory(bitmap, true, screen);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(memory.bitBltFrom(source.dc(), 0, 0, SRCCOPY));

    DibSectionImage target(4, 4, 4);
    target.fill(Pixel(0, 255, 0, 255));
    const RECT from = {0, 0, 2, 2};
    const RECT to = {1, 1, 3, 3};
    ASSERT_TRUE(memory.transparentBltTo(target.dc(), to, from, RGB(255, 0, 255)));
    GdiFlush();
    EXPECT_EQ(Pixel(255, 0, 0, 255), target.getPixel(1, 1));
    EXPECT_EQ(Pixel(0, 255, 0, 255), target.getPixel(2, 2));

    const RECT whole = {0, 0, 4, 4};
    ASSERT_TRUE(memory.stretchBltTo(target.dc(), whole, from, SRCCOPY));
    GdiFlush();
    EXPECT_EQ(Pixel(255, 0, 0, 255), target.getPixel(0, 0));
    EXPECT_EQ(Pixel(255, 0, 0, 255), target.getPixel(1, 1));
    EXPECT_EQ(Pixel(255, 0, 255, 255), target.getPixel(3, 3));
    EXPECT_EQ(Pixel(255, 0, 255, 255), target.getPixel(3, 0));
}
