// A scripted mixer for tests: devices with given destination lines and controls, values
// kept per control id, every accepted write recorded, and failures on request. Like
// Wine's driver it refuses values out of a control's bounds and sends no change notices.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/mixer.h"

struct FakeMixerDestination {
    MixerLine line;
    std::vector<MixerControl> controls;
    bool failInfo = false;     // reading the line fails
    bool failControls = false; // reading its controls fails
};

struct FakeMixerDevice {
    std::string productName;
    std::vector<FakeMixerDestination> destinations;
    bool failOpen = false;
    bool failCapabilities = false;
};

class FakeMixerApi : public MixerApi {
public:
    // The handle of device n while it is open (never 0).
    static MixerHandle HandleOf(std::uint32_t device) { return 0x1000 + device; }

    std::uint32_t DeviceCount() override;
    std::uint32_t Open(std::uint32_t device, std::uintptr_t notifyWindow, MixerHandle* mixer) override;
    std::uint32_t Capabilities(MixerHandle mixer, std::string* productName, std::uint32_t* destinations) override;
    std::uint32_t DestinationLine(MixerHandle mixer, std::uint32_t destination, MixerLine* line) override;
    std::uint32_t LineControls(MixerHandle mixer, const MixerLine& line, std::vector<MixerControl>* controls) override;
    std::uint32_t GetControlValue(MixerHandle mixer, std::uint32_t controlId, std::uint32_t* value) override;
    std::uint32_t SetControlValue(MixerHandle mixer, std::uint32_t controlId, std::uint32_t value) override;
    std::uint32_t Close(MixerHandle mixer) override;

    std::vector<FakeMixerDevice> devices;
    std::map<std::uint32_t, std::uint32_t> values; // by control id
    std::set<std::uint32_t> failingReads;          // control ids whose reads fail
    std::vector<std::pair<std::uint32_t, std::uint32_t>> writes; // control id, value
    std::set<MixerHandle> openMixers;
    std::uintptr_t notifyWindow = 0; // of the last open

private:
    const FakeMixerDevice* DeviceOf(MixerHandle mixer) const;
};
