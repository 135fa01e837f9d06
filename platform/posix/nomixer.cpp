// Native builds have no audio mixer: the system reports no devices.
#include "platform/mixer.h"

namespace {

class NoMixerApi : public MixerApi {
public:
    std::uint32_t DeviceCount() override { return 0; }
    std::uint32_t Open(std::uint32_t, std::uintptr_t, MixerHandle*) override { return mixer::ErrorBadDeviceId; }
    std::uint32_t Capabilities(MixerHandle, std::string*, std::uint32_t*) override { return mixer::ErrorBadDeviceId; }
    std::uint32_t DestinationLine(MixerHandle, std::uint32_t, MixerLine*) override { return mixer::ErrorBadDeviceId; }
    std::uint32_t LineControls(MixerHandle, const MixerLine&, std::vector<MixerControl>*) override {
        return mixer::ErrorBadDeviceId;
    }
    std::uint32_t GetControlValue(MixerHandle, std::uint32_t, std::uint32_t*) override {
        return mixer::ErrorBadDeviceId;
    }
    std::uint32_t SetControlValue(MixerHandle, std::uint32_t, std::uint32_t) override {
        return mixer::ErrorBadDeviceId;
    }
    std::uint32_t Close(MixerHandle) override { return mixer::ErrorBadDeviceId; }
};

} // namespace

MixerApi& DefaultMixerApi() {
    static NoMixerApi api;
    return api;
}
