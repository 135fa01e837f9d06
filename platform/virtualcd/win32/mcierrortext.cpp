#include "platform/virtualcd/mcierrortext.h"

#include <windows.h>
#include <mmsystem.h>

bool VirtualMciErrorText(std::uint32_t code, char* buffer, std::uint32_t size) {
    if (size > 0) buffer[0] = '\0';
    return mciGetErrorStringA(code, buffer, size) != FALSE;
}
