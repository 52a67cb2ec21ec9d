#pragma once

#include <deque>
#include <memory>
#include <vector>

#include <windows.h>

#include "framework/Application.h"
#include "framework/CommandTarget.h"

class CDdeServer;
struct DdeCommand;
class CDocument;
class CMDIFrameWnd;
class CMultiDocTemplate;

// Windows' rules for splitting a command line: spaces separate arguments,
// double quotes group, 2n backslashes before a quote give n and the quote
// acts, 2n+1 give n and a literal quote.
std::vector<String> splitCommandLine(const String& commandLine);

// The DDE topic of shell open requests.
extern const char kShellOpenTopic[];

// Registers a document type for the Explorer under
// <root>\<classes path> (HKEY_CURRENT_USER\Software\Classes unless tests
// point it elsewhere): the type with its name, its icon and its open command
// "<program>" "%1"; with a DDE service, also the open verb's DDE command
// [open("%1")] on that service and the shell-open topic, so that a running
// program gets the file instead of a second one starting.
bool registerShellFileType(const String& fileTypeId, const String& fileTypeName,
                           const String& programPath, const String& ddeService = String());
void setShellRegistrationRoot(HKEY root, const String& classesPath);
HKEY shellRegistrationRoot();

// The application of a document/view program: the message loop with
// accelerators and MDI system keys, the idle-time update,
// its document templates, the recent-file list of the profile and the
// application-level commands (New, Open, Print Setup, Exit, recent files).
class CWinApp : public CApplication, public CCmdTarget
{
public:
    explicit CWinApp(const char* name);
    ~CWinApp() override;

    static CWinApp* currentApp();

    // Start-up of a program: records the module, the command line and the
    // show command, runs initInstance, then the loop, then exitInstance.
    int winMain(HINSTANCE instance, const char* commandLine, int showCommand);
    // Runs the loop until WM_QUIT; returns its exit code.
    int run();
    // The idle-time update of the main frame's bars and panes.
    virtual bool onIdle(long count);
    // A message before it is dispatched: MDI system keys, accelerators. True
    // consumes it.
    virtual bool preTranslateMessage(MSG& message);

    CMDIFrameWnd* mainFrame() const { return mainFrame_; }
    void setMainFrame(CMDIFrameWnd* frame);

    void addDocTemplate(CMultiDocTemplate* docTemplate);
    const std::vector<std::unique_ptr<CMultiDocTemplate>>& docTemplates() const { return templates_; }
    // Opens through the first template; a file that fails to open is taken
    // off the recent list.
    virtual CDocument* openDocumentFile(const String& path);
    bool saveAllModified();
    void closeAllDocuments();

    // Recent files: "Recent File List"/"File1".. in the profile.
    void loadStdProfileSettings(int recentCount);
    void saveRecentFileList();
    void addToRecentFileList(const String& path);
    void removeFromRecentFileList(size_t index);
    const std::vector<String>& recentFiles() const { return recent_; }
    // Puts the entries into the popup that holds the first recent-file item.
    void updateRecentFileMenu(HMENU popup);

    // Answers [open("<path>")] on the service and the shell-open topic while
    // the program runs. A request is acknowledged when every path names an
    // existing file; the files open afterwards, from the main frame's
    // messages (an open copy is activated), so one that cannot be read is
    // told to the user, not to the client.
    bool enableShellOpen(const String& service);
    // Opens the waiting files while the main frame takes input; a dialog or
    // plug-in run that came up since holds the rest until it is enabled again.
    void runShellOpens();
    bool shellOpensWaiting() const { return !shellOpens_.empty(); }

    const String& commandLine() const { return commandLine_; }
    void setCommandLine(const String& text) { commandLine_ = text; }
    int showCommand() const { return showCommand_; }
    void setShowCommand(int show) { showCommand_ = show; }

    // Application commands.
    bool onCmdMsg(UINT id, CCmdUI* ui) override;
    virtual void onFileNew();
    virtual void onFileOpen();
    int exitInstance() override;

private:
    bool takeShellOpens(const std::vector<DdeCommand>& commands);

    std::vector<std::unique_ptr<CMultiDocTemplate>> templates_;
    std::vector<String> recent_;
    size_t recentCapacity_;
    CMDIFrameWnd* mainFrame_;
    String commandLine_;
    int showCommand_;
    CWinApp* previousApp_;
    std::unique_ptr<CDdeServer> shellOpen_;
    std::deque<String> shellOpens_;
};
