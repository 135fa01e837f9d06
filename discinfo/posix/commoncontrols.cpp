#include "discinfo/commoncontrols.h"

// Native builds show no controls.
void InitialiseCommonControls() {}
