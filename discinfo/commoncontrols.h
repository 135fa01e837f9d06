// The system's common controls (property sheets, up-down controls) must be
// initialised once before the property sheet can be shown.
#pragma once

void InitialiseCommonControls();
