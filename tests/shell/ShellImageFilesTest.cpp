#include "JpegFileBuilders.h"
#include "ShellTestSupport.h"

#include "foundation/PropertyWriter.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/ImageLoading.h"
#include "image/codecs/PngCodec.h"
#include "shell/files/ApplicationOptions.h"
#include "shell/files/JpegCodec.h"
#include "shell/files/ShellImageFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

void writeFile(const std::string& path, const Bytes& data)
{
    FileTestFolder::writeBytes(path, std::string(data.begin(), data.end()));
}

void fillRamp(Image& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, Pixel(uint8_t(x * 9), uint8_t(y * 13), uint8_t(x + y), uint8_t(200 - x)));
}

// Writes part of a file and then fails, the way an encoder that runs out of
// disk or meets an image it cannot store would.
class FailingCodec : public ImageCodec
{
public:
    explicit FailingCodec(bool throws) : throws_(throws) {}
    bool load(Image&, const String&) override { return false; }
    bool save(const Image&, const String& path) override
    {
        FileTestFolder::writeBytes(path, "partial");
        if (throws_)
            throw 1;
        return false;
    }

private:
    bool throws_;
};

} // namespace

TEST(ShellImageFiles, TypesByExtensionAndWhatEachCanStore)
{
    ScratchFolder folder("shellfiles");
    const Bytes jpeg = makeJpeg(JpegSpec());
    for (const char* name : {"photo.JPEG", "photo.jfif", "photo.jpg"}) {
        writeFile(folder / name, jpeg);
        OwnedBitmap image;
        EXPECT_TRUE(shellLoadImageFile(folder / name, image, "")) << name;
    }
    writeFile(folder / "photo.dat", jpeg);
    OwnedBitmap image;
    EXPECT_FALSE(shellLoadImageFile(folder / "photo.dat", image, ""));
    EXPECT_TRUE(shellLoadImageFile(folder / "photo.dat", image, "image/jpg"));
    EXPECT_FALSE(shellLoadImageFile(folder / "photo.raw", image, ""));

    OwnedBitmap rgb(5, 4, 4), rgba(5, 4, 6), grey(5, 4, 2);
    const bool expected[3][5] = {
        // none, JPEG, PNG, BMP, TGA
        {false, true, true, true, true},
        {false, false, true, true, true},
        {false, false, false, false, false},
    };
    const Image* images[3] = {&rgb, &rgba, &grey};
    for (int i = 0; i < 3; ++i)
        for (int type = 0; type <= 5; ++type)
            EXPECT_EQ(type < 5 && expected[i][type], shellCanSaveImageAs(*images[i], type)) << i << " " << type;
}

TEST(ShellImageFiles, GreyPicturesOpenAsRgb)
{
    ScratchFolder folder("grey");
    JpegSpec greySpec;
    greySpec.components = 1;
    writeFile(folder / "grey.jpg", makeJpeg(greySpec));
    OwnedBitmap grey(7, 3, 2);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            grey.row(y)[x] = uint8_t(x * 30 + y);
    ASSERT_TRUE(PngCodec().save(grey, folder / "grey.png"));

    OwnedBitmap png;
    ASSERT_TRUE(shellLoadImageFile(folder / "grey.png", png, ""));
    ASSERT_EQ(4, png.format());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
            const uint8_t v = uint8_t(x * 30 + y);
            EXPECT_EQ(Pixel(v, v, v, 255), png.getPixel(x, y));
        }
    OwnedBitmap jpeg;
    ASSERT_TRUE(shellLoadImageFile(folder / "grey.jpg", jpeg, ""));
    EXPECT_EQ(4, jpeg.format());
    const Pixel p = jpeg.getPixel(5, 5);
    EXPECT_TRUE(p.r == p.g && p.g == p.b);
    // The codec itself still reads grey as one byte per pixel.
    OwnedBitmap raw;
    ASSERT_TRUE(JpegCodec().load(raw, folder / "grey.jpg"));
    EXPECT_EQ(2, raw.format());
}

TEST(ShellImageFiles, FailedSavesKeepTheOldFile)
{
    ScratchFolder folder("safesave");
    const std::string target = folder / "picture.png";
    FileTestFolder::writeBytes(target, "the user's picture");
    OwnedBitmap image(6, 5, 4);
    fillRamp(image);

    for (bool throws : {false, true}) {
        FailingCodec failing(throws);
        EXPECT_FALSE(saveImageBeside(failing, image, target));
        EXPECT_EQ("the user's picture", FileTestFolder::readBytes(target));
        EXPECT_FALSE(FileTestFolder::exists(target + "._wr"));
    }
    // A real encoder failing: JPEG cannot store grey pixels, though its file
    // is already open by then.
    const std::string jpegTarget = folder / "picture.jpg";
    FileTestFolder::writeBytes(jpegTarget, "old jpeg");
    OwnedBitmap grey(4, 4, 2);
    EXPECT_FALSE(shellSaveImageFile(jpegTarget, grey));
    EXPECT_EQ("old jpeg", FileTestFolder::readBytes(jpegTarget));
    EXPECT_FALSE(FileTestFolder::exists(jpegTarget + "._wr"));

    // A read-only file is not replaced behind the user's back.
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(shellSaveImageFile(target, image));
    EXPECT_EQ("the user's picture", FileTestFolder::readBytes(target));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Success replaces it, and every type reads back what was saved.
    for (const char* name : {"picture.png", "out.bmp", "out.tga"}) {
        ASSERT_TRUE(shellSaveImageFile(folder / name, image)) << name;
        OwnedBitmap back;
        ASSERT_TRUE(shellLoadImageFile(folder / name, back, "")) << name;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(image.getPixel(x, y), back.getPixel(x, y)) << name;
        EXPECT_FALSE(FileTestFolder::exists(folder / name + "._wr"));
    }
    EXPECT_FALSE(shellSaveImageFile(folder / "out.raw", image));
    EXPECT_FALSE(shellSaveImageFile(folder / "out.gif", image));
    EXPECT_FALSE(FileTestFolder::exists(folder / "out.raw"));
}

TEST(ShellImageFiles, JpegSavesAtTheOptionQualityAtMostNinetyNine)
{
    ScratchFolder folder("quality");
    ApplicationOptions::usePath(folder / "Options.ini");
    OwnedBitmap image(40, 30, 6);
    fillRamp(image);
    for (int stored : {100, 150, 60}) {
        createOptionsSection(kOptionsSection).setInt("jpegCompressionQuality", stored);
        LoadJpegQualityOption();
        ASSERT_TRUE(shellSaveImageFile(folder / "q.jpg", image));
        MemorySink expected;
        ASSERT_TRUE(writeJpeg(image, expected, std::min(stored, 99)));
        EXPECT_EQ(expected.data, readBytes(folder / "q.jpg")) << stored;
    }
    createOptionsSection(kOptionsSection).setInt("jpegCompressionQuality", 80);
    LoadJpegQualityOption();
    ApplicationOptions::usePath(folder / "unused.ini");
}
