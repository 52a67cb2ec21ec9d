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

const char kShellProgramName[] = "QuillorantixShell";

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

// What a handler threw: a memory failure in the shell's words, anything else
// through the framework with the exception's own text.
void reportToUser(const char* where, const String& description)
{
    if (description.find("bad_alloc") != String::npos) {
        CWinApp* app = CWinApp::currentApp();
        showMessageBox(app ? app->mainWindow : nullptr, "Not enough memory", String(),
                       MB_ICONEXCLAMATION);
    } else {
        showExceptionReport(where, description);
    }
}

// The letter of a switch: "-x" or "/x", read in lower case; 0 for no switch.
char switchLetter(const String& text)
{
    return text.size() >= 2 && (text[0] == '-' || text[0] == '/') ? char(text[1] | 0x20) : 0;
}

} // namespace

ShellCommandLine parseShellCommandLine(const String& commandLine)
{
    ShellCommandLine parsed;
    String line = commandLine;
    line.trimLeft(" \t").trimRight(" \t");
    // Shortcuts and command prompts give a path with spaces unquoted: the
    // whole line is the one path, switches are its first two characters.
    const char letter = switchLetter(line);
    parsed.skipRegistration = letter == 'n';
    parsed.noDocument = line.empty() || letter == 'e';
    bool onlySwitches = true;
    for (const String& argument : splitCommandLine(line)) {
        const char l = argument.size() == 2 ? switchLetter(argument) : 0;
        onlySwitches = onlySwitches && (l == 'n' || l == 'e');
    }
    if (onlySwitches)
        parsed.noDocument = true;
    if (parsed.noDocument)
        return parsed;
    // The registered open command quotes the whole path.
    if (line.size() >= 2 && line[0] == '"' && line.find('"', 1) == line.size() - 1)
        line = line.substr(1, line.size() - 2);
    parsed.document = line;
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
    enableShellOpen(kShellProgramName);

    const ShellCommandLine line = parseShellCommandLine(commandLine());
    if (line.skipRegistration)
        registerFileTypes_ = false;
    if (registerFileTypes_) {
        char program[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, program, MAX_PATH);
        registerShellFileType(kShellProgramName, "QuillorantixShell.ImageFile", program,
                              kShellProgramName);
        for (const char* extension : {"jpeg", "jpg", "png", "tga", "bmp"})
            registerOpenWithProgId(extension, kShellProgramName);
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    }

    try {
        if (CMultiDocTemplate* image = findImageTemplate(IDR_IMAGETYPE))
            buildPluginMenu(image->sharedMenu());
        LoadJpegQualityOption();
    } catch (...) {
        showMessageBox(mainWindow, "initialization error...");
    }

    if (line.noDocument)
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
