// Where options and disc records live. The installation puts them under
// HKEY_LOCAL_MACHINE; a user who may not write there (a standard user on a system with
// access control) keeps them under the same path in HKEY_CURRENT_USER instead, and a
// user's own copy, once there, always wins over the machine's.
#pragma once

#include <string>

#include "platform/registry.h"

// The roots in the order they are read: the user's own settings before the machine's.
constexpr RegistryKey RegistryReadOrder[] = {RegistryCurrentUser, RegistryLocalMachine};

// Opens path with KEY_WRITE where this user's saves go and returns its root, or 0 when
// there is nowhere to save: the user's key when it exists already (it is the one read
// first), else the machine's; when the machine's exists but cannot be written, the
// user's is created. A machine key that does not exist at all means no installation,
// and nothing is saved, as before.
RegistryKey OpenKeyForSaving(const char* path, RegistryKeyHold* key);

// "HKEY_CURRENT_USER\<path>", for the log.
std::string RegistryPlace(RegistryKey root, const std::string& path);
