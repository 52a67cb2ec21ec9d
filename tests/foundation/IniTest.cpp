#include "FileTestFolder.h"

#include "foundation/Exception.h"
#include "foundation/IniFile.h"
#include "foundation/IniText.h"
#include "foundation/PropertyBag.h"
#include "foundation/MemorySettingsStore.h"
#include "foundation/StringBuffer.h"

#include <gtest/gtest.h>

namespace {

std::string written(MemorySettingsStore& store)
{
    StringBuffer buffer;
    writeIni(buffer, store);
    return std::string(static_cast<const std::string&>(buffer));
}

void parse(const std::string& text, MemorySettingsStore& store)
{
    StringBuffer buffer;
    buffer.write(reinterpret_cast<const unsigned char*>(text.data()), unsigned(text.size()));
    readIni(buffer, store);
}

String value(MemorySettingsStore& store, const char* section, const char* key)
{
    return store.sectionReader(section).getString(key, "<none>");
}

}

TEST(IniText, WriterLayoutIsByteExact)
{
    MemorySettingsStore store(false);
    EXPECT_EQ("", written(store));

    store.sectionWriter("").setString("x", "1");
    store.sectionWriter("B");
    store.sectionWriter("A").setString("k2", "two");
    store.sectionWriter("A").setString("k1", "one");
    EXPECT_EQ("\r\n[]\r\nx=1\r\n"
              "\r\n[A]\r\nk1=one\r\nk2=two\r\n"
              "\r\n[B]\r\n\r\n",
              written(store));

    MemorySettingsStore onlyUnnamed(false);
    onlyUnnamed.section("");
    EXPECT_EQ("", written(onlyUnnamed));
}

TEST(IniText, ReaderRules)
{
    MemorySettingsStore store(false);
    parse("top=level\r\n\r\n\r\n[s]\r\n  a = 1 \r\nb\r\n=c\r\n \t \r\n"
          "[ t ]\r\nk=v=w\r\nk=last\r\n[s]\r\nz=9\r\n[empty]\r\n[u\r\nq=1",
          store);
    EXPECT_EQ("level", value(store, "", "top"));
    EXPECT_EQ("1", value(store, "s", "a"));
    EXPECT_EQ("", value(store, "s", "b"));
    EXPECT_EQ("9", value(store, "s", "z"));
    EXPECT_EQ("last", value(store, " t ", "k"));
    EXPECT_EQ("1", value(store, "u", "q"));
    EXPECT_FALSE(store.hasSection("empty"));
    EXPECT_FALSE(store.modified);

    EXPECT_EQ(4u, store.sectionNames().size());

    // A line ignored for its empty key still creates its section.
    MemorySettingsStore ignored(false);
    parse("[only]\r\n=x\r\n", ignored);
    EXPECT_TRUE(ignored.hasSection("only"));
}

TEST(IniText, BareLineFeedsEndLines)
{
    MemorySettingsStore store(false);
    parse("[a]\nk=1\nj=2\n\n[b]\r\nm=3\nlast=4", store);
    EXPECT_EQ("1", value(store, "a", "k"));
    EXPECT_EQ("2", value(store, "a", "j"));
    EXPECT_EQ("3", value(store, "b", "m"));
    EXPECT_EQ("4", value(store, "b", "last"));
}

TEST(IniText, LineBreaksInsideTextCannotBreakTheFile)
{
    MemorySettingsStore store(false);
    store.sectionWriter("s").setString("note", "line1\r\nline2\n[evil]\rx");
    store.sectionWriter("s").setString("multi\nkey", "v");
    store.sectionWriter("s").setString("after", "kept");
    store.sectionWriter("sec\r\ntion").setString("a", "b");
    std::string text = written(store);
    EXPECT_EQ("\r\n[s]\r\nafter=kept\r\nmulti key=v\r\nnote=line1  line2 [evil] x\r\n"
              "\r\n[sec  tion]\r\na=b\r\n",
              text);

    MemorySettingsStore back(false);
    parse(text, back);
    EXPECT_EQ("kept", value(back, "s", "after"));
    EXPECT_EQ("line1  line2 [evil] x", value(back, "s", "note"));
    EXPECT_EQ("v", value(back, "s", "multi key"));
    EXPECT_EQ("b", value(back, "sec  tion", "a"));
    EXPECT_FALSE(back.hasSection("evil"));
}

TEST(IniText, RoundTrip)
{
    MemorySettingsStore store(false);
    store.sectionWriter("").setString("root", "r");
    store.sectionWriter("preset one").setString("brush.id", "single_grid");
    store.sectionWriter("preset one").setString("stroke.size", "12.500000");
    store.sectionWriter("preset one").setString("spaces", "  padded\t");
    store.sectionWriter("_current").setString("name", "a=b");
    store.sectionWriter("nothing");

    MemorySettingsStore back(false);
    parse(written(store), back);
    EXPECT_EQ("r", value(back, "", "root"));
    EXPECT_EQ("single_grid", value(back, "preset one", "brush.id"));
    EXPECT_EQ("12.500000", value(back, "preset one", "stroke.size"));
    EXPECT_EQ("padded", value(back, "preset one", "spaces"));
    EXPECT_EQ("a=b", value(back, "_current", "name"));
    EXPECT_FALSE(back.hasSection("nothing"));
    EXPECT_EQ(written(back), written(back));
}

TEST(IniFile, PlainFileFunctions)
{
    FileTestFolder dir("inifn");
    MemorySettingsStore store(false);
    store.sectionWriter("a").setString("k", "v");
    saveIniFile(dir / "p.ini", store);
    EXPECT_EQ("\r\n[a]\r\nk=v\r\n", FileTestFolder::readBytes(dir / "p.ini"));
    EXPECT_FALSE(FileTestFolder::exists(dir / "p.ini.bak"));

    MemorySettingsStore back(false);
    loadIniFile(dir / "p.ini", back);
    EXPECT_EQ("v", value(back, "a", "k"));
    EXPECT_THROW(loadIniFile(dir / "missing.ini", back), Exception);
    EXPECT_THROW(saveIniFile(dir / "no\\folder\\p.ini", back), Exception);
}

TEST(IniFile, SafeSaveKeepsBackups)
{
    FileTestFolder dir("inisave");
    std::string file = dir / "settings.ini";
    {
        IniFile ini(file);
        EXPECT_TRUE(ini.sectionNames().empty());
        EXPECT_EQ(file, ini.filePath());
        ini.sectionWriter("general").setString("lefthanded", "1");
        ini.modified = true;
    }
    // Destruction saved the modified store; the first save makes no backup.
    EXPECT_EQ("\r\n[general]\r\nlefthanded=1\r\n", FileTestFolder::readBytes(file));
    EXPECT_FALSE(FileTestFolder::exists(file + ".bak"));
    EXPECT_FALSE(FileTestFolder::exists(file + "._wr"));

    IniFile ini(file);
    EXPECT_EQ("1", value(ini, "general", "lefthanded"));
    ini.sectionWriter("general").setString("authorname", "me");
    ini.modified = true;
    ASSERT_TRUE(ini.save(""));
    EXPECT_FALSE(ini.modified);
    EXPECT_EQ("\r\n[general]\r\nlefthanded=1\r\n", FileTestFolder::readBytes(file + ".bak"));
    EXPECT_EQ("\r\n[general]\r\nauthorname=me\r\nlefthanded=1\r\n",
              FileTestFolder::readBytes(file));
    EXPECT_FALSE(FileTestFolder::exists(file + "._wr"));

    // Saving elsewhere moves the own path.
    std::string other = dir / "other.ini";
    ASSERT_TRUE(ini.save(other));
    EXPECT_EQ(other, ini.filePath());
    EXPECT_EQ(FileTestFolder::readBytes(file), FileTestFolder::readBytes(other));
}

TEST(IniFile, FailedSavesKeepTheOldFile)
{
    FileTestFolder dir("inifail");
    std::string file = dir / "locked.ini";
    FileTestFolder::writeBytes(file, "\r\n[old]\r\nk=1\r\n");
    IniFile ini(file);
    ini.sectionWriter("old").setString("k", "2");
    ini.modified = true;

    {
        // Open elsewhere without delete sharing: the move cannot replace it.
        HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        EXPECT_FALSE(ini.save(""));
        CloseHandle(h);
    }
    EXPECT_TRUE(ini.modified);
    EXPECT_EQ("\r\n[old]\r\nk=1\r\n", FileTestFolder::readBytes(file));
    EXPECT_FALSE(FileTestFolder::exists(file + "._wr"));

    EXPECT_FALSE(ini.save(dir / "missing\\folder\\x.ini"));
    EXPECT_EQ(file, ini.filePath());
    EXPECT_TRUE(ini.modified);

    // A temporary file that cannot be created fails before anything moves.
    std::string blocked = dir / "blocked.ini";
    FileTestFolder::writeBytes(blocked, "old");
    CreateDirectoryA((blocked + "._wr").c_str(), nullptr);
    EXPECT_FALSE(ini.save(blocked));
    EXPECT_EQ("old", FileTestFolder::readBytes(blocked));

    ASSERT_TRUE(ini.save(""));
    EXPECT_EQ("\r\n[old]\r\nk=2\r\n", FileTestFolder::readBytes(file));
}

TEST(IniFile, ReadOnlyTargetIsReplaced)
{
    FileTestFolder dir("inireadonly");
    std::string file = dir / "presets.ini";
    FileTestFolder::writeBytes(file, "\r\n[old]\r\nk=1\r\n");
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        IniFile ini(file);
        ini.sectionWriter("old").setString("k", "2");
        ini.modified = true;
    }
    // The destructor's save went through: the change is not lost.
    EXPECT_EQ("\r\n[old]\r\nk=2\r\n", FileTestFolder::readBytes(file));
    EXPECT_EQ("\r\n[old]\r\nk=1\r\n", FileTestFolder::readBytes(file + ".bak"));
    EXPECT_FALSE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY);
}

// The backup copy failing after the new text was written (a full disk does
// that; here its temporary name is taken by a folder) must neither destroy
// the previous backup nor report success.
TEST(IniFile, FailedBackupKeepsTheOldBackupAndFails)
{
    FileTestFolder dir("inibackup");
    std::string file = dir / "presets.ini";
    FileTestFolder::writeBytes(file, "\r\n[now]\r\nk=1\r\n");
    FileTestFolder::writeBytes(file + ".bak", "\r\n[before]\r\nk=0\r\n");
    IniFile ini(file);
    ini.sectionWriter("now").setString("k", "2");
    ini.modified = true;
    ASSERT_TRUE(CreateDirectoryA((file + "._bk").c_str(), nullptr));
    EXPECT_FALSE(ini.save(""));
    EXPECT_TRUE(ini.modified);
    EXPECT_EQ("\r\n[before]\r\nk=0\r\n", FileTestFolder::readBytes(file + ".bak"));
    EXPECT_EQ("\r\n[now]\r\nk=1\r\n", FileTestFolder::readBytes(file));
    EXPECT_FALSE(FileTestFolder::exists(file + "._wr"));

    RemoveDirectoryA((file + "._bk").c_str());
    ASSERT_TRUE(ini.save(""));
    EXPECT_EQ("\r\n[now]\r\nk=1\r\n", FileTestFolder::readBytes(file + ".bak"));
    EXPECT_EQ("\r\n[now]\r\nk=2\r\n", FileTestFolder::readBytes(file));
    EXPECT_FALSE(FileTestFolder::exists(file + "._bk"));
}

TEST(IniFile, MissingOrUnnamedFiles)
{
    FileTestFolder dir("inimiss");
    IniFile missing(dir / "none.ini");
    EXPECT_TRUE(missing.sectionNames().empty());
    EXPECT_FALSE(missing.load(dir / "none.ini"));

    IniFile unnamed("");
    unnamed.sectionWriter("a").setString("k", "v");
    unnamed.modified = true;
    EXPECT_FALSE(unnamed.save(""));
    EXPECT_TRUE(unnamed.load(dir / "none.ini") == false);
    unnamed.modified = false;

    // Loading adds to what the store holds.
    FileTestFolder::writeBytes(dir / "one.ini", "[a]\r\nj=1\r\n");
    EXPECT_TRUE(unnamed.load(dir / "one.ini"));
    EXPECT_EQ("v", value(unnamed, "a", "k"));
    EXPECT_EQ("1", value(unnamed, "a", "j"));
    EXPECT_EQ(dir / "one.ini", unnamed.filePath());
}
