#include "platform/rawcd.h"

namespace {
RawCdOpener& Installed() {
    static RawCdOpener opener;
    return opener;
}
} // namespace

void InstallRawCdOpener(RawCdOpener opener) { Installed() = std::move(opener); }

std::unique_ptr<RawCdDrive> OpenRawCd(const std::string& drive, std::uint32_t* error) {
    if (!Installed()) {
        *error = win32error::InvalidFunction;
        return nullptr;
    }
    std::unique_ptr<RawCdDrive> opened = Installed()(drive, error);
    if (opened) *error = 0;
    return opened;
}
