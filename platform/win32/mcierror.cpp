#include "platform/win32/mcierror.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/utf8text.h"
#include "platform/win32/widetext.h"

bool SystemMciErrorText(std::uint32_t code, char* buffer, std::uint32_t size) {
    if (size > 0) buffer[0] = '\0';
    wchar_t text[MAXERRORLENGTH] = {};
    if (!mciGetErrorStringW(code, text, MAXERRORLENGTH)) return false;
    CopyUtf8(WideToUtf8(text), buffer, size);
    return true;
}
