// The texts winmm gives for the codes the virtual drive reports or tests inject.
#include "platform/virtualcd/mcierrortext.h"

#include <cstring>

namespace {
struct ErrorText {
    std::uint32_t code;
    const char* text;
};

const ErrorText Texts[] = {
    {257, "Invalid MCI device ID. Use the ID returned when opening the MCI device."},
    {262, "There is a problem with your media device. Make sure it is working correctly or contact the device "
          "manufacturer."},
    {263, "The specified device is not open or is not recognized by MCI."},
    {265, "The device name is already being used as an alias by this application. Use a unique alias."},
    {274, "The MCI device you are using does not support the specified command."},
    {276, "The device driver is not ready."},
    {282, "The specified parameter is out of range for the specified command."},
    {291, "The device driver is already in use. To share it, use the 'shareable' parameter with each 'open' "
          "command."},
    {293, "The specified value for the time format is invalid. Refer to the MCI documentation for valid formats."},
    {296, "The specified file cannot be played on the specified MCI device. The file may be corrupt, or not in the "
          "correct format."},
};
} // namespace

bool VirtualMciErrorText(std::uint32_t code, char* buffer, std::uint32_t size) {
    if (size == 0) return false;
    buffer[0] = '\0';
    for (const ErrorText& entry : Texts) {
        if (entry.code != code) continue;
        std::strncpy(buffer, entry.text, size - 1);
        buffer[size - 1] = '\0';
        return true;
    }
    return false;
}
