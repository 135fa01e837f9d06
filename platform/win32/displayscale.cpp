#include "platform/win32/displayscale.h"

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);
using MonitorFromPointCall = HMONITOR(WINAPI*)(POINT, DWORD);
using GetDpiForMonitorCall = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int EffectiveDpi = 0;           // MDT_EFFECTIVE_DPI
constexpr DWORD NearestToPrimary = 0x1;   // MONITOR_DEFAULTTOPRIMARY
constexpr int StandardDpi = 96;           // USER_DEFAULT_SCREEN_DPI

struct NewerCalls {
    GetDpiForWindowCall getDpiForWindow = nullptr;
    GetSystemMetricsForDpiCall getSystemMetricsForDpi = nullptr;
    MonitorFromPointCall monitorFromPoint = nullptr;
    GetDpiForMonitorCall getDpiForMonitor = nullptr;
};

template <typename Call>
Call Lookup(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Looked up once; shcore.dll stays loaded for the run (Windows 8.1 and later).
const NewerCalls& Calls() {
    static const NewerCalls calls = [] {
        NewerCalls found;
        HMODULE user = GetModuleHandleW(L"user32.dll");
        found.getDpiForWindow = Lookup<GetDpiForWindowCall>(user, "GetDpiForWindow");
        found.getSystemMetricsForDpi = Lookup<GetSystemMetricsForDpiCall>(user, "GetSystemMetricsForDpi");
        found.monitorFromPoint = Lookup<MonitorFromPointCall>(user, "MonitorFromPoint");
        found.getDpiForMonitor = Lookup<GetDpiForMonitorCall>(LoadLibraryW(L"shcore.dll"), "GetDpiForMonitor");
        return found;
    }();
    return calls;
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : StandardDpi;
}

} // namespace

int WindowDpi(HWND window) {
    const NewerCalls& calls = Calls();
    const UINT dpi = calls.getDpiForWindow && window ? calls.getDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : SystemDpi();
}

int MainMonitorDpi() {
    const NewerCalls& calls = Calls();
    if (calls.monitorFromPoint && calls.getDpiForMonitor) {
        UINT x = 0, y = 0;
        HMONITOR main = calls.monitorFromPoint(POINT{0, 0}, NearestToPrimary);
        if (main && SUCCEEDED(calls.getDpiForMonitor(main, EffectiveDpi, &x, &y)) && y) return static_cast<int>(y);
    }
    return SystemDpi();
}

int SystemMetricForDpi(int metric, int dpi) {
    const NewerCalls& calls = Calls();
    if (calls.getSystemMetricsForDpi) {
        const int value = calls.getSystemMetricsForDpi(metric, static_cast<UINT>(dpi));
        if (value > 0) return value;
    }
    return MulDiv(GetSystemMetrics(metric), dpi, SystemDpi());
}

bool HighContrastOn() {
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

HICON LoadIconSized(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
