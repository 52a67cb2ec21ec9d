#include "framework/Application.h"
#include "framework/DdeServer.h"
#include "framework/FileDialog.h"
#include "framework/Hooks.h"
#include "framework/MessageBox.h"
#include "framework/MessagePump.h"
#include "DdeClient.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const char kScratch[] = "Software\\QxFrameworkTests";

class Profile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
        CApplication::setProfileRoot(HKEY_CURRENT_USER, kScratch);
        app.setRegistryKey("Maker");
    }
    void TearDown() override
    {
        CApplication::resetProfileRoot();
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
    }
    void rawValue(const char* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key = nullptr;
        const String path = app.sectionKeyPath("general");
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    CApplication app{"someapp"};
};

TEST_F(Profile, ValuesLiveBelowTheReplaceableRootAndWrongTypesReadAsDefaults)
{
    EXPECT_EQ(String(kScratch) + "\\Maker\\someapp\\general", app.sectionKeyPath("general"));
    EXPECT_EQ(5, app.profileInt("general", "missing", 5));
    EXPECT_EQ("dflt", app.profileString("general", "missing", "dflt"));

    ASSERT_TRUE(app.writeProfileInt("general", "count", -3));
    ASSERT_TRUE(app.writeProfileString("general", "who", "Ann"));
    EXPECT_EQ(-3, app.profileInt("general", "count", 0));
    EXPECT_EQ("Ann", app.profileString("general", "who", ""));

    // Nothing was written under the real key.
    HKEY real = nullptr;
    EXPECT_NE(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Maker\\someapp", 0, KEY_READ, &real));

    rawValue("textint", REG_SZ, "12", 3);
    const DWORD number = 9;
    rawValue("numtext", REG_DWORD, &number, sizeof number);
    rawValue("shortint", REG_BINARY, "\x01\x02", 2);
    rawValue("unterminated", REG_SZ, "abc", 3);
    EXPECT_EQ(4, app.profileInt("general", "textint", 4));
    EXPECT_EQ("x", app.profileString("general", "numtext", "x"));
    EXPECT_EQ(4, app.profileInt("general", "shortint", 4));
    EXPECT_EQ("abc", app.profileString("general", "unterminated", ""));
    const std::string huge(5000, 'h');
    rawValue("huge", REG_SZ, huge.c_str(), DWORD(huge.size() + 1));
    EXPECT_EQ("d", app.profileString("general", "huge", "d"));

    // Without a registry key nothing is read or written.
    CApplication bare("bare");
    EXPECT_FALSE(bare.writeProfileInt("general", "count", 1));
    EXPECT_EQ(7, bare.profileInt("general", "count", 7));
}

TEST(FrameworkHelpers, DdeExecuteStringsSplitIntoCommandsOrAreRefusedWhole)
{
    std::vector<DdeCommand> commands;
    ASSERT_TRUE(parseDdeExecute(
        " [open(\"C:\\My Pictures\\a (1), b].png\")] [Print( x.png , \"y\" )][close]\r\n",
        commands));
    ASSERT_EQ(3u, commands.size());
    EXPECT_EQ("open", commands[0].name);
    ASSERT_EQ(1u, commands[0].arguments.size());
    EXPECT_EQ("C:\\My Pictures\\a (1), b].png", commands[0].arguments[0]);
    EXPECT_EQ("Print", commands[1].name);
    EXPECT_EQ((std::vector<String>{"x.png", "y"}), commands[1].arguments);
    EXPECT_TRUE(commands[2].arguments.empty());
    for (const char* bad : {"", "open(\"a\")", "[open(\"a\")", "[open(\"a)]", "[(\"a\")]",
                            "[open(\"a\" \"b\")]", "[open(\"a\")] junk"}) {
        std::vector<DdeCommand> none;
        EXPECT_FALSE(parseDdeExecute(bad, none)) << bad;
        EXPECT_TRUE(none.empty()) << bad;
    }
}

int shownBoxes = 0;

TEST(FrameworkHelpers, AnExecuteThatThrowsIsRefusedWithNothingShownAndTheServerGoesOn)
{
    setMessageBoxHook([](const MessageBoxRequest&) {
        ++shownBoxes;
        return IDOK;
    });
    std::vector<String> handled;
    CDdeServer server;
    ASSERT_TRUE(server.start("QxFrameworkDdeTest", "System", [&](const std::vector<DdeCommand>& commands) {
        handled.push_back(commands[0].name);
        if (commands[0].name == "fail")
            throw std::runtime_error("no such picture");
        return true;
    }));
    guitest::DdeClientRun client;
    client.service = "QxFrameworkDdeTest";
    client.topic = "System";
    client.executes = {"[fail]", "[open(\"a.png\")]"};
    EXPECT_TRUE(guitest::runDdeClient(client, [] { MessagePump().pumpPending(); })) << "the client hung";
    server.stop();
    setMessageBoxHook(MessageBoxHook());

    EXPECT_TRUE(client.connected);
    EXPECT_EQ((std::vector<String>{"fail", "open"}), handled);
    EXPECT_EQ((std::vector<bool>{false, true}), client.acknowledged);
    EXPECT_EQ(0, shownBoxes);
}

TEST(FrameworkHelpers, BarSeparatedFiltersBecomeNulSeparated)
{
    const char expected[] = "Files (*.a;*.b)\0*.a;*.b;\0All Files (*.*)\0*.*\0";
    EXPECT_EQ(std::string(expected, sizeof expected),
              fileDialogFilter("Files (*.a;*.b)|*.a;*.b;|All Files (*.*)|*.*||"));
    EXPECT_EQ(std::string("A\0*.a\0\0", 7), fileDialogFilter("A|*.a"));
    EXPECT_EQ(std::string("\0\0", 2), fileDialogFilter(""));
}

bool held() { return true; }
int opened = 0;
bool countOpen(const String&) { ++opened; return false; }

TEST(FrameworkHelpers, SeamsReplaceTheKeyboardAndTheBrowser)
{
    setControlKeyQuery(&held);
    EXPECT_TRUE(controlKeyDown());
    setControlKeyQuery(nullptr);
    EXPECT_FALSE(controlKeyDown());
    setWebPageOpener(&countOpen);
    EXPECT_FALSE(openWebPage("https://example.invalid/"));
    EXPECT_EQ(1, opened);
    setWebPageOpener(nullptr);
}

} // namespace
