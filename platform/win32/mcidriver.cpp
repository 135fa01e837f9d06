#include "platform/win32/mcidriver.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>

#include "platform/win32/mcierror.h"

static_assert(mci::DevTypeCdAudio == MCI_DEVTYPE_CD_AUDIO, "MCI device type");
static_assert(mci::StatusLength == MCI_STATUS_LENGTH && mci::StatusPosition == MCI_STATUS_POSITION &&
                  mci::StatusNumberOfTracks == MCI_STATUS_NUMBER_OF_TRACKS && mci::StatusMode == MCI_STATUS_MODE &&
                  mci::StatusMediaPresent == MCI_STATUS_MEDIA_PRESENT &&
                  mci::CdaStatusTypeTrack == MCI_CDA_STATUS_TYPE_TRACK,
              "MCI status items");
static_assert(mci::CdaTrackAudio == MCI_CDA_TRACK_AUDIO && mci::CdaTrackOther == MCI_CDA_TRACK_OTHER, "track types");
static_assert(mci::FormatMilliseconds == MCI_FORMAT_MILLISECONDS && mci::FormatMsf == MCI_FORMAT_MSF &&
                  mci::FormatTmsf == MCI_FORMAT_TMSF,
              "MCI time formats");
static_assert(mci::ModeNotReady == MCI_MODE_NOT_READY && mci::ModeStop == MCI_MODE_STOP &&
                  mci::ModePlay == MCI_MODE_PLAY && mci::ModeRecord == MCI_MODE_RECORD &&
                  mci::ModeSeek == MCI_MODE_SEEK && mci::ModePause == MCI_MODE_PAUSE && mci::ModeOpen == MCI_MODE_OPEN,
              "MCI modes");
static_assert(mci::ErrInvalidDeviceId == MCIERR_INVALID_DEVICE_ID && mci::ErrHardware == MCIERR_HARDWARE &&
                  mci::ErrInvalidDeviceName == MCIERR_INVALID_DEVICE_NAME && mci::ErrDeviceOpen == MCIERR_DEVICE_OPEN &&
                  mci::ErrUnsupportedFunction == MCIERR_UNSUPPORTED_FUNCTION &&
                  mci::ErrDeviceNotReady == MCIERR_DEVICE_NOT_READY && mci::ErrOutOfRange == MCIERR_OUTOFRANGE &&
                  mci::ErrMustUseShareable == MCIERR_MUST_USE_SHAREABLE &&
                  mci::ErrBadTimeFormat == MCIERR_BAD_TIME_FORMAT && mci::ErrInvalidFile == MCIERR_INVALID_FILE,
              "MCI error codes");

namespace {

class MciCdAudioDriver : public CdAudioDriver {
public:
    std::uint32_t Open(const char* drive, bool shareable, std::uint16_t* deviceId) override {
        MCI_OPEN_PARMSA open;
        std::memset(&open, 0, sizeof open);
        open.wDeviceID = 0;
        // With MCI_OPEN_TYPE_ID the type field carries the device type number.
        open.lpstrDeviceType = reinterpret_cast<LPCSTR>(static_cast<DWORD_PTR>(MCI_DEVTYPE_CD_AUDIO));
        open.lpstrElementName = drive;
        DWORD flags = MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_ELEMENT;
        if (shareable) flags |= MCI_OPEN_SHAREABLE;
        const MCIERROR error = mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open));
        if (error == 0) *deviceId = static_cast<std::uint16_t>(open.wDeviceID);
        return static_cast<std::uint32_t>(error);
    }

    std::uint32_t Status(std::uint16_t deviceId, std::uint32_t item, std::int32_t track,
                         std::uint32_t* value) override {
        MCI_STATUS_PARMS status;
        std::memset(&status, 0, sizeof status);
        status.dwItem = item;
        DWORD flags = MCI_STATUS_ITEM;
        if (track > 0) {
            status.dwTrack = static_cast<DWORD>(track);
            flags |= MCI_TRACK;
        }
        const MCIERROR error = mciSendCommandA(deviceId, MCI_STATUS, flags, reinterpret_cast<DWORD_PTR>(&status));
        if (error == 0) *value = static_cast<std::uint32_t>(status.dwReturn);
        return static_cast<std::uint32_t>(error);
    }

    std::uint32_t InfoMediaIdentity(std::uint16_t deviceId, char* buffer, std::uint32_t size) override {
        MCI_INFO_PARMSA info;
        std::memset(&info, 0, sizeof info);
        info.lpstrReturn = buffer;
        info.dwRetSize = size;
        if (size > 0) buffer[0] = '\0';
        const MCIERROR error =
            mciSendCommandA(deviceId, MCI_INFO, MCI_INFO_MEDIA_IDENTITY, reinterpret_cast<DWORD_PTR>(&info));
        if (size > 0) buffer[size - 1] = '\0';
        return static_cast<std::uint32_t>(error);
    }

    std::uint32_t SetTimeFormat(std::uint16_t deviceId, std::uint32_t format) override {
        MCI_SET_PARMS set;
        std::memset(&set, 0, sizeof set);
        set.dwTimeFormat = format;
        return static_cast<std::uint32_t>(
            mciSendCommandA(deviceId, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&set)));
    }

    std::uint32_t SetDoorOpen(std::uint16_t deviceId) override {
        MCI_SET_PARMS set;
        std::memset(&set, 0, sizeof set);
        return static_cast<std::uint32_t>(
            mciSendCommandA(deviceId, MCI_SET, MCI_SET_DOOR_OPEN, reinterpret_cast<DWORD_PTR>(&set)));
    }

    std::uint32_t Play(std::uint16_t deviceId, bool hasFrom, std::uint32_t from, std::uint32_t to) override {
        MCI_PLAY_PARMS play;
        std::memset(&play, 0, sizeof play);
        play.dwFrom = from;
        play.dwTo = to;
        const DWORD flags = hasFrom ? (MCI_FROM | MCI_TO) : MCI_TO;
        return static_cast<std::uint32_t>(
            mciSendCommandA(deviceId, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&play)));
    }

    std::uint32_t Pause(std::uint16_t deviceId) override {
        MCI_GENERIC_PARMS generic;
        std::memset(&generic, 0, sizeof generic);
        return static_cast<std::uint32_t>(mciSendCommandA(deviceId, MCI_PAUSE, 0, reinterpret_cast<DWORD_PTR>(&generic)));
    }

    std::uint32_t Stop(std::uint16_t deviceId) override {
        MCI_GENERIC_PARMS generic;
        std::memset(&generic, 0, sizeof generic);
        return static_cast<std::uint32_t>(mciSendCommandA(deviceId, MCI_STOP, 0, reinterpret_cast<DWORD_PTR>(&generic)));
    }

    std::uint32_t Close(std::uint16_t deviceId) override {
        return static_cast<std::uint32_t>(mciSendCommandA(deviceId, MCI_CLOSE, 0, 0));
    }

    bool ErrorText(std::uint32_t code, char* buffer, std::uint32_t size) override {
        return SystemMciErrorText(code, buffer, size);
    }
};

} // namespace

std::unique_ptr<CdAudioDriver> CreateMciCdAudioDriver() { return std::make_unique<MciCdAudioDriver>(); }
