#include "shell_gui/ShellGuiSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include <commctrl.h>
#include <png.h>
#include <shlobj.h>
#include <zlib.h>

#include "foundation/Exception.h"
#include "foundation/FileSystem.h"
#include "foundation/RegistryKey.h"
#include "framework/CommandIds.h"
#include "framework/FrameworkErrors.h"
#include "framework/GuiTestSupport.h"
#include "framework/Hooks.h"
#include "framework/Printing.h"
#include "framework/Screenshot.h"
#include "image/GdiBridge.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/PngCodec.h"
#include "shell/app/DibDoc.h"
#include "shell/app/DibView.h"
#include "shell/app/MainFrame.h"
#include "shell/app/ShellAboutDialog.h"
#include "shell/app/ShellResources.h"
#include "shell/dialogs/ShellDialogIds.h"

namespace {

using shellgui::ShellFixture;

class ShellStartUp : public ShellFixture {};
class ShellDocuments : public ShellFixture {};
class ShellFrame : public ShellFixture {};

TEST_F(ShellStartUp, QuotedPathOpensMaximisedWithTabStatusAndRegistration)
{
    const String path = writePicture("a picture.png", 64, 48);
    ASSERT_TRUE(start("\"" + path + "\""));
    ASSERT_EQ(1, documentCount());
    EXPECT_TRUE(boxes.empty());
    CMDIChildWnd* child = frame().activeChild();
    ASSERT_NE(nullptr, child);
    EXPECT_TRUE(IsZoomed(child->hwnd()));
    EXPECT_EQ(1, frame().tabBar().tabCount());
    EXPECT_EQ("a picture.png", frame().tabBar().tabText(0));
    EXPECT_TRUE(IsWindowVisible(frame().tabBar().hwnd()));
    EXPECT_EQ("64x48 RGB", statusText(2));
    EXPECT_EQ("Quillorantix Shell", frame().text().substr(0, 18));

    // File types: the type key with its open command, and the open-with
    // lists of the extensions the Explorer knows (".tga" is left alone).
    RegistryKey type(HKEY_CURRENT_USER, "Software\\QxShellGuiTests\\Classes\\QuillorantixShell",
                     false);
    ASSERT_TRUE(type.isOpen());
    EXPECT_STREQ("QuillorantixShell.ImageFile", type.queryBytes("", "").c_str());
    RegistryKey png(HKEY_CURRENT_USER,
                    CShellApp::fileExtsPath() + "\\.png\\OpenWithProgids", false);
    EXPECT_EQ(1u, png.valueCount());
    RegistryKey tga(HKEY_CURRENT_USER,
                    CShellApp::fileExtsPath() + "\\.tga\\OpenWithProgids", false);
    EXPECT_FALSE(tga.isOpen());
    // The extension after it is still handled.
    EXPECT_EQ(1u, RegistryKey(HKEY_CURRENT_USER,
                              CShellApp::fileExtsPath() + "\\.bmp\\OpenWithProgids", false)
                      .valueCount());

    // The document's menu bar (with its Window list) while it is open, the
    // frame's own afterwards.
    EXPECT_EQ("&Cascade", menuText(kIdWindowCascade));
    command(kIdFileClose);
    EXPECT_EQ(0, documentCount());
    EXPECT_FALSE(IsWindowVisible(frame().tabBar().hwnd()));
    EXPECT_EQ("", menuText(kIdWindowCascade));
    EXPECT_EQ("&Open Image...\tCtrl+O", menuText(kIdFileOpen));
}

TEST_F(ShellStartUp, SwitchesAndAMissingFile)
{
    ASSERT_TRUE(start("-n"));
    EXPECT_EQ(0, documentCount());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(app->registersFileTypes());
    EXPECT_FALSE(RegistryKey(HKEY_CURRENT_USER,
                             "Software\\QxShellGuiTests\\Classes\\QuillorantixShell", false)
                     .isOpen());
    stop();

    ASSERT_TRUE(start("/E \"" + writePicture("x.png", 4, 4) + "\""));
    EXPECT_EQ(0, documentCount());
    EXPECT_TRUE(RegistryKey(HKEY_CURRENT_USER,
                            "Software\\QxShellGuiTests\\Classes\\QuillorantixShell", false)
                    .isOpen());
    stop();

    // A switch followed by a path is still one path, the whole line: reported
    // once, and the program runs on.
    ASSERT_TRUE(start("-n \"" + folder() + "no such picture.png\""));
    EXPECT_EQ(0, documentCount());
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0u, boxes[0].text.find("Unable to open file\n"));
    EXPECT_TRUE(IsWindow(app->mainWindow));
}

TEST(ShellCommandLine, SplitsAsWindowsDoes)
{
    const std::vector<String> parts =
        splitCommandLine(" -n \"C:\\my pictures\\a b.png\" x\\\\\"y z\" \"q\\\"r\"");
    ASSERT_EQ(4u, parts.size());
    EXPECT_EQ("-n", parts[0]);
    EXPECT_EQ("C:\\my pictures\\a b.png", parts[1]);
    EXPECT_EQ("x\\y z", parts[2]);
    EXPECT_EQ("q\"r", parts[3]);
    // The whole line is the one path; switches are its first two characters.
    ShellCommandLine line = parseShellCommandLine(" C:\\My Pictures\\a b.png ");
    EXPECT_FALSE(line.skipRegistration);
    EXPECT_EQ("C:\\My Pictures\\a b.png", line.document);
    EXPECT_EQ("C:\\a b.png", parseShellCommandLine("\"C:\\a b.png\"").document);
    EXPECT_EQ("\"a.png\" \"b.png\"", parseShellCommandLine("\"a.png\" \"b.png\"").document);
    line = parseShellCommandLine("/N \"a b.png\"");
    EXPECT_TRUE(line.skipRegistration);
    EXPECT_FALSE(line.noDocument);
    EXPECT_EQ("/N \"a b.png\"", line.document);
    line = parseShellCommandLine("-e x.png");
    EXPECT_TRUE(line.noDocument);
    EXPECT_FALSE(line.skipRegistration);
    // Switches alone name no picture, whatever their order, case or sign.
    for (const char* switches : {"-n", "/N", "-e", "-n -e", "/e /N", "-N  /E"}) {
        line = parseShellCommandLine(switches);
        EXPECT_TRUE(line.noDocument) << switches;
        EXPECT_TRUE(line.document.empty()) << switches;
    }
    EXPECT_FALSE(parseShellCommandLine("/E -n").skipRegistration);
    EXPECT_TRUE(parseShellCommandLine("").document.empty());
}

TEST_F(ShellDocuments, OpensEveryTypeAndRunsEveryOperationWithUndo)
{
    ASSERT_TRUE(start("-n"));
    for (const char* name : {"p.png", "j.jpg", "b.bmp", "t.tga"}) {
        openWith(writePicture(name, 40, 30));
        command(kIdFileOpen);
        ASSERT_NE(nullptr, activeDocument()) << name;
        EXPECT_EQ(name, activeDocument()->title());
    }
    EXPECT_EQ(4, documentCount());
    EXPECT_EQ(4, frame().tabBar().tabCount());
    EXPECT_TRUE(boxes.empty());

    CDibDoc* doc = activeDocument();
    // The described defaults instead of the dialogs (driven in ShellDialogWiringTest).
    doc->history().setParameterRunner(nullptr);
    EXPECT_EQ("&Undo \tCtrl+Z", menuText(kIdEditUndo));
    EXPECT_FALSE(frame().isCommandEnabled(kIdEditUndo));
    // A disabled command (an accelerator of it too) does nothing.
    EXPECT_FALSE(frame().executeCommand(kIdEditUndo));
    EXPECT_TRUE(frame().isCommandEnabled(ID_OPTIONS));
    const UINT operations[] = {ID_IMAGE_FLIP, ID_IMAGE_MIRROR, ID_IMAGE_ROTATE_180,
                               ID_COLOR_BRIGHTCONTRAST, ID_COLOR_INVERT, ID_COLOR_SEPIA,
                               ID_FILTER_BOX, ID_FILTER_UNSHARP, ID_COLOR_HUESAT,
                               ID_COLOR_LEVELS, ID_IMAGE_CROP, ID_FILTER_GAUSS};
    for (UINT id : operations) {
        const size_t before = doc->history().undoCount();
        command(id);
        EXPECT_EQ(before + 1, doc->history().undoCount()) << id;
    }
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ("&Undo Gaussian Blur\tCtrl+Z", menuText(kIdEditUndo));
    EXPECT_TRUE(frame().isCommandEnabled(kIdEditUndo));

    // A quarter turn changes the size the status bar shows; undo and redo
    // walk it back and forth.
    const SIZE before = doc->imageSize();
    command(ID_IMAGE_ROTATE_CW);
    EXPECT_EQ(before.cx, doc->imageSize().cy);
    EXPECT_EQ(String::fromFormat("%dx%d RGB", int(before.cy), int(before.cx)), statusText(2));
    EXPECT_EQ(13u, doc->history().undoCount());
    command(kIdEditUndo);
    EXPECT_EQ(before.cx, doc->imageSize().cx);
    EXPECT_EQ(1u, doc->history().redoCount());
    EXPECT_EQ("&Redo " + doc->history().redoName() + "\tCtrl+Y", menuText(kIdEditRedo));
    EXPECT_FALSE(doc->history().redoName().empty());
    command(kIdEditRedo);
    EXPECT_EQ(before.cx, doc->imageSize().cy);
    EXPECT_TRUE(boxes.empty());
}

// A drop as the Explorer hands it over: DROPFILES and a double-NUL list.
HDROP makeDrop(const std::vector<String>& paths)
{
    size_t bytes = sizeof(DROPFILES) + 1;
    for (const String& path : paths)
        bytes += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    DROPFILES* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* list = reinterpret_cast<char*>(drop + 1);
    for (const String& path : paths) {
        std::memcpy(list, path.c_str(), path.size() + 1);
        list += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(ShellDocuments, DroppedFilesOpenAndOnesThatFailAreToldWithoutStoppingTheRest)
{
    ASSERT_TRUE(start("-n"));
    EXPECT_NE(0, GetWindowLongA(app->mainWindow, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const String text = folder() + "notes.txt";
    {
        std::FILE* file = std::fopen(text.c_str(), "wb");
        ASSERT_NE(nullptr, file);
        std::fputs("not a picture", file);
        std::fclose(file);
    }
    // Longer than MAX_PATH: told by its whole name, not a cut one.
    const String longName = folder() + String(300, 'q') + ".png";
    const String good = writePicture("dropped.png", 24, 16);
    // The frame frees the drop, as it must for the system's own.
    PostMessageA(app->mainWindow, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(makeDrop({text, longName, good})), 0);
    pump();
    ASSERT_EQ(1, documentCount());
    ASSERT_NE(nullptr, activeDocument());
    EXPECT_EQ("dropped.png", activeDocument()->title());
    EXPECT_EQ(24, activeDocument()->imageSize().cx);
    EXPECT_EQ(16, activeDocument()->imageSize().cy);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Unable to open file\n" + text, boxes[0].text);
    EXPECT_EQ("Unable to open file\n" + longName, boxes[1].text);
}

TEST_F(ShellDocuments, ZoomCommandsAndStatusPanes)
{
    ASSERT_TRUE(start("\"" + writePicture("z.png", 100, 80) + "\""));
    CDibView* view = activeView();
    ASSERT_NE(nullptr, view);
    command(ID_ZOOM_ONE);
    EXPECT_EQ("100.0%", statusText(3));
    command(ID_ZOOM_IN);
    EXPECT_EQ("112.5%", statusText(3));
    command(ID_ZOOM_OUT);
    command(ID_ZOOM_OUT);
    EXPECT_EQ("88.9%", statusText(3));
    // The centred image at 1:1.
    command(ID_ZOOM_ONE);
    const RECT client = view->clientRect();
    const RECT image = view->imageRect();
    EXPECT_EQ((client.right - 100) / 2, image.left);
    EXPECT_EQ((client.bottom - 80) / 2, image.top);
    // Zooming about a point keeps the image pixel under it (message 0x9010).
    view->setZoom(88, POINT{0, 0});
    ASSERT_GT(view->zoomedSize().cx, view->clientRect().right);
    const RECT area = view->clientRect();
    const POINT at = {area.right / 3, area.bottom / 3};
    const POINT s0 = view->scrollPosition();
    const double r0 = double(view->zoom().numerator()) / view->zoom().denominator();
    const double pixelX = (s0.x + at.x - view->imageRect().left) / r0;
    EXPECT_EQ(1, SendMessageA(view->hwnd(), WM_ZOOM_AT, 1, MAKELPARAM(at.x, at.y)));
    const POINT s1 = view->scrollPosition();
    const double r1 = double(view->zoom().numerator()) / view->zoom().denominator();
    EXPECT_NEAR(pixelX, (s1.x + at.x - view->imageRect().left) / r1, 1.0);
    for (int i = 0; i < 200; ++i)
        view->setZoom(1, POINT{0, 0});
    EXPECT_EQ(16u, view->zoom().numerator() / view->zoom().denominator());
    pump();
    EXPECT_FALSE(frame().isCommandEnabled(ID_ZOOM_IN));
    EXPECT_TRUE(frame().isCommandEnabled(ID_ZOOM_OUT));
    command(ID_ZOOM_FIT);
    const SIZE fitted = view->zoomedSize();
    EXPECT_LE(fitted.cx, view->clientRect().right);
    EXPECT_LE(fitted.cy, view->clientRect().bottom);
    // The largest step that fits: one more does not.
    view->setZoom(1, POINT{0, 0});
    const SIZE larger = view->zoomedSize();
    EXPECT_TRUE(larger.cx > view->clientRect().right || larger.cy > view->clientRect().bottom);
}

TEST_F(ShellDocuments, CopyAndPasteAsNewDocument)
{
    ASSERT_TRUE(start("\"" + writePicture("c.png", 33, 21) + "\""));
    command(kIdEditCopy);
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    command(ID_PASTE_NEW);
    ASSERT_EQ(2, documentCount());
    CDibDoc* pasted = activeDocument();
    ASSERT_NE(nullptr, pasted);
    EXPECT_EQ("Clipboard Image", pasted->title());
    EXPECT_EQ(33, pasted->imageSize().cx);
    EXPECT_EQ(21, pasted->imageSize().cy);

    // Text only: told so, and no new window.
    ASSERT_TRUE(OpenClipboard(app->mainWindow));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 3);
    lstrcpyA(static_cast<char*>(GlobalLock(text)), "hi");
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();
    pasted->onCmdMsg(ID_PASTE_NEW, nullptr);
    app->onPasteNew();
    pump();
    EXPECT_EQ(2, documentCount());
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ("no image in clipboard", boxes.back().text);
}

TEST_F(ShellDocuments, SaveAsOverwriteAndClosePrompt)
{
    ASSERT_TRUE(start("-n"));
    openWith(writePicture("s.png", 20, 10));
    command(kIdFileOpen);
    CDibDoc* doc = activeDocument();
    ASSERT_NE(nullptr, doc);
    command(ID_COLOR_INVERT);
    ASSERT_TRUE(doc->isModified());

    // No extension: the chosen entry's type is appended.
    saveWith(folder() + "saved", 1);
    command(kIdFileSaveAs);
    EXPECT_TRUE(fileExists(folder() + "saved.png"));
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ("saved.png", doc->title());

    // Over an existing file: No keeps the file and the modified flag.
    command(ID_COLOR_INVERT);
    const unsigned long size = fileSizeOf(folder() + "s.png");
    const String jpeg = writePicture("existing.jpg", 5, 5);
    const unsigned long jpegSize = fileSizeOf(jpeg);
    answer(IDNO);
    saveWith(jpeg, 1);
    command(kIdFileSaveAs);
    EXPECT_EQ("overwrite existing file?", boxes.back().text);
    EXPECT_EQ(jpegSize, fileSizeOf(jpeg));
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(size, fileSizeOf(folder() + "s.png"));

    // Closing asks; Cancel keeps the window, No closes without saving.
    answer(IDCANCEL);
    command(kIdFileClose);
    EXPECT_EQ(1, documentCount());
    EXPECT_EQ(0u, boxes.back().text.find("Save changes to "));
    answer(IDNO);
    command(kIdFileClose);
    EXPECT_EQ(0, documentCount());
}

TEST_F(ShellDocuments, NewImageIsWhiteAndCannotBeSavedBeforeItHasAPath)
{
    ASSERT_TRUE(start("-n"));
    // A cancelled New Image dialog opens nothing.
    guitest::whenDialogUp([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
    command(kIdFileNew);
    EXPECT_EQ(0, documentCount());
    guitest::whenDialogUp([](HWND d) {
        SetDlgItemTextA(d, IDC_WIDTH, "37");
        SetDlgItemTextA(d, IDC_HEIGHT, "29");
        SendDlgItemMessageA(d, IDC_BPP_32, BM_CLICK, 0, 0);
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    command(kIdFileNew);
    CDibDoc* doc = activeDocument();
    ASSERT_NE(nullptr, doc);
    EXPECT_FALSE(frame().isCommandEnabled(kIdFileSave));
    const DocumentDib* image = doc->history().currentImage();
    ASSERT_NE(nullptr, image);
    ASSERT_EQ(37, image->width());
    ASSERT_EQ(29, image->height());
    ASSERT_EQ(4u, image->step());
    EXPECT_TRUE(boxes.empty());
    // White and opaque everywhere, the row padding aside.
    int wrong = 0;
    for (int y = 0; y < image->height(); ++y)
        for (int x = 0; x < image->width(); ++x)
            for (uint32_t c = 0; c < image->step(); ++c)
                wrong += image->pixelAddress(x, y)[c] != 255;
    EXPECT_EQ(0, wrong);
}

TEST_F(ShellDocuments, RecentFilesDropEntriesThatFailToOpen)
{
    ASSERT_TRUE(start("-n"));
    const String first = writePicture("r1.png", 8, 8);
    const String second = writePicture("r2.png", 8, 8);
    openWith(first);
    command(kIdFileOpen);
    openWith(second);
    command(kIdFileOpen);
    ASSERT_EQ(2u, app->recentFiles().size());
    EXPECT_EQ(second, app->recentFiles()[0]);
    EXPECT_EQ(second, profileValue("Recent File List", "File1"));
    EXPECT_EQ(String("&1 ") + second, menuText(kIdFileMruFirst));
    app->closeAllDocuments();
    pump();
    DeleteFileA(second.c_str());
    command(kIdFileMruFirst);
    EXPECT_EQ(0, documentCount());
    ASSERT_EQ(1u, app->recentFiles().size());
    EXPECT_EQ(first, app->recentFiles()[0]);
    command(kIdFileMruFirst);
    EXPECT_EQ(1, documentCount());
}

TEST_F(ShellFrame, PlacementIsSavedAndRestoredOnScreen)
{
    ASSERT_TRUE(start("-n"));
    ShowWindow(app->mainWindow, SW_MAXIMIZE);
    pump();
    closeFrame();
    const String saved = profileValue("Settings", "FramePos");
    EXPECT_EQ(0u, saved.find("2,3,")) << saved;
    stop();
    ASSERT_TRUE(start("-n"));
    EXPECT_TRUE(IsZoomed(app->mainWindow));
    stop();

    // Stored minimised and far off screen: restored normal and visible.
    app.reset(new CShellApp);
    app->setRegistryKey("Quillorantix");
    app->writeProfileString("Settings", "FramePos", "0,2,0,0,-1,-1,-5000,-4000,-4200,-3400");
    app.reset();
    ASSERT_TRUE(start("-n"));
    EXPECT_FALSE(IsIconic(app->mainWindow));
    RECT r;
    GetWindowRect(app->mainWindow, &r);
    EXPECT_GE(r.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_GE(r.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    stop();

    // A minimised start asked for now is honoured.
    ASSERT_TRUE(start("-n", SW_SHOWMINNOACTIVE));
    EXPECT_TRUE(IsIconic(app->mainWindow));

    WINDOWPLACEMENT p = {};
    ASSERT_TRUE(parseWindowPlacement("2,3,-1,-1,-8,-8,10,20,300,400", p));
    EXPECT_EQ("2,3,-1,-1,-8,-8,10,20,300,400", formatWindowPlacement(p));
    EXPECT_FALSE(parseWindowPlacement("2,3,-1,-1,-8,-8,10,20,300", p));
}

TEST_F(ShellFrame, TabsFollowChildrenAndScreenshots)
{
    EXPECT_EQ(String(31, 'a'), CMdiTabBar::tabTextFor(String(31, 'a')));
    const String forty = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
    EXPECT_EQ("0123456789...qrstuvwxyzABCD", CMdiTabBar::tabTextFor(forty));

    ASSERT_TRUE(start("-n"));
    openWith(writePicture("first.png", 320, 200));
    command(kIdFileOpen);
    openWith(writePicture("second.jpg", 500, 400));
    command(kIdFileOpen);
    CMdiTabBar& tabs = frame().tabBar();
    ASSERT_EQ(2, tabs.tabCount());
    EXPECT_EQ(1, tabs.selectedTab());
    EXPECT_EQ("second.jpg", tabs.tabText(tabs.selectedTab()));
    // The inner side of the bar is two lines of the face colour, 2 pixels
    // short of each end; the etched edge keeps the ends.
    const guitest::Capture bar = guitest::captureWindow(tabs.hwnd());
    ASSERT_GT(bar.width, 10);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(face, bar.at(2, y)) << y;
        EXPECT_EQ(face, bar.at(bar.width / 2, y)) << y;
        EXPECT_EQ(face, bar.at(bar.width - 3, y)) << y;
    }
    EXPECT_NE(face, bar.at(0, 1));
    // Toolbar buttons carry their labels and follow update-UI.
    EXPECT_EQ("Open File", frame().toolBar().buttonText(0));
    EXPECT_TRUE(frame().toolBar().isButtonEnabled(ID_ZOOM_IN));
    EXPECT_FALSE(frame().toolBar().isButtonEnabled(kIdEditUndo));
    guitest::whenDialogUp([](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); });
    command(ID_COLOR_BRIGHTCONTRAST);
    EXPECT_TRUE(frame().toolBar().isButtonEnabled(kIdEditUndo));

    tabs.selectTab(0);
    pump();
    ASSERT_NE(nullptr, activeDocument());
    EXPECT_EQ("first.png", activeDocument()->title());
    EXPECT_EQ("320x200 RGB", statusText(2));
    shellgui::saveScreenshot(app->mainWindow, "shell_two_documents");

    command(kIdFilePrintPreview);
    HWND preview = currentPrintPreview();
    ASSERT_NE(nullptr, preview);
    EXPECT_FALSE(IsWindowEnabled(app->mainWindow));
    pump();
    shellgui::saveScreenshot(preview, "shell_print_preview");
    PostMessageA(preview, WM_CLOSE, 0, 0);
    pump();
    EXPECT_EQ(nullptr, currentPrintPreview());
    EXPECT_TRUE(IsWindowEnabled(app->mainWindow));

    answer(IDNO);
    command(kIdFileClose);
    EXPECT_EQ(1, tabs.tabCount());
    EXPECT_EQ("second.jpg", tabs.tabText(0));
}

std::string rectText(const RECT& r)
{
    char text[64];
    std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", long(r.left), long(r.top),
                  long(r.right), long(r.bottom));
    return text;
}

TEST_F(ShellFrame, MaximisedChildrenFillTheDocumentAreaAndRestoreWithTheirFrame)
{
    ASSERT_TRUE(start("-n"));
    openWith(writePicture("first.png", 120, 80));
    command(kIdFileOpen);
    openWith(writePicture("second.png", 90, 60));
    command(kIdFileOpen);
    ASSERT_EQ(2, documentCount());
    HWND client = frame().mdiClient();

    // The active child's client area, and the view in it, cover the
    // document area exactly, and a small picture sits in its middle.
    const auto fillsArea = [&](const char* when, const char* title) {
        CMDIChildWnd* child = frame().activeChild();
        ASSERT_NE(nullptr, child) << when;
        ASSERT_NE(nullptr, activeDocument()) << when;
        EXPECT_EQ(title, activeDocument()->title()) << when;
        EXPECT_TRUE(IsZoomed(child->hwnd())) << when;
        EXPECT_FALSE(GetWindowLongA(child->hwnd(), GWL_STYLE) & (WS_BORDER | WS_THICKFRAME))
            << when;
        const RECT area = guitest::screenClientRect(client);
        EXPECT_EQ(rectText(area), rectText(guitest::screenClientRect(child->hwnd()))) << when;
        EXPECT_EQ(rectText(area), rectText(guitest::screenClientRect(activeView()->hwnd())))
            << when;
        RECT image = activeView()->imageRect();
        MapWindowPoints(activeView()->hwnd(), nullptr, reinterpret_cast<POINT*>(&image), 2);
        EXPECT_LE(std::abs((image.top - area.top) - (area.bottom - image.bottom)), 1) << when;
        EXPECT_LE(std::abs((image.left - area.left) - (area.right - image.right)), 1) << when;
    };
    fillsArea("second opened over the maximised first", "second.png");
    shellgui::saveScreenshot(app->mainWindow, "shell_second_maximised");

    // Back to the first through a click on its tab.
    CMdiTabBar& tabs = frame().tabBar();
    RECT tab = {};
    ASSERT_TRUE(SendMessageA(tabs.hwnd(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab)));
    const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageA(tabs.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(tabs.hwnd(), WM_LBUTTONUP, 0, at);
    pump();
    fillsArea("first chosen on the tab bar", "first.png");
    shellgui::saveScreenshot(app->mainWindow, "shell_first_again_maximised");

    // Restored: caption and sizing frame are back, inside the document area.
    HWND first = frame().activeChild()->hwnd();
    SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(first), 0);
    pump();
    EXPECT_FALSE(IsZoomed(first));
    const LONG style = GetWindowLongA(first, GWL_STYLE);
    EXPECT_EQ(LONG(WS_CAPTION), style & WS_CAPTION);
    EXPECT_TRUE(style & WS_THICKFRAME);
    RECT placed, area;
    GetWindowRect(first, &placed);
    GetClientRect(client, &area);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_GE(placed.left, area.left) << rectText(placed);
    EXPECT_GE(placed.top, area.top) << rectText(placed);
    EXPECT_LE(placed.right, area.right) << rectText(placed);
    EXPECT_LE(placed.bottom, area.bottom) << rectText(placed);
    // The rectangle it was fitted to at 1:1 before it was maximised.
    const RECT inner = guitest::screenClientRect(activeView()->hwnd());
    EXPECT_EQ(120, inner.right - inner.left) << rectText(placed);
    EXPECT_EQ(80, inner.bottom - inner.top) << rectText(placed);
    shellgui::saveScreenshot(app->mainWindow, "shell_first_restored");

    // Maximised again from its caption, it fills the area once more.
    SendMessageA(first, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    pump();
    fillsArea("maximised again", "first.png");
}

std::vector<String>& openedPages()
{
    static std::vector<String> pages;
    return pages;
}

bool recordPage(const String& address)
{
    openedPages().push_back(address);
    return true;
}

TEST_F(ShellFrame, AboutBoxOpensOverTheFrameAndItsButtonAsksForTheHomePage)
{
    // An empty command line opens no document.
    ASSERT_TRUE(start(""));
    EXPECT_EQ(0, documentCount());
    openedPages().clear();
    setWebPageOpener(&recordPage);
    HWND box = nullptr;
    HWND owner = nullptr;
    bool frameEnabled = true;
    bool openAfterButton = false;
    HICON icon = nullptr;
    String caption;
    String web;
    String credits;
    guitest::whenDialogUp([&](HWND d) {
        box = d;
        owner = GetWindow(d, GW_OWNER);
        frameEnabled = IsWindowEnabled(app->mainWindow) != FALSE;
        char text[512] = "";
        GetWindowTextA(d, text, sizeof text);
        caption = text;
        GetDlgItemTextA(d, IDC_ABOUT_WEB, text, sizeof text);
        web = text;
        GetDlgItemTextA(d, IDC_ABOUT_CREDITS, text, sizeof text);
        credits = text;
        icon = reinterpret_cast<HICON>(SendMessageA(GetWindow(d, GW_CHILD), STM_GETICON, 0, 0));
        if (guitest::screenshotsAsked()) {
            guitest::pumpMessages(30);
            shellgui::saveScreenshot(d, "shell_about");
        }
        SendMessageA(GetDlgItem(d, IDC_ABOUT_WEB), BM_CLICK, 0, 0);
        openAfterButton = IsWindowVisible(d) != FALSE;
        SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    command(kIdAppAbout);
    setWebPageOpener(nullptr);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("About Quillorantix Shell", caption);
    EXPECT_EQ(app->mainWindow, owner);
    EXPECT_FALSE(frameEnabled);
    EXPECT_NE(nullptr, icon);
    EXPECT_TRUE(openAfterButton);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_TRUE(IsWindowEnabled(app->mainWindow));
    EXPECT_TRUE(boxes.empty());

    // The maker's home page, on the host of the online help.
    ASSERT_EQ(1u, openedPages().size());
    EXPECT_EQ("https://www.quillorantix.com/", openedPages()[0]);
    EXPECT_EQ(0u, CShellApp::helpAddress().find(openedPages()[0]));
    EXPECT_EQ("www.quillorantix.com", web);
    // The credits name the library versions linked in, not only the headers'.
    EXPECT_NE(String::npos, credits.find(String("zlib ") + zlibVersion() + ","));
    EXPECT_NE(String::npos, credits.find(String("libpng ") + png_get_libpng_ver(nullptr) + ","));
    EXPECT_NE(String::npos, credits.find("libjpeg-turbo "));
    EXPECT_NE(String::npos, credits.find("Independent JPEG Group"));
}

TEST_F(ShellFrame, PrintingWithoutAPrinterSaysSo)
{
    ASSERT_TRUE(start("\"" + writePicture("p.png", 30, 60) + "\""));
    command(kIdFilePrint);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(kNoPrinterMessage, boxes[0].text);
    command(kIdFilePrintSetup);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(kNoPrinterMessage, boxes[1].text);

    // The page keeps the picture's shape and stays on the page, with
    // products beyond 32 bits.
    RECT r = CDibView::printRect(30, 60, 2480, 3508, 300, 300);
    EXPECT_EQ(1754, r.right);
    EXPECT_EQ(3508, r.bottom);
    r = CDibView::printRect(60000, 30000, 4960, 7016, 600, 600);
    EXPECT_EQ(4960, r.right);
    EXPECT_EQ(2480, r.bottom);
}

} // namespace

namespace {

using shellgui::ShellFixture;

class ShellDisplay : public ShellFixture {};

TEST_F(ShellDisplay, TransparentImagesShowOverACheckerboardAndProgressShowsInTheStatusBar)
{
    OwnedBitmap clear(16, 16, 6);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            uint8_t* p = clear.pixelAddress(x, y);
            p[0] = p[1] = p[2] = 0;
            p[3] = 0;
        }
    const String path = folder() + "clear.png";
    ASSERT_TRUE(PngCodec().save(clear, path));
    ASSERT_TRUE(start("\"" + path + "\""));
    CDibDoc* doc = activeDocument();
    ASSERT_NE(nullptr, doc);
    EXPECT_EQ("16x16 RGBA", statusText(2));
    const DocumentDib* shown = doc->imageToDraw();
    ASSERT_NE(nullptr, shown);
    EXPECT_NE(doc->history().currentImage(), shown);
    EXPECT_EQ(255, shown->pixelAddress(0, 0)[0]);
    EXPECT_EQ(191, shown->pixelAddress(8, 0)[0]);
    EXPECT_FALSE(doc->displayDirty());
    // Rebuilt once after a change, at the next drawing.
    doc->onOperationCommand(ID_COLOR_INVERT);
    EXPECT_TRUE(doc->displayDirty());
    EXPECT_EQ(shown, doc->imageToDraw());
    EXPECT_FALSE(doc->displayDirty());

    // Fractions past the end stop at the bar's end; the bar goes when the
    // run ends.
    CDibDoc::ProgressSink& sink = doc->progressSink();
    EXPECT_TRUE(sink.progress(1.5f));
    HWND bar = frame().progressControl();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(1024, int(SendMessageA(bar, PBM_GETPOS, 0, 0)));
    EXPECT_EQ(1024, int(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)));
    sink.finished();
    EXPECT_EQ(nullptr, frame().progressControl());
    EXPECT_FALSE(IsWindow(bar));
}

TEST_F(ShellDisplay, ExceptionsOfHandlersAreToldAsTheShellsFailures)
{
    ASSERT_TRUE(start("-n"));
    try {
        throw std::bad_alloc();
    } catch (...) {
        reportCurrentException("test");
    }
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ("Not enough memory", boxes.back().text);
    // Anything else keeps its own text: an overflow is no memory failure
    // and no failed New command.
    try {
        throw Exception(kOverflowException);
    } catch (...) {
        reportCurrentException("test");
    }
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("An internal error occurred:\nOverflow Exception (05009010)", boxes.back().text);
    EXPECT_EQ(app->mainWindow, boxes.back().owner);
}

} // namespace
