#include "app/win32/timers.h"

#include <windows.h>

#include "app/commands.h"
#include "app/mixer.h"
#include "app/sequencing.h"

namespace {

constexpr UINT StatusPeriodMs = 1000;
constexpr UINT TrayClickPeriodMs = 500;

struct ShellTimers {
    UINT_PTR status = 0;
    UINT_PTR scan = 0;
    UINT_PTR volumeRepeat = 0;
    UINT_PTR trayClick = 0;
};

ShellTimers& Timers() {
    static ShellTimers timers;
    return timers;
}

void Stop(UINT_PTR& id) {
    if (id) KillTimer(nullptr, id);
    id = 0;
}

void CALLBACK OnStatusTimer(HWND, UINT, UINT_PTR, DWORD) { StatusTick(); }
void CALLBACK OnScanTimer(HWND, UINT, UINT_PTR, DWORD) { ScanTick(); }
void CALLBACK OnVolumeRepeatTimer(HWND, UINT, UINT_PTR, DWORD) { VolumeRepeatTick(); }
void CALLBACK OnTrayClickTimer(HWND, UINT, UINT_PTR, DWORD) { TrayClickTimeout(); }

} // namespace

void StartStatusTimer() {
    Stop(Timers().status);
    Timers().status = SetTimer(nullptr, 0, StatusPeriodMs, OnStatusTimer);
}

void StopStatusTimer() { Stop(Timers().status); }

void StartScanTimer(int milliseconds) {
    Stop(Timers().scan);
    Timers().scan = SetTimer(nullptr, 0, static_cast<UINT>(milliseconds), OnScanTimer);
}

void StopScanTimer() { Stop(Timers().scan); }

void StartVolumeRepeatTimer() {
    Stop(Timers().volumeRepeat);
    Timers().volumeRepeat = SetTimer(nullptr, 0, VolumeRepeatPeriodMs, OnVolumeRepeatTimer);
}

void StopVolumeRepeatTimer() { Stop(Timers().volumeRepeat); }

void StartTrayClickTimer() {
    Stop(Timers().trayClick);
    Timers().trayClick = SetTimer(nullptr, 0, TrayClickPeriodMs, OnTrayClickTimer);
}

void StopTrayClickTimer() { Stop(Timers().trayClick); }
