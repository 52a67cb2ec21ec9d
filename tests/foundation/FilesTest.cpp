#include "FileTestFolder.h"

#include "foundation/Exception.h"
#include "foundation/FileReader.h"
#include "foundation/FileSystem.h"
#include "foundation/FileWriter.h"
#include "foundation/PathParts.h"

#include <gtest/gtest.h>

namespace {

void writeText(FileWriter& out, const std::string& text)
{
    out.write(reinterpret_cast<const unsigned char*>(text.data()), unsigned(text.size()));
}

template <class F>
unsigned long thrownCode(F f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.code;
    }
    return 0;
}

}

TEST(FileStreams, ReaderReportsEndOnlyAfterEmptyRead)
{
    FileTestFolder dir("reader");
    std::string file = dir / "a.bin";
    FileTestFolder::writeBytes(file, "0123456789");

    FileReader in(file);
    EXPECT_EQ(10u, in.size());
    EXPECT_EQ(10u, in.sizeCached(false));
    unsigned char buffer[16];
    EXPECT_EQ(10u, in.read(buffer, 16));
    EXPECT_FALSE(in.isEnd());
    EXPECT_EQ(0u, in.read(buffer, 0));
    EXPECT_FALSE(in.isEnd());
    EXPECT_EQ(0u, in.read(buffer, 16));
    EXPECT_TRUE(in.isEnd());

    EXPECT_EQ(4u, in.seek(4));
    EXPECT_EQ(6u, in.seekRelative(2));
    EXPECT_EQ(6u, in.tell());
    EXPECT_EQ(1u, in.read(buffer, 1));
    EXPECT_EQ('6', buffer[0]);
    EXPECT_EQ(7u, in.seekFromEnd(-3));
    EXPECT_EQ(0x5009206u, thrownCode([&] { in.seek(-5); }));
}

TEST(FileStreams, OpenFailuresThrowFileOpen)
{
    FileTestFolder dir("open");
    EXPECT_EQ(0x5009202u, thrownCode([&] { FileReader r(dir / "missing.txt"); }));
    EXPECT_EQ(0x5009202u, thrownCode([&] { FileWriter w(dir / "no\\such\\x.txt", 0); }));
}

TEST(FileStreams, WriterModes)
{
    FileTestFolder dir("modes");
    std::string file = dir / "w.txt";
    FileTestFolder::writeBytes(file, "0123456789");
    {
        FileWriter out(file, 1);
        writeText(out, "abcd");
    }
    EXPECT_EQ("abcd456789", FileTestFolder::readBytes(file));
    {
        FileWriter out(file, 2);
        writeText(out, "XY");
    }
    EXPECT_EQ("abcd456789XY", FileTestFolder::readBytes(file));
    {
        FileWriter out(file, 0);
        writeText(out, "new");
    }
    EXPECT_EQ("new", FileTestFolder::readBytes(file));
}

TEST(FileStreams, ShareModes)
{
    FileTestFolder dir("share");
    std::string file = dir / "s.txt";
    FileTestFolder::writeBytes(file, "x");
    EXPECT_FALSE(isFileInUse(file));
    EXPECT_FALSE(isFileInUse(dir / "missing.txt"));
    {
        FileReader first(file);
        FileReader second(file);
        EXPECT_EQ(0x5009202u, thrownCode([&] { FileWriter w(file, 1); }));
        EXPECT_TRUE(isFileInUse(file));
    }
    {
        FileWriter writer(file, 2);
        EXPECT_EQ(0x5009202u, thrownCode([&] { FileWriter w(file, 2); }));
        EXPECT_TRUE(isFileInUse(file));
    }
    EXPECT_FALSE(isFileInUse(file));
}

TEST(FileFunctions, ExistenceSizeAndAttributes)
{
    FileTestFolder dir("attrs");
    std::string file = dir / "f.txt";
    FileTestFolder::writeBytes(file, "12345");
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(fileExists(dir.path()));
    EXPECT_TRUE(isDirectory(dir.path()));
    EXPECT_FALSE(isDirectory(file));
    EXPECT_FALSE(fileExists(dir / "missing"));

    EXPECT_EQ(5u, fileSizeOf(file));
    EXPECT_EQ(0u, fileSizeOf(dir / "missing"));
    // A wildcard gives the first match.
    EXPECT_EQ(5u, fileSizeOf(dir / "*.txt"));
    EXPECT_EQ(5u, fileSizeOf(dir / "f.tx?"));
    EXPECT_EQ(0u, fileSizeOf(dir / "*.none"));

    EXPECT_TRUE(setReadOnly(file, true));
    EXPECT_TRUE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(setReadOnly(dir / "missing", true));

    EXPECT_TRUE(deleteFile(file));
    EXPECT_FALSE(FileTestFolder::exists(file));
    EXPECT_FALSE(deleteFile(file));

    std::string sub = dir / "sub";
    CreateDirectoryA(sub.c_str(), nullptr);
    EXPECT_TRUE(removeDirectory(sub));
    EXPECT_FALSE(removeDirectory(sub));
}

TEST(FileFunctions, CopyCreatesFoldersAndHonoursOverwrite)
{
    FileTestFolder dir("copy");
    std::string from = dir / "src.txt";
    FileTestFolder::writeBytes(from, "one");
    std::string to = dir / "deep\\er\\dst.txt";
    EXPECT_TRUE(copyFile(from, to, false));
    EXPECT_EQ("one", FileTestFolder::readBytes(to));

    FileTestFolder::writeBytes(from, "two");
    EXPECT_FALSE(copyFile(from, to, false));
    EXPECT_EQ("one", FileTestFolder::readBytes(to));
    EXPECT_TRUE(copyFile(from, to, true));
    EXPECT_EQ("two", FileTestFolder::readBytes(to));
    EXPECT_FALSE(copyFile(dir / "missing", dir / "x.txt", true));

    // A target without drive or folder is relative to the working folder;
    // the folder chain then ends at the drive root.
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA(dir.path().c_str());
    EXPECT_TRUE(copyFile(from, "relative.txt", true));
    SetCurrentDirectoryA(saved);
    EXPECT_EQ("two", FileTestFolder::readBytes(dir / "relative.txt"));
}

TEST(FileFunctions, MoveReplacesWithoutLosingTheTarget)
{
    FileTestFolder dir("move");
    std::string a = dir / "a.txt";
    std::string b = dir / "b.txt";
    FileTestFolder::writeBytes(a, "A");
    FileTestFolder::writeBytes(b, "B");

    EXPECT_FALSE(moveFile(a, b, false));
    EXPECT_EQ("B", FileTestFolder::readBytes(b));

    // A failed move (missing source) must leave the target alone.
    EXPECT_FALSE(moveFile(dir / "missing", b, true));
    EXPECT_EQ("B", FileTestFolder::readBytes(b));

    // Locked target: the move fails, both files survive.
    {
        FileReader lock(b);
        EXPECT_FALSE(moveFile(a, b, true));
    }
    EXPECT_EQ("A", FileTestFolder::readBytes(a));
    EXPECT_EQ("B", FileTestFolder::readBytes(b));

    setReadOnly(b, true);
    EXPECT_TRUE(moveFile(a, b, true));
    EXPECT_FALSE(FileTestFolder::exists(a));
    EXPECT_EQ("A", FileTestFolder::readBytes(b));

    PathParts parts(b);
    EXPECT_TRUE(moveFileInto(parts, dir / "into\\here", false));
    EXPECT_EQ("A", FileTestFolder::readBytes(dir / "into\\here\\b.txt"));
}

TEST(FileFunctions, CreateDirectoryPathChains)
{
    FileTestFolder dir("mkdir");
    std::string deep = dir / "x\\y/z";
    EXPECT_TRUE(createDirectoryPath(deep));
    EXPECT_TRUE(isDirectory(dir / "x"));
    EXPECT_TRUE(isDirectory(dir / "x\\y"));
    EXPECT_TRUE(isDirectory(dir / "x\\y\\z"));
    EXPECT_TRUE(createDirectoryPath(deep));
    EXPECT_TRUE(createDirectoryPath(deep + "\\"));

    FileTestFolder::writeBytes(dir / "file", "f");
    EXPECT_FALSE(createDirectoryPath(dir / "file"));
    EXPECT_FALSE(createDirectoryPath(dir / "file\\below"));

    // Roots end the walk instead of repeating forever.
    EXPECT_TRUE(createDirectoryPath(""));
    EXPECT_TRUE(createDirectoryPath("/"));
    EXPECT_TRUE(createDirectoryPath("//"));

    PathParts parts(dir / "p\\q\\file.txt");
    EXPECT_TRUE(createParentFolders(parts));
    EXPECT_TRUE(isDirectory(dir / "p\\q"));
}

TEST(FileFunctions, NormalizePathForms)
{
    EXPECT_EQ("C:/a/b/", normalizePath("C:\\a\\\\b"));
    EXPECT_EQ("C:/", normalizePath("C:/"));
    EXPECT_EQ("C:/", normalizePath("C:\\"));
    EXPECT_EQ("/", normalizePath(""));
    EXPECT_EQ("\\\\server/share/dir/", normalizePath("\\\\server\\share\\dir"));
    EXPECT_EQ("//server/share/", normalizePath("//server//share/"));
    EXPECT_EQ("a/b/", normalizePath("a///b//"));
}

TEST(PathParts, SplitsAndNormalises)
{
    PathParts p("C:\\A\\B\\prog.exe");
    EXPECT_EQ("C:", p.drive);
    EXPECT_EQ("/A/B/", p.folder);
    EXPECT_EQ("prog", p.name);
    EXPECT_EQ(".exe", p.ext);
    EXPECT_EQ("C:/A/B/", p.driveAndFolder());
    EXPECT_EQ("prog.exe", p.fileName());
    EXPECT_EQ("C:/A/B/prog.exe", p.fullPath());

    EXPECT_EQ("/A/B/", PathParts("C:\\A\\\\B\\x").folder);

    PathParts unc("\\\\server\\share\\dir\\f.dll");
    EXPECT_EQ("/", unc.drive);
    EXPECT_EQ("//server/share/dir/", unc.driveAndFolder());

    PathParts rel("dir\\f.txt");
    EXPECT_EQ("/dir/", rel.driveAndFolder());

    PathParts bare("archive.tar.gz");
    EXPECT_EQ("/", bare.driveAndFolder());
    EXPECT_EQ("archive.tar", bare.name);
    EXPECT_EQ(".gz", bare.ext);
}

TEST(PathParts, LongComponentsAreKeptWhole)
{
    std::string longFolder(400, 'f');
    std::string longName(300, 'n');
    std::string longExt = "." + std::string(300, 'e');
    PathParts p("D:\\" + longFolder + "\\" + longName + longExt);
    EXPECT_EQ("D:", p.drive);
    EXPECT_EQ("/" + longFolder + "/", p.folder);
    EXPECT_EQ(longName, p.name);
    EXPECT_EQ(longExt, p.ext);
}
