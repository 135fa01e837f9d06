#include "platform/profilefile.h"

#include <atomic>

// kernel32 on Windows; elsewhere a reader whose Windows directory holds nothing.
ProfileFileApi& DefaultProfileFile();

namespace {
std::atomic<ProfileFileApi*> installedProfileFile{nullptr};
}

void InstallProfileFile(ProfileFileApi* profileFile) { installedProfileFile = profileFile; }

ProfileFileApi& ProfileFile() {
    ProfileFileApi* profileFile = installedProfileFile;
    return profileFile ? *profileFile : DefaultProfileFile();
}
