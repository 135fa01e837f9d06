// Without MCI the virtual drives are the only CD drives there are.
#include "platform/cdaudiodriver.h"
#include "platform/virtualcd/virtualcd.h"

void InstallStartupCdAudioDriver(std::function<void(const std::string&)> notice) {
    RawCdOpener raw;
    InstallCdAudioDriver(CreateVirtualCdDriverFromEnvironment(std::move(notice), &raw));
    InstallRawCdOpener(std::move(raw));
}
