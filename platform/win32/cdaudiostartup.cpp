#include "platform/cdaudiodriver.h"
#include "platform/virtualcd/virtualcd.h"
#include "platform/win32/mcidriver.h"

void InstallStartupCdAudioDriver(std::function<void(const std::string&)> notice) {
    if (VirtualCdEnabled())
        InstallCdAudioDriver(CreateVirtualCdDriverFromEnvironment(std::move(notice)));
    else
        InstallCdAudioDriver(CreateMciCdAudioDriver());
}
