// tunova_driver: what a user or the shell would do to a running player, from a test.
// Runs under Wine beside tunova.exe and prints results on standard output.
//
//   find CAPTION                      prints the window handle, exit 1 if none
//   wait CAPTION SECONDS              waits for the window to appear
//   gone CAPTION SECONDS              waits for the window to disappear
//   shown CAPTION SECONDS             waits for the window to be visible: a dialog is
//                                     found as soon as it is created, and is ready once shown
//   text CAPTION ID                   prints the text of control ID (0: the window's own)
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
//   items CAPTION ID                  prints the lines of list box ID, one a line, in UTF-8
//   modules CAPTION                   prints the file names of the modules (exe and DLLs)
//                                     loaded in the process that owns the window
//   holdkey VK SECONDS                holds virtual key VK as a hot key, as another program
//                                     would; prints "held" once it is, exit 1 if refused
//   place CAPTION ID                  prints where control ID's client area is on the screen
//                                     (0: the window's own), "left top right bottom"
//
// CAPTION is matched exactly against top-level windows of every process.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND Find(const char* caption) { return FindWindowA(nullptr, caption); }

long Number(const char* text) { return std::strtol(text, nullptr, 0); }

int Usage() {
    std::fputs("usage: tunova_driver find|wait|gone|text|click|command|post|send|close|visible|enabled|hold|pick|items|"
               "modules|holdkey|place CAPTION ...\n",
               stderr);
    return 2;
}

HWND Require(const char* caption) {
    HWND window = Find(caption);
    if (!window) {
        std::printf("no window \"%s\"\n", caption);
        std::exit(1);
    }
    return window;
}

// The control of that id among the window's children and theirs (a property sheet's
// controls sit on its pages).
HWND Descendant(HWND window, int id) {
    if (HWND control = GetDlgItem(window, id)) return control;
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM context) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(context);
            if (GetDlgCtrlID(child) != wanted->id || !IsWindowVisible(child)) return TRUE;
            wanted->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PrintUtf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
}

// Texts read from another process's list come back as Unicode only through the W
// messages.
int PrintItems(HWND list) {
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        PrintUtf8(text.c_str());
    }
    return 0;
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
        if (GetModuleBaseNameW(process, modules[i], name, MAX_PATH)) PrintUtf8(name);
    }
    CloseHandle(process);
    return listed ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string verb = argv[1];
    const char* caption = argv[2];

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
        HWND target = id ? GetDlgItem(window, id) : window;
        if (!target) return 1;
        const LRESULT length = SendMessageA(target, WM_GETTEXTLENGTH, 0, 0);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(target, WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(std::strlen(text.c_str()));
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    if (verb == "click" && argc > 3) {
        HWND button = Descendant(Require(caption), static_cast<int>(Number(argv[3])));
        if (!button) return 1;
        SendMessageA(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (verb == "command" && argc > 3) {
        PostMessageA(Require(caption), WM_COMMAND, static_cast<WPARAM>(Number(argv[3])), 0);
        return 0;
    }
    if (verb == "post" && argc > 5) {
        HWND window = Require(caption);
        for (int i = 3; i + 2 < argc; i += 3) {
            const UINT message = static_cast<UINT>(Number(argv[i]));
            if (!PostMessageA(window, message, static_cast<WPARAM>(Number(argv[i + 1])),
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
        std::printf("%ld\n", static_cast<long>(SendMessageA(window, message, wParam, lParam)));
        return 0;
    }
    if (verb == "close") {
        PostMessageA(Require(caption), WM_CLOSE, 0, 0);
        return 0;
    }
    if ((verb == "hold" || verb == "pick") && argc > 4) {
        HWND control = GetDlgItem(Require(caption), static_cast<int>(Number(argv[3])));
        if (!control) return 1;
        const WPARAM value = static_cast<WPARAM>(Number(argv[4]));
        if (verb == "hold") {
            SendMessageA(control, BM_SETSTATE, value ? TRUE : FALSE, 0);
            return 0;
        }
        return SendMessageA(control, LB_SETCURSEL, value, 0) == LB_ERR ? 1 : 0;
    }
    if (verb == "items" && argc > 3) {
        HWND list = GetDlgItem(Require(caption), static_cast<int>(Number(argv[3])));
        return list ? PrintItems(list) : 1;
    }
    if (verb == "modules") return PrintModules(Require(caption));
    if (verb == "enabled" && argc > 3) {
        HWND control = GetDlgItem(Require(caption), static_cast<int>(Number(argv[3])));
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
