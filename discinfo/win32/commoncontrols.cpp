#include "discinfo/commoncontrols.h"

#include <windows.h>
#include <commctrl.h>

void InitialiseCommonControls() { InitCommonControls(); }
