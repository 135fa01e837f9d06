// The mixer seam on winmm.
#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/mixer.h"
#include "platform/win32/widetext.h"

static_assert(mixer::NoError == MMSYSERR_NOERROR && mixer::ErrorBadDeviceId == MMSYSERR_BADDEVICEID,
              "mixer results");
static_assert(mixer::LineFlagSource == MIXERLINE_LINEF_SOURCE &&
                  mixer::ComponentDstSpeakers == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,
              "mixer line kinds");
static_assert(mixer::ControlTypeVolume == MIXERCONTROL_CONTROLTYPE_VOLUME &&
                  mixer::ControlTypeMute == MIXERCONTROL_CONTROLTYPE_MUTE,
              "mixer control types");
static_assert(mixer::ControlChangeMessage == MM_MIXM_CONTROL_CHANGE, "mixer notice");

namespace {

HMIXEROBJ Object(MixerHandle mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }

class WinmmMixerApi : public MixerApi {
public:
    std::uint32_t DeviceCount() override { return mixerGetNumDevs(); }

    std::uint32_t Open(std::uint32_t device, std::uintptr_t notifyWindow, MixerHandle* mixer) override {
        HMIXER handle = nullptr;
        const MMRESULT result = mixerOpen(&handle, device, static_cast<DWORD_PTR>(notifyWindow), 0, CALLBACK_WINDOW);
        *mixer = result == MMSYSERR_NOERROR ? reinterpret_cast<MixerHandle>(handle) : 0;
        return result;
    }

    std::uint32_t Capabilities(MixerHandle mixer, std::string* productName, std::uint32_t* destinations) override {
        MIXERCAPSW caps{};
        const MMRESULT result = mixerGetDevCapsW(static_cast<UINT_PTR>(mixer), &caps, sizeof caps);
        if (result != MMSYSERR_NOERROR) return result;
        *productName = NameOf(caps.szPname);
        *destinations = caps.cDestinations;
        return result;
    }

    std::uint32_t DestinationLine(MixerHandle mixer, std::uint32_t destination, MixerLine* line) override {
        MIXERLINEW info{};
        info.cbStruct = sizeof info;
        info.dwDestination = destination;
        const MMRESULT result =
            mixerGetLineInfoW(Object(mixer), &info, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION);
        if (result != MMSYSERR_NOERROR) return result;
        line->lineId = info.dwLineID;
        line->flags = info.fdwLine;
        line->componentType = info.dwComponentType;
        line->controlCount = info.cControls;
        line->name = NameOf(info.szName);
        return result;
    }

    std::uint32_t LineControls(MixerHandle mixer, const MixerLine& line,
                               std::vector<MixerControl>* controls) override {
        controls->clear();
        // The system rejects a request for no controls; a line without any has none to give.
        if (line.controlCount == 0) return MMSYSERR_NOERROR;
        std::vector<MIXERCONTROLW> found(line.controlCount);
        MIXERLINECONTROLSW request{};
        request.cbStruct = sizeof request;
        request.dwLineID = line.lineId;
        request.cControls = line.controlCount;
        request.cbmxctrl = sizeof(MIXERCONTROLW);
        request.pamxctrl = found.data();
        const MMRESULT result =
            mixerGetLineControlsW(Object(mixer), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL);
        if (result != MMSYSERR_NOERROR) return result;
        for (const MIXERCONTROLW& control : found) {
            MixerControl entry;
            entry.id = control.dwControlID;
            entry.type = control.dwControlType;
            entry.minimum = control.Bounds.dwMinimum;
            entry.maximum = control.Bounds.dwMaximum;
            entry.steps = control.Metrics.cSteps;
            entry.name = NameOf(control.szName);
            controls->push_back(entry);
        }
        return result;
    }

    std::uint32_t GetControlValue(MixerHandle mixer, std::uint32_t controlId, std::uint32_t* value) override {
        MIXERCONTROLDETAILS_UNSIGNED detail{};
        MIXERCONTROLDETAILS details = Details(controlId, &detail);
        const MMRESULT result =
            mixerGetControlDetailsW(Object(mixer), &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
        if (result == MMSYSERR_NOERROR) *value = detail.dwValue;
        return result;
    }

    std::uint32_t SetControlValue(MixerHandle mixer, std::uint32_t controlId, std::uint32_t value) override {
        MIXERCONTROLDETAILS_UNSIGNED detail{};
        detail.dwValue = value;
        MIXERCONTROLDETAILS details = Details(controlId, &detail);
        return mixerSetControlDetails(Object(mixer), &details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
    }

    std::uint32_t Close(MixerHandle mixer) override { return mixerClose(reinterpret_cast<HMIXER>(mixer)); }

private:
    // A name field of the system's records, as UTF-8 (a field it filled to the end has
    // no terminator).
    template <std::size_t Size>
    static std::string NameOf(const WCHAR (&field)[Size]) {
        return WideToUtf8(field, wcsnlen(field, Size));
    }

    static MIXERCONTROLDETAILS Details(std::uint32_t controlId, MIXERCONTROLDETAILS_UNSIGNED* detail) {
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof details;
        details.dwControlID = controlId;
        details.cChannels = 1;
        details.cMultipleItems = 0;
        details.cbDetails = sizeof *detail;
        details.paDetails = detail;
        return details;
    }
};

} // namespace

MixerApi& DefaultMixerApi() {
    static WinmmMixerApi api;
    return api;
}
