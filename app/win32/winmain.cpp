#include <windows.h>

#include "app/win32/shell.h"
#include "platform/win32/commandline.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The narrow command line would hold only the letters of the ANSI code page.
    return RunTunova(instance, ProgramArguments().c_str());
}
