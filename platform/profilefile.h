// Reading a private profile (INI) file, as GetPrivateProfileString does: the Windows
// builds use kernel32's wide call, native builds a small reader (platform/inireader.h).
#pragma once

#include <cstddef>
#include <string>

class ProfileFileApi {
public:
    virtual ~ProfileFileApi() = default;
    // The value of key in section (or defaultText when either is missing) as UTF-8, at
    // most maxCharacters characters of it and never half a letter. The file is read in
    // its own code page as the system reads it: the system's ANSI page (or UTF-16 with
    // a byte order mark). A bare file name means the Windows directory; fileName is
    // UTF-8.
    virtual std::string GetString(const char* section, const char* key, const char* defaultText,
                                  std::size_t maxCharacters, const std::string& fileName) = 0;
};

// Installs the reader for the process (null: the build's own default). Installed once
// at start-up; tests install their own.
void InstallProfileFile(ProfileFileApi* profileFile);
ProfileFileApi& ProfileFile();
