// tunova_driver: what a user or the shell would do to a running player, from a test.
// Runs under Wine beside tunova.exe and prints results on standard output.
//
//   find CAPTION                      prints the window handle, exit 1 if none
//   wait CAPTION SECONDS              waits for the window to appear
//   gone CAPTION SECONDS              waits for the window to disappear
//   shown CAPTION SECONDS             waits for the window to be visible: a dialog is
//                                     found as soon as it is created, and is ready once shown
//   text CAPTION ID                   prints the text of control ID (0: the window's own),
//                                     also one on a page or other child dialog of the window
//   lines CAPTION ID                  prints the lines of list box or drop-down list ID,
//                                     one a line
//   click CAPTION ID                  presses a button (BM_CLICK), also one on a page or
//                                     other child dialog of the window
//   command CAPTION ID                sends WM_COMMAND with ID
//   post CAPTION MESSAGE WPARAM LPARAM   posts a message (numbers in decimal or 0x hex);
//                                     further MESSAGE WPARAM LPARAM triples are posted
//                                     right after it, as quick clicks would come
//   send CAPTION MESSAGE WPARAM LPARAM   sends a message and prints the result
//   close CAPTION                     sends WM_CLOSE
//   visible CAPTION                   prints 1 or 0
//   enabled CAPTION ID                prints 1 or 0: whether control ID takes input
//   hold CAPTION ID 1|0               holds a button down or lets it go (BM_SETSTATE), as a
//                                     mouse held on it would, without clicking it
//   pick CAPTION ID INDEX             selects line INDEX (from 0) of list box ID
//   modules CAPTION                   prints the file names of the modules (exe and DLLs)
//                                     loaded in the process that owns the window
//   holdkey VK SECONDS                holds virtual key VK as a hot key, as another program
//                                     would; prints "held" once it is, exit 1 if refused
//   place CAPTION ID                  prints where control ID's client area is on the screen
//                                     (0: the window's own), "left top right bottom"
//   codepage                          prints the system's ANSI code page (GetACP)
//
// CAPTION is matched exactly against top-level windows of every process. A control ID
// is looked for among the window's children, then among theirs (a property sheet's
// page). Texts are read through the wide messages, which Wine carries between
// processes whole, and printed as UTF-8; arguments are read from the wide command line.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* wide, int units) {
    if (units <= 0) return std::string();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, units, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, wide, units, &text[0], bytes, nullptr, nullptr);
    return text;
}

// The arguments as UTF-8 (the numbers and verbs are ASCII; a caption may not be).
std::vector<std::string> Arguments() {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i) arguments.push_back(Utf8(wide[i], static_cast<int>(std::wcslen(wide[i]))));
    LocalFree(wide);
    return arguments;
}

std::wstring Wide(const std::string& utf8) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(units > 0 ? units : 0), L'\0');
    if (units > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0], units);
    return text;
}

HWND Find(const std::string& caption) { return FindWindowW(nullptr, Wide(caption).c_str()); }

long Number(const std::string& text) { return std::strtol(text.c_str(), nullptr, 0); }

int Usage() {
    std::fputs("usage: tunova_driver find|wait|gone|text|lines|click|command|post|send|close|visible|enabled|hold|pick|"
               "modules|holdkey|place CAPTION ... | codepage\n",
               stderr);
    return 2;
}

HWND Require(const std::string& caption) {
    HWND window = Find(caption);
    if (!window) {
        std::printf("no window \"%s\"\n", caption.c_str());
        std::exit(1);
    }
    return window;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND child, LPARAM lParam) {
    ControlSearch& search = *reinterpret_cast<ControlSearch*>(lParam);
    if (GetDlgCtrlID(child) != search.id) return TRUE;
    search.found = child;
    return FALSE;
}

// The control with this id: a child of the window, or a child of one of its children.
HWND Control(HWND window, int id) {
    if (HWND child = GetDlgItem(window, id)) return child;
    ControlSearch search{id, nullptr};
    EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

std::string TextOf(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::string();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(&text[0]));
    return Utf8(text.c_str(), static_cast<int>(copied > 0 ? copied : 0));
}

// Line index of a list: by its length message and its text message.
std::string LineOf(HWND list, UINT lengthMessage, UINT textMessage, WPARAM index) {
    const LRESULT length = SendMessageW(list, lengthMessage, index, 0);
    if (length <= 0) return std::string();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, textMessage, index, reinterpret_cast<LPARAM>(&text[0]));
    return Utf8(text.c_str(), static_cast<int>(copied > 0 ? copied : 0));
}

// Every line of a list box or a drop-down list.
void PrintLines(HWND control) {
    wchar_t className[64] = {};
    GetClassNameW(control, className, 64);
    const bool combo = lstrcmpiW(className, L"ComboBox") == 0;
    const LRESULT count = SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        Print(combo ? LineOf(control, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(i))
                    : LineOf(control, LB_GETTEXTLEN, LB_GETTEXT, static_cast<WPARAM>(i)));
        Print("\n");
    }
}

int PrintModules(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (!process) return 1;
    HMODULE modules[512];
    DWORD needed = 0;
    const BOOL listed = EnumProcessModules(process, modules, sizeof modules, &needed);
    for (DWORD i = 0; listed && i < needed / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t name[MAX_PATH] = {};
        if (GetModuleBaseNameW(process, modules[i], name, MAX_PATH)) {
            Print(Utf8(name, static_cast<int>(std::wcslen(name))));
            Print("\n");
        }
    }
    CloseHandle(process);
    return listed ? 0 : 1;
}

} // namespace

int main() {
    const std::vector<std::string> argv = Arguments();
    const int argc = static_cast<int>(argv.size());
    if (argc == 2 && argv[1] == "codepage") {
        std::printf("%u\n", GetACP());
        return 0;
    }
    if (argc < 3) return Usage();
    const std::string verb = argv[1];
    const std::string caption = argv[2];

    if (verb == "holdkey" && argc > 3) {
        const UINT key = static_cast<UINT>(Number(argv[2]));
        if (!RegisterHotKey(nullptr, static_cast<int>(key), 0, key)) return 1;
        std::puts("held");
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(Number(argv[3]) * 1000));
        return 0;
    }

    if (verb == "find") {
        HWND window = Require(caption);
        std::printf("%p\n", static_cast<void*>(window));
        return 0;
    }
    if (verb == "wait" || verb == "gone" || verb == "shown") {
        const DWORD limit = argc > 3 ? static_cast<DWORD>(Number(argv[3]) * 1000) : 10000;
        for (DWORD waited = 0;; waited += 50) {
            HWND window = Find(caption);
            if (verb == "wait" && window) return 0;
            if (verb == "gone" && !window) return 0;
            if (verb == "shown" && window && IsWindowVisible(window)) return 0;
            if (waited >= limit) break;
            Sleep(50);
        }
        std::printf("timed out\n");
        return 1;
    }
    if (verb == "text" && argc > 3) {
        HWND window = Require(caption);
        const int id = static_cast<int>(Number(argv[3]));
        HWND target = id ? Control(window, id) : window;
        if (!target) return 1;
        Print(TextOf(target));
        return 0;
    }
    if (verb == "lines" && argc > 3) {
        HWND control = Control(Require(caption), static_cast<int>(Number(argv[3])));
        if (!control) return 1;
        PrintLines(control);
        return 0;
    }
    if (verb == "modules") return PrintModules(Require(caption));
    if (verb == "click" && argc > 3) {
        HWND button = Control(Require(caption), static_cast<int>(Number(argv[3])));
        if (!button) return 1;
        SendMessageW(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (verb == "command" && argc > 3) {
        PostMessageW(Require(caption), WM_COMMAND, static_cast<WPARAM>(Number(argv[3])), 0);
        return 0;
    }
    if (verb == "post" && argc > 5) {
        HWND window = Require(caption);
        for (int i = 3; i + 2 < argc; i += 3) {
            const UINT message = static_cast<UINT>(Number(argv[i]));
            if (!PostMessageW(window, message, static_cast<WPARAM>(Number(argv[i + 1])),
                              static_cast<LPARAM>(Number(argv[i + 2]))))
                return 1;
        }
        return 0;
    }
    if (verb == "send" && argc > 5) {
        HWND window = Require(caption);
        const UINT message = static_cast<UINT>(Number(argv[3]));
        const WPARAM wParam = static_cast<WPARAM>(Number(argv[4]));
        const LPARAM lParam = static_cast<LPARAM>(Number(argv[5]));
        std::printf("%ld\n", static_cast<long>(SendMessageW(window, message, wParam, lParam)));
        return 0;
    }
    if (verb == "close") {
        PostMessageW(Require(caption), WM_CLOSE, 0, 0);
        return 0;
    }
    if ((verb == "hold" || verb == "pick") && argc > 4) {
        HWND control = Control(Require(caption), static_cast<int>(Number(argv[3])));
        if (!control) return 1;
        const WPARAM value = static_cast<WPARAM>(Number(argv[4]));
        if (verb == "hold") {
            SendMessageW(control, BM_SETSTATE, value ? TRUE : FALSE, 0);
            return 0;
        }
        return SendMessageW(control, LB_SETCURSEL, value, 0) == LB_ERR ? 1 : 0;
    }
    if (verb == "enabled" && argc > 3) {
        HWND control = Control(Require(caption), static_cast<int>(Number(argv[3])));
        if (!control) return 1;
        std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
        return 0;
    }
    if (verb == "place" && argc > 3) {
        HWND window = Require(caption);
        const int id = static_cast<int>(Number(argv[3]));
        HWND control = id ? GetDlgItem(window, id) : window;
        if (!control) return 1;
        RECT client;
        GetClientRect(control, &client);
        MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&client), 2);
        std::printf("%ld %ld %ld %ld\n", client.left, client.top, client.right, client.bottom);
        return 0;
    }
    if (verb == "visible") {
        std::printf("%d\n", IsWindowVisible(Require(caption)) ? 1 : 0);
        return 0;
    }
    return Usage();
}
