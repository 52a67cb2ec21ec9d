#include "ShellTestSupport.h"

#include "foundation/IniFile.h"
#include "foundation/ModulePaths.h"
#include "foundation/PropertyReader.h"
#include "foundation/PropertyWriter.h"
#include "shell/files/ApplicationOptions.h"

#include <gtest/gtest.h>

TEST(ApplicationOptions, StoredValuesAreClampedToTheirRanges)
{
    ScratchFolder folder("options");
    FileTestFolder::writeBytes(folder / "Options.ini",
                               "[default]\r\njpegCompressionQuality=150\r\nnewImageWidth=1\r\n"
                               "newImageHeight=99999\r\nnewImageBPP=16\r\nresample_smooth=-3.5\r\n"
                               "resample_maintain_aspect=0.9\r\n[Default]\r\nnewImageWidth=640\r\n");
    ApplicationOptions::usePath(folder / "Options.ini");
    EXPECT_EQ(99, readOption(kOptionJpegQuality));
    EXPECT_EQ(2, readOption(kOptionNewImageWidth));
    EXPECT_EQ(32767, readOption(kOptionNewImageHeight));
    EXPECT_EQ(16, readOption(kOptionNewImageBpp));
    EXPECT_EQ(0.0, readOption(kOptionResampleSmooth));
    EXPECT_EQ(0, readOption(kOptionResampleMaintainAspect));

    createOptionsSection(kOptionsSection).setString("jpegCompressionQuality", "0");
    createOptionsSection(kOptionsSection).setString("resample_smooth", "9");
    createOptionsSection(kOptionsSection).setString("newImageWidth", "wide");
    EXPECT_EQ(1, readOption(kOptionJpegQuality));
    EXPECT_EQ(4.0, readOption(kOptionResampleSmooth));
    // Not a number: the default, or the caller's.
    EXPECT_EQ(1024, readOption(kOptionNewImageWidth));
    EXPECT_EQ(90, readOption(kOptionNewImageWidth, 90));
    // Pointing the store elsewhere drops what was not saved.
    const std::string before = FileTestFolder::readBytes(folder / "Options.ini");
    ApplicationOptions::usePath(folder / "none.ini");
    EXPECT_EQ(before, FileTestFolder::readBytes(folder / "Options.ini"));
}

TEST(ApplicationOptions, MissingFileGivesDefaultsAndSavesWhereItWasPointed)
{
    ScratchFolder folder("options2");
    ApplicationOptions::usePath(folder / "Options.ini");
    EXPECT_FALSE(getOptionsSection(kOptionsSection).getString("jpegCompressionQuality", "").size());
    EXPECT_EQ(80, readOption(kOptionJpegQuality));
    EXPECT_EQ(1024, readOption(kOptionNewImageWidth));
    EXPECT_EQ(768, readOption(kOptionNewImageHeight));
    EXPECT_EQ(24, readOption(kOptionNewImageBpp));
    EXPECT_EQ(1.0, readOption(kOptionResampleSmooth));
    EXPECT_EQ(1, readOption(kOptionResampleMaintainAspect));
    LoadJpegQualityOption();
    EXPECT_EQ(80, jpegQuality());

    EXPECT_FALSE(ApplicationOptions::store().modified);
    createOptionsSection(kOptionsSection).setInt("jpegCompressionQuality", 90);
    EXPECT_TRUE(ApplicationOptions::store().modified);
    ASSERT_TRUE(saveOptions());
    EXPECT_EQ("\r\n[default]\r\njpegCompressionQuality=90\r\n", FileTestFolder::readBytes(folder / "Options.ini"));
    LoadJpegQualityOption();
    EXPECT_EQ(90, jpegQuality());
    // Section names keep their case.
    EXPECT_EQ("", getOptionsSection("Default").getString("jpegCompressionQuality", ""));

    createOptionsSection(kOptionsSection).setInt("jpegCompressionQuality", 80);
    LoadJpegQualityOption();
    ApplicationOptions::usePath(folder / "none.ini");
    EXPECT_EQ(ModulePaths::exeDirectory() + "Options.ini", ApplicationOptions::defaultPath());
}
