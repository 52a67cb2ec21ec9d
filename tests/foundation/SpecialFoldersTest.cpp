#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include "foundation/SpecialFolders.h"

namespace {

bool noFolders(int, String&)
{
    return false;
}

int askedCsidl[8];
int askedCount = 0;

// Answers only the start menu's programs folder, recording every question.
bool onlyPrograms(int csidl, String& out)
{
    if (askedCount < 8)
        askedCsidl[askedCount++] = csidl;
    if (csidl != CSIDL_PROGRAMS)
        return false;
    out = "X:\\Programs\\";
    return true;
}

class SpecialFoldersTest : public ::testing::Test
{
protected:
    void TearDown() override { SpecialFolders::setFolderQuery(nullptr); }
};

} // namespace

TEST_F(SpecialFoldersTest, ShellAnswersEndWithSeparator)
{
    String path;
    ASSERT_TRUE(SpecialFolders::folderPath(CSIDL_APPDATA, path));
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), '\\');
    EXPECT_EQ(SpecialFolders::appDataFolder(), path);
    EXPECT_FALSE(SpecialFolders::userName().empty());
}

TEST_F(SpecialFoldersTest, FallbacksWhenTheShellCannotTell)
{
    SpecialFolders::setFolderQuery(&noFolders);
    const String user = SpecialFolders::userName();
    EXPECT_EQ(SpecialFolders::programFilesFolder(), "C:\\Program Files\\");
    EXPECT_EQ(SpecialFolders::commonProgramsFolder(), "C:\\Program Files\\");
    EXPECT_EQ(SpecialFolders::desktopFolder(), "C:\\Documents and Settings\\" + user + "\\Desktop\\");
    EXPECT_EQ(SpecialFolders::commonDesktopFolder(), "C:\\Documents and Settings\\All Users\\Desktop\\");
    EXPECT_EQ(SpecialFolders::startMenuFolder(), "C:\\Documents and Settings\\" + user + "\\Start Menu\\");
    EXPECT_EQ(SpecialFolders::commonStartMenuFolder(),
              "C:\\Documents and Settings\\All Users\\Start Menu\\");
    EXPECT_EQ(SpecialFolders::appDataFolder(),
              "C:\\Documents and Settings\\" + user + "\\Application Data\\");
}

TEST_F(SpecialFoldersTest, ProgramFilesFallsBackToProgramsFolderFirst)
{
    askedCount = 0;
    SpecialFolders::setFolderQuery(&onlyPrograms);
    EXPECT_EQ(SpecialFolders::programFilesFolder(), "X:\\Programs\\");
    ASSERT_EQ(askedCount, 2);
    EXPECT_EQ(askedCsidl[0], CSIDL_PROGRAM_FILES);
    EXPECT_EQ(askedCsidl[1], CSIDL_PROGRAMS);
}

TEST_F(SpecialFoldersTest, CreatesAShortcutThatPointsAtTheTarget)
{
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const String dir = String(temp) + "qx_shortcut_test";
    CreateDirectoryA(dir.c_str(), nullptr);
    const String target = dir + "\\target.txt";
    const String link = dir + "\\target.lnk";
    HANDLE f = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);

    ASSERT_TRUE(SpecialFolders::createShortcut(link, "Test link", target));
    EXPECT_NE(GetFileAttributesA(link.c_str()), INVALID_FILE_ATTRIBUTES);

    // Read the link back through the shell.
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    IShellLinkA* shellLink = nullptr;
    IPersistFile* file = nullptr;
    char path[MAX_PATH] = {0};
    char description[MAX_PATH] = {0};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            shellLink->GetPath(path, MAX_PATH, nullptr, 0);
            shellLink->GetDescription(description, MAX_PATH);
        }
    }
    if (file)
        file->Release();
    if (shellLink)
        shellLink->Release();
    CoUninitialize();
    EXPECT_STREQ(description, "Test link");
    EXPECT_EQ(lstrcmpiA(path, target.c_str()), 0) << path;

    DeleteFileA(link.c_str());
    DeleteFileA(target.c_str());
    RemoveDirectoryA(dir.c_str());
}

TEST_F(SpecialFoldersTest, ShortcutToAnUnsavablePlaceFails)
{
    EXPECT_FALSE(SpecialFolders::createShortcut("Q:\\no\\such\\folder\\x.lnk", "d", "C:\\windows"));
}
