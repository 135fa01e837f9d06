// The profile-file seam on kernel32.
#include <windows.h>

#include "platform/profilefile.h"

namespace {

class KernelProfileFile : public ProfileFileApi {
public:
    std::uint32_t GetString(const char* section, const char* key, const char* defaultText, char* buffer,
                            std::uint32_t size, const char* fileName) override {
        return GetPrivateProfileStringA(section, key, defaultText, buffer, size, fileName);
    }
};

} // namespace

ProfileFileApi& DefaultProfileFile() {
    static KernelProfileFile profileFile;
    return profileFile;
}
