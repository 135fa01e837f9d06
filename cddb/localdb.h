// Looking the disc up in a local copy of the cddb database: a root directory of
// category directories, each holding xmcd files named by the range of disc ids they
// cover ("00to3f": first byte 00 to 3f).
#pragma once

#include <cstdint>

// 1 when the disc's entry was found and DiscInfo filled from it, else 0. The root is
// ProgramOptions' cddbRootDirectory.
int SearchLocalDatabase(std::uint32_t discId);

// The same search under a root of the caller's choosing.
int SearchLocalDatabaseAt(const char* root, std::uint32_t discId);

// The names of the subdirectories of root, in the order the file system lists them;
// *count is 0 when root cannot be listed or has none. Free with FreeNameList.
char** ListCategoryDirectories(const char* root, int* count);
void FreeNameList(char** names, int count);

// The range a file name covers: its first two characters and its fifth and sixth, read
// as hexadecimal in either case. false when either cannot be read.
bool ReadRangeName(const char* name, int* lower, int* upper);

// The path separator of this platform's file names.
#ifdef _WIN32
constexpr char PathSeparator = '\\';
#else
constexpr char PathSeparator = '/';
#endif
