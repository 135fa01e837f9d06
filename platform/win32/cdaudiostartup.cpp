#include "platform/cdaudiodriver.h"
#include "platform/virtualcd/virtualcd.h"
#include "platform/win32/mcidriver.h"

void InstallStartupCdAudioDriver() {
    if (VirtualCdEnabled())
        InstallCdAudioDriver(CreateVirtualCdDriverFromEnvironment());
    else
        InstallCdAudioDriver(CreateMciCdAudioDriver());
}
