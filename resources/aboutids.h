// Resource ids of the About box.
#pragma once

#define IDD_ABOUT 103
#define IDI_ABOUT 104

// The two live figures.
#define IDC_CPU_USAGE 1005
#define IDC_THREAD_COUNT 1006
