#include "cdaudio/cddevice.h"

#include "log/logmessage.h"
#include "cdaudio/mcireport.h"
#include "platform/cdaudiodriver.h"

CdDeviceRecord& CdDevice() {
    static CdDeviceRecord device;
    return device;
}

std::uint32_t PackMsf(std::int32_t minute, std::int32_t second, std::int32_t frame) {
    return (static_cast<std::uint32_t>(minute) & 0xFF) | (static_cast<std::uint32_t>(second) & 0xFF) << 8 |
           (static_cast<std::uint32_t>(frame) & 0xFF) << 16;
}

std::uint32_t PackTmsf(std::int32_t track, std::int32_t minute, std::int32_t second, std::int32_t frame) {
    return (static_cast<std::uint32_t>(track) & 0xFF) | (static_cast<std::uint32_t>(minute) & 0xFF) << 8 |
           (static_cast<std::uint32_t>(second) & 0xFF) << 16 | (static_cast<std::uint32_t>(frame) & 0xFF) << 24;
}

namespace {

// Every open that does not hand the shell a usable device closes it again, so that no
// drive stays held (exclusively, for other programs) by a device nobody will use.
PlayState OpenFailed(PlayState result) {
    CloseCdDevice();
    return result;
}

std::int32_t CountAudioTracks(const CdDeviceRecord& device) {
    std::int32_t audio = 0;
    for (std::int32_t i = 0; i < device.trackCount && i < static_cast<std::int32_t>(device.toc.size()); ++i)
        if (device.toc[i].type == TrackAudio) ++audio;
    return audio;
}

} // namespace

PlayState OpenCdDevice(const char* drive) {
    CdDeviceRecord& device = CdDevice();
    CdAudioDriver& driver = CdAudio();

    LogMessage("Opening CD player with exclusive access: ", drive);
    std::uint16_t deviceId = 0;
    std::uint32_t error = driver.Open(drive, false, &deviceId);
    if (error != 0) {
        LogMciError("MCI Error opening CD player: \r\n  ", error);
        LogMessage("Opening CD player using shareable mode: ", drive);
        deviceId = 0;
        error = driver.Open(drive, true, &deviceId);
        if (error != 0) {
            LogMciError("MCI Error opening CD player: \r\n  ", error);
            return DeviceBusy;
        }
    }
    LogMessage("Successfully opened: ", drive);
    device.deviceId = deviceId;

    std::uint32_t present = 0;
    error = driver.Status(device.deviceId, mci::StatusMediaPresent, 0, &present);
    if (error != 0) {
        LogMciError("MCI Error checking for media presence: \r\n  ", error);
        return OpenFailed(error == mci::ErrDeviceNotReady ? NotReady : Failed);
    }
    if (!present) {
        LogMessage("No disc present in CD player.");
        return OpenFailed(NoDisc);
    }
    LogMessage("Found CD in device: ", drive);

    const char* literal = nullptr;
    error = ReadTableOfContents(&literal);
    if (error != 0) {
        // The close's own line comes before the failing step's error line.
        CloseCdDevice();
        LogMciError(literal, error);
        return error == mci::ErrDeviceNotReady ? NotReady : Failed;
    }

    error = driver.SetTimeFormat(device.deviceId, mci::FormatTmsf);
    if (error != 0) {
        LogMciError("MCI Error setting time format to TMSF: \r\n  ", error);
        return OpenFailed(Failed);
    }

    if (CountAudioTracks(device) == 0) return OpenFailed(NoAudioTracks);
    return Stopped;
}

int CloseCdDevice() {
    CdDeviceRecord& device = CdDevice();
    LogMessage("Clossing connection to CD player.");
    device.digital.reset(); // its threads end here, before the device goes
    const std::uint32_t error = CdAudio().Close(device.deviceId);
    if (error != 0) {
        LogMciError("MCI Error closing CD player: \r\n  ", error);
        return 0;
    }
    device.toc.clear();
    device.toc.shrink_to_fit();
    device.trackCount = 0;
    // A later close must not reach a device id that MCI may have handed out again.
    device.deviceId = 0;
    return 1;
}
