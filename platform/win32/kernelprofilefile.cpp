// The profile-file seam on kernel32's wide call, which reads an ANSI file in the
// system's code page and hands its letters over as UTF-16.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/profilefile.h"
#include "platform/utf8text.h"
#include "platform/win32/widetext.h"

namespace {

// The most the call is asked for: the profile functions give no more of one value.
constexpr std::size_t LongestValueUnits = 65536;

class KernelProfileFile : public ProfileFileApi {
public:
    std::string GetString(const char* section, const char* key, const char* defaultText, std::size_t maxCharacters,
                          const std::string& fileName) override {
        const std::wstring wideSection = section ? Utf8ToWide(section) : std::wstring();
        const std::wstring wideKey = key ? Utf8ToWide(key) : std::wstring();
        // Room for twice as many units as letters (a letter beyond 16 bits takes two),
        // so that a cut by the call falls past the letters that are kept.
        std::vector<wchar_t> buffer(std::min(maxCharacters * 2 + 2, LongestValueUnits), L'\0');
        const DWORD length = GetPrivateProfileStringW(section ? wideSection.c_str() : nullptr,
                                                      key ? wideKey.c_str() : nullptr,
                                                      Utf8ToWide(defaultText ? defaultText : "").c_str(), buffer.data(),
                                                      static_cast<DWORD>(buffer.size()), Utf8ToWide(fileName).c_str());
        return Utf8Prefix(WideToUtf8(buffer.data(), length), maxCharacters);
    }
};

} // namespace

ProfileFileApi& DefaultProfileFile() {
    static KernelProfileFile profileFile;
    return profileFile;
}
