// Reading a private profile (INI) file, as GetPrivateProfileStringA does: the Windows
// builds use kernel32, native builds a small reader (platform/inireader.h).
#pragma once

#include <cstdint>

class ProfileFileApi {
public:
    virtual ~ProfileFileApi() = default;
    // Copies the value of key in section (or defaultText when either is missing) into
    // buffer, cut to size - 1 characters and always terminated when size > 0; returns
    // the number of characters copied. A bare file name means the Windows directory.
    virtual std::uint32_t GetString(const char* section, const char* key, const char* defaultText, char* buffer,
                                    std::uint32_t size, const char* fileName) = 0;
};

// Installs the reader for the process (null: the build's own default). Installed once
// at start-up; tests install their own.
void InstallProfileFile(ProfileFileApi* profileFile);
ProfileFileApi& ProfileFile();
