// Window texts at the edge: the program's UTF-8 texts into windows and controls, and
// their texts back out, through the wide calls, so that every letter of every script
// survives the trip. The one place where window code converts.
#pragma once

#include <windows.h>

#include <string>

// A window's own text (a caption, a control's text), whole however long it is.
std::string WindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, const std::string& text);

// The text of a dialog's control.
std::string ItemTextUtf8(HWND dialog, int id);
void SetItemTextUtf8(HWND dialog, int id, const std::string& text);

// List box lines: appended, or inserted before line index.
void AddListLine(HWND list, const std::string& line);
void InsertListLine(HWND list, int index, const std::string& line);

// A drop-down list's line, appended.
void AddComboLine(HWND combo, const std::string& line);

// A message box with the program's texts; its answer (IDOK, IDYES, ...).
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);
