#pragma once

// Drives the real shell: a CShellApp started as the program starts it, with
// its profile, file types, options, message boxes, file dialogs and printer
// pointed at test doubles, and commands posted to its main frame.

#include <deque>
#include <memory>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "foundation/String.h"
#include "framework/MessageBox.h"
#include "shell/app/ShellApp.h"

class CDibDoc;
class CDibView;
class CMainFrame;

namespace shellgui {

class ShellFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the application with a command line; false when start-up failed.
    bool start(const String& commandLine, int show = SW_SHOWNORMAL);
    // Closes the frame as the user would (placement saved, documents asked).
    void closeFrame();
    void stop();
    void pump(int rounds = 4);
    void command(UINT id);
    // The next message boxes get these answers (IDOK when none is queued).
    void answer(int result) { answers_.push_back(result); }
    // The next open-file and save-file dialogs choose these.
    void openWith(const String& path) { openPaths_.push_back(path); }
    void saveWith(const String& path, int filterIndex)
    {
        savePaths_.push_back(std::make_pair(path, filterIndex));
    }

    CMainFrame& frame();
    CDibDoc* activeDocument();
    CDibView* activeView();
    int documentCount();
    String statusText(int pane);
    // The text of a menu item of the menu bar after an update-UI pass.
    String menuText(UINT id);

    // A picture written by type into the scratch folder: BGR with a
    // gradient, width x height.
    String writePicture(const String& name, int width, int height);
    String folder() const { return folder_; }
    String profileValue(const String& section, const String& key);

    std::unique_ptr<CShellApp> app;
    std::vector<MessageBoxRequest> boxes;

private:
    String folder_;
    std::deque<int> answers_;
    std::deque<String> openPaths_;
    std::deque<std::pair<String, int>> savePaths_;
};

// With QX_SCREENSHOT_DIR set, the window's picture is saved there.
void saveScreenshot(HWND window, const char* name);

} // namespace shellgui
