// The tip field of the notification icon's record.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

// Fills the record's tip field from a UTF-8 text: every letter kept, cut to the field at
// a character boundary, terminated.
void CopyTrayTip(NOTIFYICONDATAW& record, const std::string& text);
