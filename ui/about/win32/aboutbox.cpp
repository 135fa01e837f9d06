// The About box (dialog 103). Its figures are refreshed by a thread timer, dispatched by
// the dialog's modal loop, from the one statistics set.
#include <windows.h>

#include "platform/win32/displayscale.h"
#include "platform/win32/scoped.h"
#include "platform/win32/shellhandles.h"
#include "platform/dynamicdatastats.h"
#include "platform/win32/processorstats.h"
#include "platform/win32/windowtext.h"
#include "resources/resource.h"
#include "ui/about/aboutbox.h"
#include "ui/about/systemstatsset.h"

namespace {

constexpr UINT SamplePeriodMs = 500;

// Set while the box is open: the command that opens it is not re-entered.
int aboutOpen = 0;

// At most one box exists, so one set of statistics serves it.
struct AboutStats {
    DynamicDataStats dynamicData;
    ProcessorStats processor;
    SystemStatsSet set{dynamicData, processor};
    HWND cpuUsageLabel = nullptr;
    HWND threadCountLabel = nullptr;
    UINT_PTR timer = 0;
};

AboutStats& Stats() {
    static AboutStats stats;
    return stats;
}

void SampleSystemStats() {
    AboutStats& stats = Stats();
    const SystemFigures figures = stats.set.Sample();
    if (stats.cpuUsageLabel) SetWindowTextUtf8(stats.cpuUsageLabel, figures.cpuUsage);
    if (stats.threadCountLabel) SetWindowTextUtf8(stats.threadCountLabel, figures.threadCount);
}

VOID CALLBACK OnSampleTimer(HWND, UINT, UINT_PTR, DWORD) { SampleSystemStats(); }

// The box's picture at the size of a large icon on its screen: the icon's own image of
// that size, drawn for it, where the dialog would show the 96 DPI one stretched.
ScopedIcon& ArtAtScale() {
    static ScopedIcon art;
    return art;
}

HWND PictureOf(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return child;
    }
    return nullptr;
}

void ShowArtAtScale(HWND dialog, int dpi) {
    HWND picture = PictureOf(dialog);
    ScopedIcon art(LoadIconSized(AppInstance(), IDI_ABOUT, SystemMetricForDpi(SM_CXICON, dpi)));
    if (!picture || !art) return;
    SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(art.Get()), 0);
    ArtAtScale() = std::move(art); // the one it replaces is no longer shown
}

// WM_DPICHANGED: the box is now on a monitor of another scale.
constexpr UINT DpiChangedMessage = 0x02E0;

void StartSystemStats(HWND dialog) {
    AboutStats& stats = Stats();
    stats.cpuUsageLabel = GetDlgItem(dialog, IDC_CPU_USAGE);
    stats.threadCountLabel = GetDlgItem(dialog, IDC_THREAD_COUNT);
    stats.set.Start();
    stats.timer = SetTimer(nullptr, 0, SamplePeriodMs, OnSampleTimer);
}

void StopSystemStats() {
    AboutStats& stats = Stats();
    if (stats.timer) KillTimer(nullptr, stats.timer);
    stats.timer = 0;
    stats.set.Stop();
    stats.cpuUsageLabel = nullptr;
    stats.threadCountLabel = nullptr;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        ShowArtAtScale(dialog, WindowDpi(dialog));
        StartSystemStats(dialog);
        SampleSystemStats();  // the figures show at once, not after the first period
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    case DpiChangedMessage:
        ShowArtAtScale(dialog, HIWORD(wParam));
        return FALSE; // the dialog manager sizes the box and lays it out anew
    case WM_DESTROY:
        StopSystemStats();
        SendMessageW(PictureOf(dialog), STM_SETICON, 0, 0);
        ArtAtScale().Reset();
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void ShowAboutBox() {
    if (aboutOpen) return;
    aboutOpen = 1;
    DialogBoxParamW(AppInstance(), MAKEINTRESOURCEW(IDD_ABOUT), MainWindow(), AboutDialogProc, 0);
    aboutOpen = 0;
}
