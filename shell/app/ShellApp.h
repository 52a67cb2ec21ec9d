#pragma once

#include <memory>

#include "framework/WinApp.h"

class CMainFrame;

// The program's name: its file type, ProgID and DDE service.
extern const char kShellProgramName[];
class CMultiDocTemplate;

// The shell's application: start-up (frame, template, file types, plug-ins,
// options, the command line) and the application-level commands.
class CShellApp : public CWinApp
{
public:
    CShellApp();
    ~CShellApp() override;

    bool initInstance() override;
    int exitInstance() override;
    bool onCmdMsg(UINT id, CCmdUI* ui) override;
    void onFileOpen() override;
    void onPasteNew();

    // The template whose filter extension (field 4) equals that of the
    // string resource; null when none.
    CMultiDocTemplate* findImageTemplate(UINT stringId) const;
    CMainFrame* shellFrame() const { return frame_.get(); }
    bool registersFileTypes() const { return registerFileTypes_; }

    // The Explorer's per-user FileExts key (tests point it elsewhere).
    static String& fileExtsPath();
    static const String& helpAddress();
    // The maker's home page: the help address's scheme and host.
    static String homeAddress();
    static String homeHost();

private:
    std::unique_ptr<CMainFrame> frame_;
    bool registerFileTypes_;
};

// Writes an empty REG_NONE value named by the ProgID under the extension's
// existing OpenWithProgids key; false (nothing written) when the key is
// missing.
bool registerOpenWithProgId(const String& extension, const String& progId);

// The parts of the command line start-up looks at.
struct ShellCommandLine
{
    bool skipRegistration = false;
    bool noDocument = false;
    // The whole line, without its quotes when it is quoted as a whole.
    String document;
};
ShellCommandLine parseShellCommandLine(const String& commandLine);
