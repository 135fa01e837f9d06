// A small reader of INI files with the rules of GetPrivateProfileStringA that the
// program meets: names compare without case, blanks around names and values are
// dropped, a value in matching quotes loses them, the first matching section and key
// win, lines starting with ';' are comments, and a bare file name is looked up in the
// Windows directory given at construction.
#pragma once

#include <string>

#include "platform/profilefile.h"

class IniFileReader : public ProfileFileApi {
public:
    explicit IniFileReader(std::string windowsDirectory) : windowsDirectory_(std::move(windowsDirectory)) {}

    std::uint32_t GetString(const char* section, const char* key, const char* defaultText, char* buffer,
                            std::uint32_t size, const char* fileName) override;

private:
    std::string windowsDirectory_;
};
