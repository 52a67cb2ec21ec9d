#include <windows.h>

#include "shell/app/ShellApp.h"

namespace {

CShellApp theShellApp;

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    return theShellApp.winMain(instance, commandLine, showCommand);
}
