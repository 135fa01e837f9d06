// A small reader of INI files with the rules of GetPrivateProfileString that the
// program meets: names compare without case, blanks around names and values are
// dropped, a value in matching quotes loses them, the first matching section and key
// win, lines starting with ';' are comments, a bare file name is looked up in the
// Windows directory given at construction, and the file is read in the ANSI code page
// (platform/ansitext.h).
#pragma once

#include <string>

#include "platform/profilefile.h"

class IniFileReader : public ProfileFileApi {
public:
    explicit IniFileReader(std::string windowsDirectory) : windowsDirectory_(std::move(windowsDirectory)) {}

    std::string GetString(const char* section, const char* key, const char* defaultText, std::size_t maxCharacters,
                          const std::string& fileName) override;

private:
    std::string windowsDirectory_;
};
