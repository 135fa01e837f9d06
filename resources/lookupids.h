// Resource ids of the cddb lookup's Fuzzy Search Results dialog.
#pragma once

#define IDD_MATCH_CHOICE 138
#define IDC_MATCH_LIST 1085
