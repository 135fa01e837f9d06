// Files and folders named by UTF-8 paths, and the environment's values as UTF-8. A
// name may hold any letter ("Musik/Ελληνικά/album.cue"): the Windows builds open and
// search through the wide calls, which take every letter, where the narrow ones would
// take only those of the ANSI code page.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// The path for std::filesystem and the file streams (which open wide on Windows).
std::filesystem::path FilePath(const std::string& utf8Path);
// A path or a part of one (a file name) back as UTF-8.
std::string PathText(const std::filesystem::path& path);

// std::fopen for a UTF-8 path.
std::FILE* OpenFile(const std::string& utf8Path, const char* mode);
// std::remove for a UTF-8 path; true when the file is gone.
bool RemoveFile(const std::string& utf8Path);

// The environment variable's value as UTF-8; empty when it is unset.
std::string EnvironmentText(const char* name);
