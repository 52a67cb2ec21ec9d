#include "shell_gui/ShellGuiSupport.h"

#include <ddeml.h>
#include <tlhelp32.h>

#include "foundation/RegistryKey.h"
#include "framework/DdeClient.h"
#include "shell/app/DibDoc.h"
#include "shell/app/MainFrame.h"

namespace {

using guitest::DdeClientRun;
using shellgui::ShellFixture;

// The shell program itself, started as the desktop starts it, and looked at
// only from outside: its windows and a DDEML conversation of our own.
class ShellProcess
{
public:
    explicit ShellProcess(const String& arguments)
    {
        char test[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, test, MAX_PATH);
        String program(test);
        program = program.substr(0, program.find_last_of("\\/") + 1) + "QuillorantixShell.exe";
        String line = "\"" + program + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process_))
            return;
        WaitForInputIdle(process_.hProcess, 30000);
        // The frame may come up after the first idle moment.
        for (int i = 0; i < 300 && !(frame_ = findFrame()); ++i)
            Sleep(50);
    }
    ~ShellProcess()
    {
        if (!process_.hProcess)
            return;
        if (frame_)
            PostMessageA(frame_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the shell did not close";
            TerminateProcess(process_.hProcess, 1);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    ShellProcess(const ShellProcess&) = delete;
    ShellProcess& operator=(const ShellProcess&) = delete;

    HWND frame() const { return frame_; }
    DWORD id() const { return process_.dwProcessId; }

    // Titles of the MDI children of the shell's frame.
    std::vector<String> childTitles() const
    {
        std::vector<String> titles;
        HWND client = frame_ ? FindWindowExA(frame_, nullptr, "MDIClient", nullptr) : nullptr;
        for (HWND child = client ? GetWindow(client, GW_CHILD) : nullptr; child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            char title[512] = "";
            GetWindowTextA(child, title, sizeof title);
            titles.push_back(title);
        }
        return titles;
    }

    // The titles once there are this many children (opens run after the
    // request is answered), or after 10 s.
    std::vector<String> childTitles(size_t count) const
    {
        std::vector<String> titles = childTitles();
        for (int i = 0; i < 400 && titles.size() < count; ++i) {
            Sleep(25);
            titles = childTitles();
        }
        return titles;
    }

    static int runningCount()
    {
        int count = 0;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more;
             more = Process32Next(snapshot, &entry))
            count += lstrcmpiA(entry.szExeFile, "QuillorantixShell.exe") == 0;
        CloseHandle(snapshot);
        return count;
    }

    // A message box of the shell whose text begins with this.
    HWND messageBox(const String& start) const
    {
        return shellWindow([&start](HWND window) {
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            char text[1024] = "";
            // 0xFFFF: the box's text control.
            return lstrcmpA(name, "#32770") == 0 &&
                   GetDlgItemTextA(window, 0xFFFF, text, sizeof text) &&
                   String(text).find(start) == 0;
        });
    }

private:
    template <class Predicate> struct Search
    {
        DWORD process;
        Predicate& is;
        HWND found;
    };
    template <class Predicate> static BOOL CALLBACK visit(HWND window, LPARAM parameter)
    {
        Search<Predicate>& search = *reinterpret_cast<Search<Predicate>*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search.process || !IsWindowVisible(window) || !search.is(window))
            return TRUE;
        search.found = window;
        return FALSE;
    }
    // The first visible top-level window of the shell's process that `is` takes.
    template <class Predicate> HWND shellWindow(Predicate is) const
    {
        Search<Predicate> search = {process_.dwProcessId, is, nullptr};
        EnumWindows(&visit<Predicate>, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND findFrame() const
    {
        return shellWindow([](HWND window) {
            return FindWindowExA(window, nullptr, "MDIClient", nullptr) != nullptr;
        });
    }

    PROCESS_INFORMATION process_ = {};
    HWND frame_ = nullptr;
};

HDDEDATA CALLBACK ignoreDde(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return nullptr;
}

// One execute string to a service and topic from a conversation of this
// thread, as an ANSI or a Unicode client sends it; false when nobody
// answered or the server refused it.
bool executeOverDde(const char* service, const char* topic, const String& text, bool wide = false)
{
    DWORD instance = 0;
    const UINT result = wide ? DdeInitializeW(&instance, &ignoreDde, APPCMD_CLIENTONLY, 0)
                             : DdeInitializeA(&instance, &ignoreDde, APPCMD_CLIENTONLY, 0);
    if (result != DMLERR_NO_ERROR)
        return false;
    auto name = [&](const char* ansi) {
        const std::wstring unicode(ansi, ansi + lstrlenA(ansi));
        return wide ? DdeCreateStringHandleW(instance, unicode.c_str(), CP_WINUNICODE)
                    : DdeCreateStringHandleA(instance, ansi, CP_WINANSI);
    };
    HSZ serviceName = name(service);
    HSZ topicName = name(topic);
    std::vector<BYTE> data(text.begin(), text.end());
    if (wide) {
        const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        data.assign(size_t(length) * 2, 0);
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, reinterpret_cast<wchar_t*>(data.data()),
                            length);
    } else {
        data.push_back(0);
    }
    HCONV conversation = DdeConnect(instance, serviceName, topicName, nullptr);
    bool done = false;
    if (conversation) {
        DWORD status = 0;
        done = DdeClientTransaction(data.data(), DWORD(data.size()), conversation, nullptr,
                                    wide ? CF_UNICODETEXT : 0, XTYP_EXECUTE, 20000,
                                    &status) != nullptr;
        DdeDisconnect(conversation);
    }
    DdeFreeStringHandle(instance, serviceName);
    DdeFreeStringHandle(instance, topicName);
    DdeUninitialize(instance);
    return done;
}

bool hasTitle(const std::vector<String>& titles, const String& name)
{
    for (const String& title : titles)
        if (title.find(name) != String::npos)
            return true;
    return false;
}


class DesktopStart : public ShellFixture
{
protected:
    // Runs the client while this thread serves the shell's windows.
    void runClient(DdeClientRun& run)
    {
        run.service = "QuillorantixShell";
        EXPECT_TRUE(guitest::runDdeClient(run, [this] { pump(1); })) << "the client hung";
        pump();
    }
};

TEST_F(DesktopStart, UnquotedPathWithSpacesOpensAsOneDocument)
{
    const String path = writePicture("my picture (2).png", 40, 30);
    ASSERT_TRUE(start(path));
    ASSERT_EQ(1, documentCount());
    EXPECT_TRUE(boxes.empty());
    ASSERT_NE(nullptr, activeDocument());
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), activeDocument()->pathName().c_str()));
}

TEST_F(DesktopStart, OpenRequestsOverDdeReachTheRunningShellAndTheVerbNamesThem)
{
    ASSERT_TRUE(start("-n -e"));
    EXPECT_EQ(0, documentCount());
    EXPECT_TRUE(boxes.empty());

    const String first = writePicture("from the explorer.png", 32, 24);
    const String second = writePicture("second one.bmp", 16, 16);
    DdeClientRun run;
    run.topic = "System";
    run.executes = {"[open(\"" + first + "\")]",
                    // An open copy is activated, not opened twice.
                    "[open(\"" + second + "\")][open(\"" + first + "\")]",
                    "[print(\"" + first + "\")]", "[open(\"" + first + "\""};
    runClient(run);
    ASSERT_TRUE(run.connected);
    EXPECT_EQ((std::vector<bool>{true, true, false, false}), run.acknowledged);
    EXPECT_EQ(2, documentCount());
    ASSERT_NE(nullptr, activeDocument());
    EXPECT_EQ(0, lstrcmpiA(first.c_str(), activeDocument()->pathName().c_str()));
    EXPECT_TRUE(boxes.empty());

    // A missing picture is refused to the client, with every other open of
    // its request. One that exists but cannot be read is taken, and told
    // here only afterwards, outside the conversation.
    const String gone = folder() + "gone.png";
    const String unreadable = folder() + "empty.png";
    CloseHandle(CreateFileA(unreadable.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    const String notThisOne = writePicture("not with a missing one.png", 8, 8);
    DdeClientRun failing;
    failing.topic = "system";
    failing.executes = {"[open(\"" + gone + "\")]",
                        "[open(\"" + notThisOne + "\")][open(\"" + gone + "\")]",
                        "[open(\"" + unreadable + "\")]"};
    runClient(failing);
    ASSERT_TRUE(failing.connected);
    EXPECT_EQ((std::vector<bool>{false, false, true}), failing.acknowledged);
    EXPECT_EQ(2, documentCount());
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Unable to open file\n" + unreadable, boxes[0].text);

    // While a modal dialog holds the frame the request waits: the client is
    // told the shell is busy, and nothing opens behind the dialog.
    const String later = writePicture("while busy.png", 8, 8);
    EnableWindow(app->mainWindow, FALSE);
    DdeClientRun held;
    held.topic = "System";
    held.executes = {"[open(\"" + later + "\")]"};
    runClient(held);
    EnableWindow(app->mainWindow, TRUE);
    EXPECT_EQ((std::vector<bool>{false}), held.acknowledged);
    EXPECT_EQ((std::vector<bool>{true}), held.busy);
    EXPECT_EQ(2, documentCount());
    runClient(held);
    EXPECT_EQ((std::vector<bool>{false, true}), held.acknowledged);
    EXPECT_EQ(3, documentCount());

    // A dialog that comes up after a request was taken holds the rest of its
    // opens until the frame takes input again.
    const MessageBoxHook recording = setMessageBoxHook(MessageBoxHook());
    setMessageBoxHook([&](const MessageBoxRequest& request) {
        EnableWindow(app->mainWindow, FALSE);
        return recording(request);
    });
    const String afterDialog = writePicture("after the dialog.png", 8, 8);
    DdeClientRun queued;
    queued.topic = "System";
    queued.executes = {"[open(\"" + unreadable + "\")][open(\"" + afterDialog + "\")]"};
    runClient(queued);
    setMessageBoxHook(recording);
    EXPECT_EQ((std::vector<bool>{true}), queued.acknowledged);
    EXPECT_EQ(2u, boxes.size());
    EXPECT_EQ(3, documentCount());
    EnableWindow(app->mainWindow, TRUE);
    pump();
    EXPECT_EQ(4, documentCount());
    ASSERT_NE(nullptr, activeDocument());
    EXPECT_EQ(0, lstrcmpiA(afterDialog.c_str(), activeDocument()->pathName().c_str()));

    DdeClientRun otherTopic;
    otherTopic.topic = "Images";
    runClient(otherTopic);
    EXPECT_FALSE(otherTopic.connected);
    stop();

    // The open verb names the conversation, so the Explorer asks a running
    // shell first.
    ASSERT_TRUE(start("-e"));
    const String verb = "Software\\QxShellGuiTests\\Classes\\QuillorantixShell\\shell\\open";
    EXPECT_STREQ("[open(\"%1\")]",
                 RegistryKey(HKEY_CURRENT_USER, verb + "\\ddeexec", false).queryBytes("", "").c_str());
    EXPECT_STREQ("QuillorantixShell",
                 RegistryKey(HKEY_CURRENT_USER, verb + "\\ddeexec\\Application", false)
                     .queryBytes("", "")
                     .c_str());
    EXPECT_STREQ("System", RegistryKey(HKEY_CURRENT_USER, verb + "\\ddeexec\\Topic", false)
                               .queryBytes("", "")
                               .c_str());
    const String command =
        RegistryKey(HKEY_CURRENT_USER, verb + "\\command", false).queryBytes("", "").c_str();
    EXPECT_EQ(command.size() - 6, command.find("\" \"%1\""));
}

TEST_F(DesktopStart, TheProgramStartedBareOpensWhatTheExplorerSendsInItsOwnWindow)
{
    ASSERT_EQ(0, ShellProcess::runningCount());
    const String picture = writePicture("sent by the explorer.png", 24, 16);
    {
        ShellProcess shell("-n -e");
        ASSERT_NE(nullptr, shell.frame());
        EXPECT_TRUE(shell.childTitles().empty());
        EXPECT_TRUE(executeOverDde("QuillorantixShell", "System", "[open(\"" + picture + "\")]"));
        EXPECT_TRUE(hasTitle(shell.childTitles(1), "sent by the explorer.png"));
        EXPECT_EQ(1u, shell.childTitles().size());
        EXPECT_EQ(1, ShellProcess::runningCount());
        // A Unicode client reaches it as well; the open copy is only activated.
        const String other = writePicture("sent in unicode.png", 8, 8);
        EXPECT_TRUE(executeOverDde("QuillorantixShell", "System", "[open(\"" + other + "\")]", true));
        EXPECT_TRUE(executeOverDde("QuillorantixShell", "system", "[open(\"" + picture + "\")]", true));
        EXPECT_TRUE(hasTitle(shell.childTitles(2), "sent in unicode.png"));
        EXPECT_EQ(2u, shell.childTitles().size());
        EXPECT_EQ(1, ShellProcess::runningCount());
    }
    EXPECT_EQ(0, ShellProcess::runningCount());

    // A shortcut's unquoted path with spaces is one picture.
    const String spaced = writePicture("a picture with spaces.png", 12, 12);
    ASSERT_NE(String::npos, spaced.find(' '));
    ShellProcess shell(spaced);
    ASSERT_NE(nullptr, shell.frame());
    EXPECT_TRUE(hasTitle(shell.childTitles(), "a picture with spaces.png"));
    EXPECT_EQ(1u, shell.childTitles().size());
}

TEST_F(DesktopStart, AClientThatGivesUpWhileABadPictureIsToldLeavesTheShellAnswering)
{
    const String unreadable = folder() + "empty picture.png";
    CloseHandle(CreateFileA(unreadable.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    const String good = writePicture("good after all.png", 16, 16);
    ShellProcess shell("-n -e");
    ASSERT_NE(nullptr, shell.frame());
    const String text = "[open(\"" + unreadable + "\")]";
    for (int round = 0; round < 6; ++round) {
        DWORD instance = 0;
        ASSERT_EQ(UINT(DMLERR_NO_ERROR),
                  DdeInitializeA(&instance, &ignoreDde, APPCMD_CLIENTONLY, 0));
        HSZ service = DdeCreateStringHandleA(instance, "QuillorantixShell", CP_WINANSI);
        HSZ topic = DdeCreateStringHandleA(instance, "System", CP_WINANSI);
        HCONV conversation = DdeConnect(instance, service, topic, nullptr);
        bool acknowledged = false;
        if (conversation) {
            DWORD status = 0;
            acknowledged =
                DdeClientTransaction(reinterpret_cast<BYTE*>(const_cast<char*>(text.c_str())),
                                     DWORD(text.size() + 1), conversation, nullptr, 0,
                                     XTYP_EXECUTE, 2000, &status) != nullptr;
        }
        // The client gives up while the box is up, and it is answered later.
        HWND box = nullptr;
        for (int i = 0; i < 400 && !(box = shell.messageBox("Unable to open file\n")); ++i)
            Sleep(25);
        if (conversation)
            DdeDisconnect(conversation);
        DdeFreeStringHandle(instance, service);
        DdeFreeStringHandle(instance, topic);
        DdeUninitialize(instance);
        EXPECT_NE(nullptr, conversation) << round;
        EXPECT_TRUE(acknowledged) << round;
        ASSERT_NE(nullptr, box) << round;
        Sleep(700);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 400 && (IsWindow(box) || !IsWindowEnabled(shell.frame())); ++i)
            Sleep(25);
        ASSERT_FALSE(IsWindow(box)) << round;
    }
    EXPECT_TRUE(executeOverDde("QuillorantixShell", "System", "[open(\"" + good + "\")]"));
    EXPECT_TRUE(hasTitle(shell.childTitles(1), "good after all.png"));
    EXPECT_EQ(1u, shell.childTitles().size());
}

} // namespace
