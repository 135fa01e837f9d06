// The audio mixer seam: the subset of the multimedia mixer interface the volume control
// uses, with the system's own codes. Windows installs winmm; native builds have no mixer;
// tests install a scripted one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An open mixer (HMIXER); 0 is none.
using MixerHandle = std::uintptr_t;

namespace mixer {
constexpr std::uint32_t NoError = 0;                        // MMSYSERR_NOERROR
constexpr std::uint32_t ErrorBadDeviceId = 2;               // MMSYSERR_BADDEVICEID
constexpr std::uint32_t LineFlagSource = 0x80000000u;       // MIXERLINE_LINEF_SOURCE
constexpr std::uint32_t ComponentDstSpeakers = 4;           // MIXERLINE_COMPONENTTYPE_DST_SPEAKERS
constexpr std::uint32_t ControlTypeVolume = 0x50030001u;    // MIXERCONTROL_CONTROLTYPE_VOLUME
constexpr std::uint32_t ControlTypeMute = 0x20010002u;      // MIXERCONTROL_CONTROLTYPE_MUTE
constexpr unsigned ControlChangeMessage = 0x3D1;            // MM_MIXM_CONTROL_CHANGE
} // namespace mixer

// A destination line as mixerGetLineInfoA describes it.
struct MixerLine {
    std::uint32_t lineId = 0;
    std::uint32_t flags = 0;
    std::uint32_t componentType = 0;
    std::uint32_t controlCount = 0;
    std::string name;
};

// One control of a line as mixerGetLineControlsA describes it.
struct MixerControl {
    std::uint32_t id = 0;
    std::uint32_t type = 0;
    std::uint32_t minimum = 0;
    std::uint32_t maximum = 0;
    std::uint32_t steps = 0;
    std::string name;
};

class MixerApi {
public:
    virtual ~MixerApi() = default;

    // Each call returns NoError or the system's MMSYSERR_ code.
    virtual std::uint32_t DeviceCount() = 0;
    // Opens a device; its control changes are posted to notifyWindow (CALLBACK_WINDOW).
    virtual std::uint32_t Open(std::uint32_t device, std::uintptr_t notifyWindow, MixerHandle* mixer) = 0;
    // The product name and the number of destination lines.
    virtual std::uint32_t Capabilities(MixerHandle mixer, std::string* productName,
                                       std::uint32_t* destinations) = 0;
    virtual std::uint32_t DestinationLine(MixerHandle mixer, std::uint32_t destination, MixerLine* line) = 0;
    // All controls of the line (line.controlCount of them).
    virtual std::uint32_t LineControls(MixerHandle mixer, const MixerLine& line,
                                       std::vector<MixerControl>* controls) = 0;
    // One channel, one unsigned 4-byte value: the controls act on all channels together.
    virtual std::uint32_t GetControlValue(MixerHandle mixer, std::uint32_t controlId, std::uint32_t* value) = 0;
    virtual std::uint32_t SetControlValue(MixerHandle mixer, std::uint32_t controlId, std::uint32_t value) = 0;
    virtual std::uint32_t Close(MixerHandle mixer) = 0;
};

// Installs the mixer for the process (null: the build's own, winmm on Windows, none
// elsewhere). Tests install theirs before the program starts.
void InstallMixerApi(MixerApi* api);
MixerApi& Mixers();
