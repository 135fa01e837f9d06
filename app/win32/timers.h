// The shell's thread timers: callbacks with no window, as the user-interface thread runs them.
#pragma once

void StartStatusTimer();
void StopStatusTimer();
// The scan timer runs while the panel is shown; its period changes during a scan.
void StartScanTimer(int milliseconds);
void StopScanTimer();
// The volume-repeat timer runs while the panel is shown.
void StartVolumeRepeatTimer();
void StopVolumeRepeatTimer();
// 500 ms after a click on the icon, once.
void StartTrayClickTimer();
void StopTrayClickTimer();
