#include "app/mixer.h"

#include <string>
#include <vector>

#include "log/logmessage.h"
#include "app/shellstate.h"

namespace {

VolumeView* installedView = nullptr;

void RedrawVolumeBar() {
    if (installedView) installedView->RedrawVolumeBar();
}

// The first speakers destination of an open mixer: the line, or false when it has none
// or a line cannot be read.
bool FindSpeakersLine(MixerApi& api, MixerHandle mixer, std::uint32_t destinations, MixerLine* line) {
    for (std::uint32_t destination = 0; destination < destinations; ++destination) {
        if (api.DestinationLine(mixer, destination, line) != mixer::NoError) return false;
        if (!(line->flags & mixer::LineFlagSource) && line->componentType == mixer::ComponentDstSpeakers) {
            LogMessage("Found mixer line: ", line->name.c_str());
            return true;
        }
    }
    return false;
}

// Takes the volume and mute controls of the line into found; a later control of a type
// replaces an earlier one.
void TakeControls(const std::vector<MixerControl>& controls, MixerRecord* found) {
    for (const MixerControl& control : controls) {
        if (control.type == mixer::ControlTypeVolume) {
            LogMessage("Found mixer control: ", control.name.c_str());
            found->hasVolumeControl = true;
            found->volumeControlId = control.id;
            found->volumeMin = control.minimum;
            found->volumeMax = control.maximum;
            found->volumeStep = VolumeStepFor(control.minimum, control.maximum, control.steps);
        } else if (control.type == mixer::ControlTypeMute) {
            LogMessage("Found mixer control: ", control.name.c_str());
            found->hasMuteControl = true;
            found->muteControlId = control.id;
        }
    }
}

// Opens a device and keeps it when its speakers line has a volume or mute control;
// otherwise it is closed again and the next device gets its turn.
bool TryMixerDevice(MixerApi& api, std::uint32_t device, std::uintptr_t notifyWindow, MixerRecord* found) {
    MixerHandle handle = 0;
    if (api.Open(device, notifyWindow, &handle) != mixer::NoError) return false;
    std::string productName;
    std::uint32_t destinations = 0;
    MixerLine line;
    std::vector<MixerControl> controls;
    if (api.Capabilities(handle, &productName, &destinations) == mixer::NoError) {
        LogMessage("Found mixer: ", productName.c_str());
        if (FindSpeakersLine(api, handle, destinations, &line) &&
            api.LineControls(handle, line, &controls) == mixer::NoError) {
            *found = MixerRecord();
            TakeControls(controls, found);
            if (found->hasVolumeControl || found->hasMuteControl) {
                found->mixerHandle = handle;
                return true;
            }
        }
    }
    api.Close(handle);
    return false;
}

std::uint32_t Raised(std::uint32_t value, const MixerRecord& mixer) {
    const std::uint64_t sum = std::uint64_t(value) + mixer.volumeStep;
    return sum > mixer.volumeMax ? mixer.volumeMax : static_cast<std::uint32_t>(sum);
}

std::uint32_t Lowered(std::uint32_t value, const MixerRecord& mixer) {
    // Below the minimum the unsigned difference would wrap round to a loud volume.
    return std::uint64_t(value) <= std::uint64_t(mixer.volumeMin) + mixer.volumeStep ? mixer.volumeMin
                                                                                      : value - mixer.volumeStep;
}

} // namespace

MixerRecord& MixerState() {
    static MixerRecord record;
    return record;
}

void ResetMixerState() { MixerState() = MixerRecord(); }

void InstallVolumeView(VolumeView* view) { installedView = view; }

std::uint32_t VolumeStepFor(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t steps) {
    const std::uint32_t fiftieth = (maximum - minimum) / 50;
    const std::uint32_t step = steps == 0 ? fiftieth : steps * (fiftieth / steps);
    // A control finer than a fiftieth of its range (0 to 65535 in 65535 steps) rounds
    // the step down to 0 and a tiny range has no fiftieth: the buttons would do nothing.
    if (step != 0) return step;
    return fiftieth != 0 ? fiftieth : 1;
}

void DiscoverMixer(std::uintptr_t notifyWindow) {
    CloseMixer();
    MixerRecord& state = MixerState();
    LogMessage("Looking for mixer control");
    MixerApi& api = Mixers();
    const std::uint32_t devices = api.DeviceCount();
    for (std::uint32_t device = 0; device < devices; ++device) {
        if (TryMixerDevice(api, device, notifyWindow, &state)) break;
    }
    if (!state.mixerHandle) {
        ResetMixerState();
        LogMessage("Unable to find mixer control on system.");
        if (installedView) installedView->DisableVolumeControls();
        return;
    }
    if (state.hasVolumeControl) api.GetControlValue(state.mixerHandle, state.volumeControlId, &state.volumeValue);
    std::uint32_t mute = 0;
    if (state.hasMuteControl && api.GetControlValue(state.mixerHandle, state.muteControlId, &mute) == mixer::NoError) {
        state.muteValue = static_cast<std::int32_t>(mute);
    }
}

void CloseMixer() {
    MixerRecord& state = MixerState();
    if (state.mixerHandle) Mixers().Close(state.mixerHandle);
    ResetMixerState();
}

void AdjustVolume(VolumeAction action) {
    MixerRecord& state = MixerState();
    if (!state.mixerHandle || !state.hasVolumeControl) return;
    std::uint32_t value = 0;
    if (Mixers().GetControlValue(state.mixerHandle, state.volumeControlId, &value) != mixer::NoError) return;
    if (action == VolumeRefresh) {
        state.volumeValue = value;
        RedrawVolumeBar();
        return;
    }
    const std::uint32_t result =
        Mixers().SetControlValue(state.mixerHandle, state.volumeControlId,
                                 action == VolumeUp ? Raised(value, state) : Lowered(value, state));
    Shell().volumeRepeated = true;
    if (result != mixer::NoError) return;
    // Not every driver sends a change notice for the program's own writes: the bar
    // follows what the mixer now holds.
    AdjustVolume(VolumeRefresh);
    LogMessageInt("Volume set to: ", static_cast<int>(state.volumeValue));
}

void SetMute(MuteAction action) {
    MixerRecord& state = MixerState();
    if (!state.mixerHandle || !state.hasMuteControl) return;
    std::uint32_t value = 0;
    if (Mixers().GetControlValue(state.mixerHandle, state.muteControlId, &value) != mixer::NoError) return;
    if (action == MuteRefresh) {
        state.muteValue = static_cast<std::int32_t>(value);
        RedrawVolumeBar();
        return;
    }
    if (Mixers().SetControlValue(state.mixerHandle, state.muteControlId, state.muteValue ? 0 : 1) != mixer::NoError) {
        return;
    }
    // Without a change notice the last known state would never turn, and every later
    // toggle would write the same value again: read back what was written.
    SetMute(MuteRefresh);
    LogMessageInt("Mute set to: ", state.muteValue);
}

bool VolumeButtonClicked(int controlId) {
    ShellState& shell = Shell();
    switch (controlId) {
    case VolumeUpButton:
    case VolumeDownButton:
        // The click that ends a hold adds no step of its own.
        if (!shell.volumeRepeated) AdjustVolume(controlId == VolumeUpButton ? VolumeUp : VolumeDown);
        shell.volumeRepeated = false;
        return true;
    case VolumeBar:
        SetMute(MuteToggle);
        return true;
    default:
        return false;
    }
}

void VolumeRepeatTick() {
    if (!installedView) return;
    if (installedView->IsButtonHeld(VolumeUpButton)) {
        AdjustVolume(VolumeUp);
    } else if (installedView->IsButtonHeld(VolumeDownButton)) {
        AdjustVolume(VolumeDown);
    } else {
        // A hold released off the button ends without a click; the button's release
        // and its click are one message, so no tick falls between them.
        Shell().volumeRepeated = false;
    }
}

void MixerControlChanged(MixerHandle mixer, std::uint32_t controlId) {
    const MixerRecord& state = MixerState();
    if (!mixer || mixer != state.mixerHandle) return;
    if (state.hasVolumeControl && controlId == state.volumeControlId) {
        AdjustVolume(VolumeRefresh);
    } else if (state.hasMuteControl && controlId == state.muteControlId) {
        SetMute(MuteRefresh);
    }
}

VolumeBarFill VolumeBarFor(const MixerRecord& mixer, int top, int bottom) {
    VolumeBarFill fill;
    if (mixer.volumeMax <= mixer.volumeMin || bottom <= top) return fill;
    double fraction = 1.0;
    if (mixer.volumeValue <= mixer.volumeMin) {
        fraction = 0.0;
    } else if (mixer.volumeValue < mixer.volumeMax) {
        fraction = double(mixer.volumeValue - mixer.volumeMin) / double(mixer.volumeMax - mixer.volumeMin);
    }
    const int filled = static_cast<int>(fraction * (bottom - top));
    fill.top = bottom - filled;
    fill.visible = fill.top < bottom;
    fill.grey = mixer.muteValue != 0;
    return fill;
}
