// The CD audio driver seam: the subset of MCI commands the CD device code sends, with
// MCI's own codes and packed values. The Win32 build installs the real MCI adapter or
// the virtual drive; native builds always the virtual drive; tests install their own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/mcicodes.h"

class CdAudioDriver {
public:
    virtual ~CdAudioDriver() = default;

    // Each command returns 0 or an MCI error code (MCIERR_...).
    // open with type id MCI_DEVTYPE_CD_AUDIO and the drive ("D:") as element.
    virtual std::uint32_t Open(const char* drive, bool shareable, std::uint16_t* deviceId) = 0;
    // status with MCI_STATUS_ITEM, and MCI_TRACK when track > 0.
    virtual std::uint32_t Status(std::uint16_t deviceId, std::uint32_t item, std::int32_t track,
                                 std::uint32_t* value) = 0;
    // info with MCI_INFO_MEDIA_IDENTITY; buffer of size characters, terminated.
    virtual std::uint32_t InfoMediaIdentity(std::uint16_t deviceId, char* buffer, std::uint32_t size) = 0;
    // set with MCI_SET_TIME_FORMAT (MCI_FORMAT_MSF, MCI_FORMAT_TMSF, ...).
    virtual std::uint32_t SetTimeFormat(std::uint16_t deviceId, std::uint32_t format) = 0;
    // set with MCI_SET_DOOR_OPEN.
    virtual std::uint32_t SetDoorOpen(std::uint16_t deviceId) = 0;
    // play with MCI_TO, and MCI_FROM when hasFrom; positions in the current time format.
    virtual std::uint32_t Play(std::uint16_t deviceId, bool hasFrom, std::uint32_t from, std::uint32_t to) = 0;
    virtual std::uint32_t Pause(std::uint16_t deviceId) = 0;
    virtual std::uint32_t Stop(std::uint16_t deviceId) = 0;
    // close with no flags and no parameter block.
    virtual std::uint32_t Close(std::uint16_t deviceId) = 0;
    // mciGetErrorString: the text of code into buffer as UTF-8 (size bytes, terminated,
    // cut between letters).
    virtual bool ErrorText(std::uint32_t code, char* buffer, std::uint32_t size) = 0;
};

// Installed once at start-up; replaces (and destroys) any earlier one.
void InstallCdAudioDriver(std::unique_ptr<CdAudioDriver> driver);
// The installed driver. Calling it before any install is a programming error; it then
// installs the start-up choice so that nothing dereferences null.
CdAudioDriver& CdAudio();

// The start-up choice: the virtual drives of TUNOVA_VIRTUAL_CD when it is set (always in
// native builds), otherwise the real MCI driver.
// notice receives the virtual drives' lines for the diagnostics log.
void InstallStartupCdAudioDriver(std::function<void(const std::string&)> notice = nullptr);
