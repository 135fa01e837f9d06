// The seam to the few system facts the cddb client asks for: who and which machine is
// asking (for the server greeting and the mail), and where a temporary file may go.
// Names and paths are UTF-8; the Windows builds ask the wide calls.
#pragma once

#include <string>

// The logged-on user's name (GetUserNameW); false when the system cannot tell.
bool GetSystemUserName(std::string* name);
// The machine's NetBIOS name, at most 15 characters (GetComputerNameW).
bool GetSystemComputerName(std::string* name);
// The machine's host name as the socket layer knows it (gethostname).
bool GetSystemHostName(std::string* name);
// Creates a new empty file with a unique name in directory, named from prefix
// (GetTempFileNameW with unique number 0), and returns its path; false on failure.
bool CreateUniqueTempFile(const char* directory, const char* prefix, std::string* path);
// The Windows directory (GetWindowsDirectoryW); false when the system cannot tell.
bool GetWindowsDirectoryPath(std::string* path);

#ifndef _WIN32
// Native builds answer with fixed values, which tests set; unset values come from the
// environment (USER) and the host. Null leaves a value as it is; "" makes the call fail.
void SetFixedSystemNames(const char* user, const char* computer, const char* host);
// The directory that stands in for the Windows directory; "" makes the call fail.
// Unset (or after null), it is the system's temporary directory.
void SetFixedWindowsDirectory(const char* path);
#endif
