#include "platform/cdaudiodriver.h"
#include "platform/rawcd.h"
#include "platform/virtualcd/virtualcd.h"
#include "platform/win32/mcidriver.h"
#include "platform/win32/rawcddevice.h"

void InstallStartupCdAudioDriver(std::function<void(const std::string&)> notice) {
    if (VirtualCdEnabled()) {
        RawCdOpener raw;
        InstallCdAudioDriver(CreateVirtualCdDriverFromEnvironment(std::move(notice), &raw));
        InstallRawCdOpener(std::move(raw));
    } else {
        InstallCdAudioDriver(CreateMciCdAudioDriver());
        InstallRawCdOpener(OpenDeviceRawCd);
    }
}
