#include "platform/virtualcd/mcierrortext.h"

#include "platform/win32/mcierror.h"

bool VirtualMciErrorText(std::uint32_t code, char* buffer, std::uint32_t size) {
    return SystemMciErrorText(code, buffer, size);
}
