#include "platform/cdaudiodriver.h"

namespace {
std::unique_ptr<CdAudioDriver>& Installed() {
    static std::unique_ptr<CdAudioDriver> driver;
    return driver;
}
} // namespace

void InstallCdAudioDriver(std::unique_ptr<CdAudioDriver> driver) { Installed() = std::move(driver); }

CdAudioDriver& CdAudio() {
    if (!Installed()) InstallStartupCdAudioDriver();
    return *Installed();
}
