#include "shell_gui/ShellGuiSupport.h"

#include <cstdlib>

#include "foundation/FileSystem.h"
#include "foundation/ModulePaths.h"
#include "foundation/RegistryKey.h"
#include "framework/Application.h"
#include "framework/FileDialog.h"
#include "framework/MessagePump.h"
#include "framework/Printing.h"
#include "framework/SaveFileDialog.h"
#include "framework/GuiTestSupport.h"
#include "framework/Screenshot.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/PngCodec.h"
#include "shell/app/DibDoc.h"
#include "shell/app/DibView.h"
#include "shell/app/MainFrame.h"
#include "shell/files/ApplicationOptions.h"
#include "shell/files/ShellImageFiles.h"

namespace shellgui {

namespace {

const char kTestRoot[] = "Software\\QxShellGuiTests";

bool noPrinter()
{
    return false;
}

} // namespace

void ShellFixture::SetUp()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot);
    CApplication::setProfileRoot(HKEY_CURRENT_USER, kTestRoot);
    setShellRegistrationRoot(HKEY_CURRENT_USER, String(kTestRoot) + "\\Classes");
    CShellApp::fileExtsPath() = String(kTestRoot) + "\\FileExts";
    // The Explorer knows these extensions; ".tga" it has never seen.
    for (const char* extension : {"jpeg", "jpg", "png", "bmp"})
        RegistryKey(HKEY_CURRENT_USER,
                    CShellApp::fileExtsPath() + "\\." + extension + "\\OpenWithProgids", true);
    setPrinterQuery(&noPrinter);
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    folder_ = String(temp) + String::fromFormat("qx shell gui %lu\\", GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    ApplicationOptions::usePath(folder_ + "Options.ini");
    setMessageBoxHook([this](const MessageBoxRequest& request) {
        boxes.push_back(request);
        if (answers_.empty())
            return IDOK;
        const int result = answers_.front();
        answers_.pop_front();
        return result;
    });
    setOpenFileHook([this](const String&, const String&, String& path) {
        if (openPaths_.empty())
            return false;
        path = openPaths_.front();
        openPaths_.pop_front();
        return true;
    });
    setSaveFileHook([this](const String&, const String&, int& index, String& path) {
        if (savePaths_.empty())
            return false;
        path = savePaths_.front().first;
        index = savePaths_.front().second;
        savePaths_.pop_front();
        return true;
    });
}

void ShellFixture::TearDown()
{
    stop();
    setMessageBoxHook(MessageBoxHook());
    setOpenFileHook(OpenFileHook());
    setSaveFileHook(SaveFileHook());
    setPrinterQuery(nullptr);
    CDibDoc::lastSaveFilterIndex() = 0;
    ApplicationOptions::usePath(ApplicationOptions::defaultPath());
    CApplication::resetProfileRoot();
    setShellRegistrationRoot(HKEY_CURRENT_USER, "Software\\Classes");
    CShellApp::fileExtsPath() =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            DeleteFileA((folder_ + found.cFileName).c_str());
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder_.c_str());
}

bool ShellFixture::start(const String& commandLine, int show)
{
    app.reset(new CShellApp);
    app->setCommandLine(commandLine);
    app->setShowCommand(show);
    const bool ok = app->attachModule(GetModuleHandleA(nullptr));
    pump();
    return ok;
}

void ShellFixture::closeFrame()
{
    if (app && app->mainWindow)
        PostMessageA(app->mainWindow, WM_CLOSE, 0, 0);
    pump();
}

void ShellFixture::stop()
{
    if (!app)
        return;
    app->closeAllDocuments();
    pump();
    app.reset();
    pump();
}

void ShellFixture::pump(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        MessagePump().pumpPending();
        if (app)
            app->onIdle(0);
        Sleep(5);
    }
}

void ShellFixture::command(UINT id)
{
    ASSERT_TRUE(app && app->mainWindow);
    PostMessageA(app->mainWindow, WM_COMMAND, id, 0);
    pump();
}

CMainFrame& ShellFixture::frame()
{
    return *app->shellFrame();
}

CDibDoc* ShellFixture::activeDocument()
{
    CView* view = frame().activeView();
    return view ? static_cast<CDibDoc*>(view->document()) : nullptr;
}

CDibView* ShellFixture::activeView()
{
    return static_cast<CDibView*>(frame().activeView());
}

int ShellFixture::documentCount()
{
    int count = 0;
    for (const auto& docTemplate : app->docTemplates())
        count += int(docTemplate->documents().size());
    return count;
}

String ShellFixture::statusText(int pane)
{
    return frame().shellStatusBar().paneText(pane);
}

String ShellFixture::menuText(UINT id)
{
    HMENU bar = GetMenu(app->mainWindow);
    const int count = GetMenuItemCount(bar);
    for (int i = 0; i < count; ++i) {
        HMENU popup = GetSubMenu(bar, i);
        if (!popup)
            continue;
        frame().updateMenuPopup(popup);
        char text[256] = "";
        if (GetMenuStringA(popup, id, text, sizeof text, MF_BYCOMMAND) > 0)
            return text;
    }
    return String();
}

String ShellFixture::writePicture(const String& name, int width, int height)
{
    OwnedBitmap picture(width, height, 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = picture.pixelAddress(x, y);
            p[0] = uint8_t(x * 255 / (width > 1 ? width - 1 : 1));
            p[1] = uint8_t(y * 255 / (height > 1 ? height - 1 : 1));
            p[2] = uint8_t((x + y) & 0xFF);
        }
    const String path = folder_ + name;
    EXPECT_TRUE(shellSaveImageFile(path, picture)) << path;
    return path;
}

String ShellFixture::profileValue(const String& section, const String& key)
{
    return app->profileString(section, key, "");
}

void saveScreenshot(HWND window, const char* name)
{
    if (guitest::screenshotsAsked()) {
        EXPECT_TRUE(guitest::saveScreenshot(guitest::captureWindow(window), name)) << name;
    }
}

} // namespace shellgui
