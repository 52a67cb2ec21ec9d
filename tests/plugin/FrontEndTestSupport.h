#pragma once

// The plug-in's application object of the test program, attached to the
// plug-in DLL as the DLL attaches its own: dialogs, strings, cursors and
// pictures then come from the DLL's resources. The profile lives below a
// scratch key.

#include <windows.h>

#include <vector>

#include "framework/MessageBox.h"

namespace plugintest {

// Attaches once; false when the DLL could not be loaded.
bool attachFrontEnd();

// Records message boxes and answers them.
struct MessageBoxRecorder
{
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    std::vector<MessageBoxRequest> boxes;
};

// A fresh scratch folder below the temporary folder, removed with its
// contents by the destructor; the path ends with a backslash.
struct ScratchFolder
{
    explicit ScratchFolder(const char* name);
    ~ScratchFolder();
    std::string path;
};

void writeTextFile(const std::string& path, const std::string& text);
std::string readTextFile(const std::string& path);

} // namespace plugintest
