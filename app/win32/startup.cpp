#include <windows.h>

#include <cstring>
#include <ctime>

#include "app/commandline.h"
#include "log/diagnostics.h"
#include "log/logmessage.h"
#include "app/random.h"
#include "app/shellstate.h"
#include "app/win32/shell.h"
#include "resources/resource.h"

int RunTunova(HINSTANCE instance, const char* cmdLine) {
    SetAppInstance(instance);
    SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));

    const CommandLine parsed = ParseCommandLine(cmdLine);
    // Owned for the whole run: the window closes as the run ends.
    const DiagnosticsThread diagnostics = parsed.diagnostics ? StartDiagnostics() : DiagnosticsThread();
    std::memcpy(Shell().commandLineDrive, parsed.drive, sizeof parsed.drive);

    // The initialisation of the main window runs the whole start sequence before
    // this call returns.
    HWND window = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_PANEL), nullptr, MainWindowProc, 0);
    if (!window) {
        LogMessage("Unable to create the main window.");
        return 1;
    }

    // The panel is a dialog: Tab moves between its buttons, Space presses one and Enter
    // runs it.
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
