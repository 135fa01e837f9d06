#include <windows.h>

#include "app/win32/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int) {
    return RunTunova(instance, cmdLine);
}
