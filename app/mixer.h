// The master (speakers) volume and mute of the system's mixer, worked by the panel's
// volume buttons and shown by its volume bar.
#pragma once

#include <cstdint>

#include "platform/mixer.h"
#include "resources/controlids.h"

// The process-wide mixer record of the user-interface thread.
struct MixerRecord {
    MixerHandle mixerHandle = 0;      // 0 when no usable mixer was found
    // Control ids count from 0 on real drivers, so an id alone cannot say "none".
    bool hasVolumeControl = false;
    bool hasMuteControl = false;
    std::uint32_t volumeControlId = 0;
    std::uint32_t muteControlId = 0;
    std::uint32_t volumeMin = 0;
    std::uint32_t volumeMax = 0;
    std::uint32_t volumeStep = 0;      // change per button step
    std::uint32_t volumeValue = 0;     // last known volume
    std::int32_t muteValue = 0;        // last known mute state, non-zero = muted
};

MixerRecord& MixerState();
// Back to "no mixer" (tests; the mixer itself is not closed).
void ResetMixerState();

// What the volume logic asks of the panel. The Windows build installs the real panel.
class VolumeView {
public:
    virtual ~VolumeView() = default;
    // Invalidates and erases the volume bar so that it is drawn again.
    virtual void RedrawVolumeBar() = 0;
    // No mixer: the volume buttons and the bar stay disabled for the run.
    virtual void DisableVolumeControls() = 0;
    // Whether the panel button with this control id is held down.
    virtual bool IsButtonHeld(int controlId) = 0;
};
void InstallVolumeView(VolumeView* view);

constexpr int VolumeUpButton = IDC_VOLUME_UP;
constexpr int VolumeDownButton = IDC_VOLUME_DOWN;
constexpr int VolumeBar = IDC_VOLUME_BAR;
constexpr int VolumeRepeatPeriodMs = 100;

enum VolumeAction { VolumeRefresh = 0, VolumeUp = 1, VolumeDown = 2 };
enum MuteAction { MuteRefresh = 0, MuteToggle = 1 };

// The change per button step: a fiftieth of the range, a whole number of the control's
// own steps. A control without a step count, or with more steps than a fiftieth holds,
// gets one step of a fiftieth; a step is never less than one unit.
std::uint32_t VolumeStepFor(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t steps);

// Finds the first mixer with a speakers destination that has a volume or mute control,
// keeps it open with its change notices going to notifyWindow, and reads both values.
void DiscoverMixer(std::uintptr_t notifyWindow);
// Closes the mixer at exit, if one is open.
void CloseMixer();

void AdjustVolume(VolumeAction action);
void SetMute(MuteAction action);

// A click on a volume button or the volume bar; false for any other control.
bool VolumeButtonClicked(int controlId);
// The 100 ms volume-repeat timer: a held volume button changes the volume every tick.
void VolumeRepeatTick();
// The mixer's control-change notice.
void MixerControlChanged(MixerHandle mixer, std::uint32_t controlId);

// The filled part of the volume bar in an item rectangle's vertical extent.
struct VolumeBarFill {
    bool visible = false; // false: the bar shows its erased background only
    int top = 0;          // the fill runs from here to the item's bottom
    bool grey = false;    // muted
};
VolumeBarFill VolumeBarFor(const MixerRecord& mixer, int top, int bottom);
