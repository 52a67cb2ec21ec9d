#include "shell/app/ShellApp.h"

#include <shlobj.h>

#include "foundation/RegistryKey.h"
#include "framework/CommandIds.h"
#include "framework/DocView.h"
#include "framework/FileDialog.h"
#include "framework/FrameworkErrors.h"
#include "framework/Hooks.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "shell/app/DibDoc.h"
#include "shell/app/DibView.h"
#include "shell/app/MainFrame.h"
#include "shell/app/ShellAboutDialog.h"
#include "shell/app/ShellResources.h"
#include "shell/dialogs/OptionsDialog.h"
#include "shell/document/ClipboardPaste.h"
#include "shell/files/ApplicationOptions.h"
#include "shell/host/PluginMenu.h"

String& CShellApp::fileExtsPath()
{
    static String path("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts");
    return path;
}

const String& CShellApp::helpAddress()
{
    static const String address("https://www.quillorantix.com/help.php?p=qlrshell");
    return address;
}

String CShellApp::homeAddress()
{
    const String& help = helpAddress();
    const size_t host = help.find("://");
    const size_t path = host == String::npos ? String::npos : help.find('/', host + 3);
    return path == String::npos ? help : String(help.substr(0, path + 1));
}

String CShellApp::homeHost()
{
    const String home = homeAddress();
    const size_t host = home.find("://");
    const String rest = host == String::npos ? home : String(home.substr(host + 3));
    return rest.substr(0, rest.find('/'));
}

bool registerOpenWithProgId(const String& extension, const String& progId)
{
    RegistryKey key(shellRegistrationRoot(),
                    CShellApp::fileExtsPath() + "\\." + extension + "\\OpenWithProgids", false);
    return key.isOpen() && key.setEmptyValue(progId);
}

namespace {

// What a handler threw, told as the shell tells its failures.
void reportToUser(const char*, const String& description)
{
    CWinApp* app = CWinApp::currentApp();
    const bool memory = description.find("bad_alloc") != String::npos ||
                        description.find("Overflow") != String::npos;
    showMessageBox(app ? app->mainWindow : nullptr,
                   memory ? String("Not enough memory") : "Unable to create image\n" + description,
                   String(), MB_ICONEXCLAMATION);
}

} // namespace

ShellCommandLine parseShellCommandLine(const String& commandLine)
{
    ShellCommandLine parsed;
    for (const String& argument : splitCommandLine(commandLine)) {
        const bool isSwitch = argument.size() == 2 && (argument[0] == '-' || argument[0] == '/');
        const char letter = isSwitch ? char(argument[1] | 0x20) : 0;
        if (letter == 'n')
            parsed.skipRegistration = true;
        else if (letter == 'e')
            parsed.noDocument = true;
        else if (parsed.document.empty())
            parsed.document = argument;
    }
    return parsed;
}

CShellApp::CShellApp() : CWinApp("Quillorantix Shell"), registerFileTypes_(true)
{
}

CShellApp::~CShellApp()
{
    setExceptionReporter(nullptr);
    closeAllDocuments();
    if (frame_ && frame_->isWindow())
        DestroyWindow(frame_->hwnd());
}

bool CShellApp::initInstance()
{
    initCommonControls();
    InitCommonControls();
    setExceptionReporter(&reportToUser);
    setTitle("Quillorantix Shell");
    setRegistryKey("Quillorantix");
    loadStdProfileSettings(16);
    addDocTemplate(new CMultiDocTemplate(
        IDR_IMAGETYPE, [] { return new CDibDoc; }, [] { return new CImageFrame; },
        [] { return new CDibView; }));

    frame_.reset(new CMainFrame);
    if (!frame_->loadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) {
        frame_.reset();
        return false;
    }
    setMainFrame(frame_.get());
    frame_->restoreWindowPlacement(showCommand());
    DragAcceptFiles(frame_->hwnd(), TRUE);

    const ShellCommandLine line = parseShellCommandLine(commandLine());
    if (line.skipRegistration)
        registerFileTypes_ = false;
    if (registerFileTypes_) {
        char program[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, program, MAX_PATH);
        registerShellFileType("QuillorantixShell", "QuillorantixShell.ImageFile", program);
        for (const char* extension : {"jpeg", "jpg", "png", "tga", "bmp"})
            registerOpenWithProgId(extension, "QuillorantixShell");
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    }

    try {
        if (CMultiDocTemplate* image = findImageTemplate(IDR_IMAGETYPE))
            buildPluginMenu(image->sharedMenu());
        LoadJpegQualityOption();
    } catch (...) {
        showMessageBox(mainWindow, "initialization error...");
    }

    if (line.noDocument || line.document.empty())
        return true;
    openDocumentFile(line.document);
    return true;
}

int CShellApp::exitInstance()
{
    setExceptionReporter(nullptr);
    return CWinApp::exitInstance();
}

CMultiDocTemplate* CShellApp::findImageTemplate(UINT stringId) const
{
    // Field 4 of the document string: the filter extension.
    String wanted = loadResourceString(stringId);
    for (int field = 0; field < 4; ++field) {
        const size_t next = wanted.find('\n');
        wanted = next == String::npos ? String() : String(wanted.substr(next + 1));
    }
    wanted = wanted.substr(0, wanted.find('\n'));
    for (const auto& docTemplate : docTemplates())
        if (docTemplate->docString(4) == wanted)
            return docTemplate.get();
    return nullptr;
}

void CShellApp::onFileOpen()
{
    String path;
    if (askOpenFileName(mainWindow, "Open image file",
                        "Image Files (*.png;*.jpg;*.tga;*.bmp)|*.png;*.jpg;*.tga;*.bmp|"
                        "All Files (*.*)|*.*||",
                        path))
        openDocumentFile(path);
}

void CShellApp::onPasteNew()
{
    if (!OpenClipboard(mainWindow)) {
        showMessageBox(mainWindow, "unable to open clipboard");
        return;
    }
    const bool hasDib = IsClipboardFormatAvailable(CF_DIB) != FALSE;
    CloseClipboard();
    if (!hasDib) {
        showMessageBox(mainWindow, "no image in clipboard");
        return;
    }
    CMultiDocTemplate* image = findImageTemplate(IDR_IMAGETYPE);
    CDibDoc* document = image ? static_cast<CDibDoc*>(image->createNewDocument()) : nullptr;
    if (!document)
        return;
    document->setTitle("Clipboard Image");
    CMDIChildWnd* frame = image->createNewFrame(document);
    if (!frame) {
        image->removeDocument(document);
        delete document;
        return;
    }
    image->initialUpdateFrame(frame, document, true);
    DocumentDib* current = document->history().currentImage();
    if (current && pasteClipboardDib(*current)) {
        document->setTitle("Clipboard Image");
        document->progressSink().finished();
        return;
    }
    document->closeAllViews();
    showMessageBox(mainWindow, "error copying image from clipboard");
}

bool CShellApp::onCmdMsg(UINT id, CCmdUI* ui)
{
    switch (id) {
    case kIdAppAbout:
        if (!ui) {
            CShellAboutDialog about(mainWindow);
            about.doModal();
        }
        return true;
    case ID_HELP_ONLINE:
        if (!ui)
            openWebPage(helpAddress());
        return true;
    case ID_OPTIONS:
        if (!ui) {
            COptionsDialog dialog(mainWindow);
            dialog.doModal();
        }
        return true;
    case ID_PASTE_NEW:
        if (ui)
            ui->enable(IsClipboardFormatAvailable(CF_DIB) != FALSE);
        else
            onPasteNew();
        return true;
    default:
        return CWinApp::onCmdMsg(id, ui);
    }
}
