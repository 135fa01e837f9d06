// The mixer seam on winmm.
#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <vector>

#include "platform/mixer.h"

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
        MIXERCAPSA caps{};
        const MMRESULT result = mixerGetDevCapsA(static_cast<UINT_PTR>(mixer), &caps, sizeof caps);
        if (result != MMSYSERR_NOERROR) return result;
        productName->assign(caps.szPname, strnlen(caps.szPname, sizeof caps.szPname));
        *destinations = caps.cDestinations;
        return result;
    }

    std::uint32_t DestinationLine(MixerHandle mixer, std::uint32_t destination, MixerLine* line) override {
        MIXERLINEA info{};
        info.cbStruct = sizeof info;
        info.dwDestination = destination;
        const MMRESULT result =
            mixerGetLineInfoA(Object(mixer), &info, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION);
        if (result != MMSYSERR_NOERROR) return result;
        line->lineId = info.dwLineID;
        line->flags = info.fdwLine;
        line->componentType = info.dwComponentType;
        line->controlCount = info.cControls;
        line->name.assign(info.szName, strnlen(info.szName, sizeof info.szName));
        return result;
    }

    std::uint32_t LineControls(MixerHandle mixer, const MixerLine& line,
                               std::vector<MixerControl>* controls) override {
        controls->clear();
        // The system rejects a request for no controls; a line without any has none to give.
        if (line.controlCount == 0) return MMSYSERR_NOERROR;
        std::vector<MIXERCONTROLA> found(line.controlCount);
        MIXERLINECONTROLSA request{};
        request.cbStruct = sizeof request;
        request.dwLineID = line.lineId;
        request.cControls = line.controlCount;
        request.cbmxctrl = sizeof(MIXERCONTROLA);
        request.pamxctrl = found.data();
        const MMRESULT result =
            mixerGetLineControlsA(Object(mixer), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL);
        if (result != MMSYSERR_NOERROR) return result;
        for (const MIXERCONTROLA& control : found) {
            MixerControl entry;
            entry.id = control.dwControlID;
            entry.type = control.dwControlType;
            entry.minimum = control.Bounds.dwMinimum;
            entry.maximum = control.Bounds.dwMaximum;
            entry.steps = control.Metrics.cSteps;
            entry.name.assign(control.szName, strnlen(control.szName, sizeof control.szName));
            controls->push_back(entry);
        }
        return result;
    }

    std::uint32_t GetControlValue(MixerHandle mixer, std::uint32_t controlId, std::uint32_t* value) override {
        MIXERCONTROLDETAILS_UNSIGNED detail{};
        MIXERCONTROLDETAILS details = Details(controlId, &detail);
        const MMRESULT result =
            mixerGetControlDetailsA(Object(mixer), &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
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
