#include "platform/fakemixer.h"

namespace {
constexpr std::uint32_t InvalidHandle = 5; // MMSYSERR_INVALHANDLE
constexpr std::uint32_t Failed = 1;        // MMSYSERR_ERROR
constexpr std::uint32_t InvalidParam = 11; // MMSYSERR_INVALPARAM
} // namespace

const FakeMixerDevice* FakeMixerApi::DeviceOf(MixerHandle mixer) const {
    if (!openMixers.count(mixer)) return nullptr;
    return &devices[mixer - HandleOf(0)];
}

std::uint32_t FakeMixerApi::DeviceCount() { return static_cast<std::uint32_t>(devices.size()); }

std::uint32_t FakeMixerApi::Open(std::uint32_t device, std::uintptr_t window, MixerHandle* mixer) {
    *mixer = 0;
    if (device >= devices.size()) return mixer::ErrorBadDeviceId;
    if (devices[device].failOpen) return Failed;
    *mixer = HandleOf(device);
    openMixers.insert(*mixer);
    notifyWindow = window;
    return mixer::NoError;
}

std::uint32_t FakeMixerApi::Capabilities(MixerHandle mixer, std::string* productName, std::uint32_t* destinations) {
    const FakeMixerDevice* device = DeviceOf(mixer);
    if (!device) return InvalidHandle;
    if (device->failCapabilities) return Failed;
    *productName = device->productName;
    *destinations = static_cast<std::uint32_t>(device->destinations.size());
    return mixer::NoError;
}

std::uint32_t FakeMixerApi::DestinationLine(MixerHandle mixer, std::uint32_t destination, MixerLine* line) {
    const FakeMixerDevice* device = DeviceOf(mixer);
    if (!device) return InvalidHandle;
    if (destination >= device->destinations.size() || device->destinations[destination].failInfo) return Failed;
    *line = device->destinations[destination].line;
    return mixer::NoError;
}

std::uint32_t FakeMixerApi::LineControls(MixerHandle mixer, const MixerLine& line,
                                         std::vector<MixerControl>* controls) {
    const FakeMixerDevice* device = DeviceOf(mixer);
    if (!device) return InvalidHandle;
    for (const FakeMixerDestination& destination : device->destinations) {
        if (destination.line.lineId != line.lineId) continue;
        if (destination.failControls) return Failed;
        *controls = destination.controls;
        return mixer::NoError;
    }
    return Failed;
}

std::uint32_t FakeMixerApi::GetControlValue(MixerHandle mixer, std::uint32_t controlId, std::uint32_t* value) {
    if (!DeviceOf(mixer)) return InvalidHandle;
    if (failingReads.count(controlId)) return Failed;
    *value = values[controlId];
    return mixer::NoError;
}

std::uint32_t FakeMixerApi::SetControlValue(MixerHandle mixer, std::uint32_t controlId, std::uint32_t value) {
    const FakeMixerDevice* device = DeviceOf(mixer);
    if (!device) return InvalidHandle;
    // Like the system's driver, a value outside the control's bounds is refused.
    for (const FakeMixerDestination& destination : device->destinations) {
        for (const MixerControl& control : destination.controls) {
            if (control.id == controlId && (value < control.minimum || value > control.maximum)) return InvalidParam;
        }
    }
    writes.emplace_back(controlId, value);
    values[controlId] = value;
    return mixer::NoError;
}

std::uint32_t FakeMixerApi::Close(MixerHandle mixer) {
    return openMixers.erase(mixer) ? mixer::NoError : InvalidHandle;
}
