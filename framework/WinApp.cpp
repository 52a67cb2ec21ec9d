#include "framework/WinApp.h"

#include <algorithm>

#include "foundation/RegistryKey.h"
#include "framework/CommandIds.h"
#include "framework/DdeServer.h"
#include "framework/DocView.h"
#include "framework/FileDialog.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkErrors.h"
#include "framework/Printing.h"

namespace {

CWinApp* theApp = nullptr;
HKEY registrationRoot = HKEY_CURRENT_USER;

String& classesPath()
{
    static String path("Software\\Classes");
    return path;
}

const char kRecentSection[] = "Recent File List";

bool namesExistingFile(const String& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

String fullPathOf(const String& path)
{
    const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (!size)
        return path;
    std::vector<char> full(size_t(size) + 1, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), DWORD(full.size()), full.data(), nullptr);
    return length && length < full.size() ? String(full.data()) : path;
}

} // namespace

const char kShellOpenTopic[] = "System";

std::vector<String> splitCommandLine(const String& line)
{
    std::vector<String> arguments;
    size_t i = 0;
    const size_t n = line.size();
    while (true) {
        while (i < n && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= n)
            break;
        String argument;
        bool quoted = false;
        while (i < n && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            if (line[i] == '\\') {
                size_t slashes = 0;
                while (i < n && line[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && line[i] == '"') {
                    argument.append(slashes / 2, '\\');
                    if (slashes % 2) {
                        argument += '"';
                        ++i;
                    }
                } else {
                    argument.append(slashes, '\\');
                }
            } else if (line[i] == '"') {
                // "" inside quotes is a literal quote.
                if (quoted && i + 1 < n && line[i + 1] == '"') {
                    argument += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += line[i++];
            }
        }
        arguments.push_back(argument);
    }
    return arguments;
}

void setShellRegistrationRoot(HKEY root, const String& path)
{
    registrationRoot = root;
    classesPath() = path;
}

HKEY shellRegistrationRoot()
{
    return registrationRoot;
}

bool registerShellFileType(const String& fileTypeId, const String& fileTypeName,
                           const String& programPath, const String& ddeService)
{
    if (fileTypeId.empty())
        return false;
    const String base = classesPath() + "\\" + fileTypeId;
    RegistryKey type(registrationRoot, base, true);
    if (!type.isOpen() || !type.setString("", fileTypeName))
        return false;
    RegistryKey icon(registrationRoot, base + "\\DefaultIcon", true);
    icon.setString("", programPath + ",0");
    RegistryKey open(registrationRoot, base + "\\shell\\open\\command", true);
    if (!open.isOpen() || !open.setString("", "\"" + programPath + "\" \"%1\""))
        return false;
    if (ddeService.empty())
        return true;
    // The Explorer tries the conversation first and starts the program only
    // when nobody answers; the started program also gets the path as "%1".
    const String dde = base + "\\shell\\open\\ddeexec";
    RegistryKey execute(registrationRoot, dde, true);
    RegistryKey application(registrationRoot, dde + "\\Application", true);
    RegistryKey topic(registrationRoot, dde + "\\Topic", true);
    return execute.setString("", "[open(\"%1\")]") && application.setString("", ddeService) &&
           topic.setString("", kShellOpenTopic);
}

// ------------------------------------------------------------------ CWinApp

CWinApp::CWinApp(const char* name)
    : CApplication(name), recentCapacity_(0), mainFrame_(nullptr), showCommand_(SW_SHOWNORMAL),
      previousApp_(theApp)
{
    theApp = this;
}

CWinApp::~CWinApp()
{
    shellOpen_.reset();
    if (theApp == this)
        theApp = previousApp_;
}

CWinApp* CWinApp::currentApp()
{
    return theApp;
}

void CWinApp::setMainFrame(CMDIFrameWnd* frame)
{
    mainFrame_ = frame;
    mainWindow = frame ? frame->hwnd() : nullptr;
}

int CWinApp::winMain(HINSTANCE instance, const char* commandLine, int showCommand)
{
    commandLine_ = commandLine ? commandLine : "";
    showCommand_ = showCommand;
    int code = 0;
    bool started = false;
    try {
        started = attachModule(instance);
    } catch (...) {
        reportCurrentException("start-up");
    }
    if (started)
        code = run();
    try {
        const int exitCode = exitInstance();
        if (started && code == 0)
            code = exitCode;
    } catch (...) {
        reportCurrentException("shut-down");
    }
    return started ? code : 1;
}

bool CWinApp::preTranslateMessage(MSG& message)
{
    if (!mainFrame_ || !mainFrame_->isWindow())
        return false;
    HWND top = message.hwnd;
    while (top && GetParent(top) && (GetWindowLongA(top, GWL_STYLE) & WS_CHILD))
        top = GetParent(top);
    if (top != mainFrame_->hwnd())
        return false;
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
        if (mainFrame_->mdiClient() && TranslateMDISysAccel(mainFrame_->mdiClient(), &message))
            return true;
        CMDIChildWnd* child = mainFrame_->activeChild();
        HACCEL childKeys = child && child->docTemplate() ? child->docTemplate()->accelerators()
                                                         : nullptr;
        if (childKeys && TranslateAcceleratorA(mainFrame_->hwnd(), childKeys, &message))
            return true;
        if (mainFrame_->accelerators() &&
            TranslateAcceleratorA(mainFrame_->hwnd(), mainFrame_->accelerators(), &message))
            return true;
    }
    return false;
}

bool CWinApp::onIdle(long)
{
    if (mainFrame_ && mainFrame_->isWindow())
        SendMessageA(mainFrame_->hwnd(), kMsgIdleUpdateCmdUi, 0, 0);
    return false;
}

int CWinApp::run()
{
    MSG message;
    bool idle = true;
    while (true) {
        while (idle && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            try {
                onIdle(0);
            } catch (...) {
                reportCurrentException("idle update");
            }
            idle = false;
        }
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1)
            return got == 0 ? int(message.wParam) : 1;
        if (!preTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        // Mouse moves and timers other than the refresh timer change
        // nothing the panes show.
        if (message.message != WM_MOUSEMOVE && message.message != WM_NCMOUSEMOVE &&
            message.message != WM_PAINT)
            idle = true;
    }
}

void CWinApp::addDocTemplate(CMultiDocTemplate* docTemplate)
{
    templates_.emplace_back(docTemplate);
}

CDocument* CWinApp::openDocumentFile(const String& path)
{
    if (templates_.empty())
        return nullptr;
    CDocument* document = templates_.front()->openDocumentFile(path.c_str());
    if (!document) {
        char full[MAX_PATH] = "";
        const String wanted = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr) ? full : path;
        for (size_t i = 0; i < recent_.size(); ++i)
            if (lstrcmpiA(recent_[i].c_str(), wanted.c_str()) == 0) {
                removeFromRecentFileList(i);
                break;
            }
    }
    return document;
}

bool CWinApp::saveAllModified()
{
    for (auto& docTemplate : templates_)
        if (!docTemplate->saveAllModified())
            return false;
    return true;
}

void CWinApp::closeAllDocuments()
{
    for (auto& docTemplate : templates_)
        docTemplate->closeAllDocuments();
}

void CWinApp::loadStdProfileSettings(int recentCount)
{
    recentCapacity_ = size_t(std::max(0, std::min(recentCount, 16)));
    recent_.clear();
    for (size_t i = 0; i < recentCapacity_; ++i) {
        const String entry =
            profileString(kRecentSection, String::fromFormat("File%u", unsigned(i + 1)), "");
        if (!entry.empty())
            recent_.push_back(entry);
    }
}

void CWinApp::saveRecentFileList()
{
    for (size_t i = 0; i < recentCapacity_; ++i)
        writeProfileString(kRecentSection, String::fromFormat("File%u", unsigned(i + 1)),
                           i < recent_.size() ? recent_[i] : String());
}

void CWinApp::addToRecentFileList(const String& path)
{
    if (!recentCapacity_ || path.empty())
        return;
    for (size_t i = 0; i < recent_.size(); ++i)
        if (lstrcmpiA(recent_[i].c_str(), path.c_str()) == 0) {
            recent_.erase(recent_.begin() + long(i));
            break;
        }
    recent_.insert(recent_.begin(), path);
    if (recent_.size() > recentCapacity_)
        recent_.resize(recentCapacity_);
    saveRecentFileList();
}

void CWinApp::removeFromRecentFileList(size_t index)
{
    if (index >= recent_.size())
        return;
    recent_.erase(recent_.begin() + long(index));
    saveRecentFileList();
}

void CWinApp::updateRecentFileMenu(HMENU popup)
{
    int first = -1;
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id >= kIdFileMruFirst && id <= kIdFileMruLast) {
            if (first < 0)
                first = i;
        }
    }
    if (first < 0)
        return;
    for (int i = GetMenuItemCount(popup) - 1; i >= first; --i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id >= kIdFileMruFirst && id <= kIdFileMruLast)
            DeleteMenu(popup, UINT(i), MF_BYPOSITION);
    }
    if (recent_.empty()) {
        InsertMenuA(popup, UINT(first), MF_BYPOSITION | MF_STRING | MF_GRAYED, kIdFileMruFirst,
                    "Recent File");
        return;
    }
    for (size_t i = 0; i < recent_.size(); ++i) {
        String text = String::fromFormat("&%u ", unsigned((i + 1) % 10));
        // An ampersand of the path would underline the next letter.
        for (char c : recent_[i]) {
            if (c == '&')
                text += '&';
            text += c;
        }
        InsertMenuA(popup, UINT(first + int(i)), MF_BYPOSITION | MF_STRING,
                    UINT(kIdFileMruFirst + i), text.c_str());
    }
}

bool CWinApp::enableShellOpen(const String& service)
{
    if (!shellOpen_)
        shellOpen_.reset(new CDdeServer);
    auto take = [this](const std::vector<DdeCommand>& commands) {
        return takeShellOpens(commands);
    };
    return shellOpen_->start(service, kShellOpenTopic, take, [this] {
        // A modal dialog or a running plug-in holds the window: a document
        // opened behind it would change what the dialog works on.
        return mainWindow && !IsWindowEnabled(mainWindow);
    });
}

bool CWinApp::takeShellOpens(const std::vector<DdeCommand>& commands)
{
    // Inside the DDEML callback only checks and queues: opening may show a
    // message box, and a client that gives up during its loop has the
    // conversation freed under the callback. All or nothing is taken.
    std::vector<String> paths;
    for (const DdeCommand& command : commands) {
        if (lstrcmpiA(command.name.c_str(), "open") != 0 || command.arguments.size() != 1 ||
            !namesExistingFile(command.arguments[0]))
            return false;
        // The current folder may change before the open runs.
        paths.push_back(fullPathOf(command.arguments[0]));
    }
    if (!mainWindow)
        return false;
    const size_t before = shellOpens_.size();
    shellOpens_.insert(shellOpens_.end(), paths.begin(), paths.end());
    if (!PostMessageA(mainWindow, kMsgShellOpen, 0, 0)) {
        shellOpens_.resize(before);
        return false;
    }
    return true;
}

void CWinApp::runShellOpens()
{
    while (!shellOpens_.empty() && mainWindow && IsWindowEnabled(mainWindow)) {
        const String path = shellOpens_.front();
        shellOpens_.pop_front();
        // One file that throws does not stop the rest.
        try {
            if (IsIconic(mainWindow))
                ShowWindow(mainWindow, SW_RESTORE);
            openDocumentFile(path);
        } catch (...) {
            reportCurrentException("shell open");
        }
    }
}

void CWinApp::onFileNew()
{
    if (!templates_.empty())
        templates_.front()->openDocumentFile(nullptr);
}

void CWinApp::onFileOpen()
{
    String path;
    if (askOpenFileName(mainWindow, String(), "All Files (*.*)|*.*||", path))
        openDocumentFile(path);
}

int CWinApp::exitInstance()
{
    if (shellOpen_)
        shellOpen_->stop();
    shellOpens_.clear();
    saveRecentFileList();
    return CApplication::exitInstance();
}

bool CWinApp::onCmdMsg(UINT id, CCmdUI* ui)
{
    if (id >= kIdFileMruFirst && id <= kIdFileMruLast) {
        const size_t index = id - kIdFileMruFirst;
        if (ui) {
            ui->enable(index < recent_.size());
        } else if (index < recent_.size()) {
            const String path = recent_[index];
            openDocumentFile(path);
        }
        return true;
    }
    switch (id) {
    case kIdFileNew:
        if (!ui)
            onFileNew();
        return true;
    case kIdFileOpen:
        if (!ui)
            onFileOpen();
        return true;
    case kIdFilePrintSetup:
        if (!ui)
            runPrintSetup(mainWindow);
        return true;
    case kIdAppExit:
        if (!ui && mainWindow)
            PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        return true;
    default:
        return false;
    }
}
