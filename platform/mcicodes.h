// MCI's numbers as the CD device code and the drivers exchange them. They equal
// <mmsystem.h>'s, which the Win32 adapter checks at compile time.
#pragma once

#include <cstdint>

namespace mci {

constexpr std::uint32_t DevTypeCdAudio = 516; // MCI_DEVTYPE_CD_AUDIO

// Status items.
constexpr std::uint32_t StatusLength = 1;          // MCI_STATUS_LENGTH
constexpr std::uint32_t StatusPosition = 2;        // MCI_STATUS_POSITION
constexpr std::uint32_t StatusNumberOfTracks = 3;  // MCI_STATUS_NUMBER_OF_TRACKS
constexpr std::uint32_t StatusMode = 4;            // MCI_STATUS_MODE
constexpr std::uint32_t StatusMediaPresent = 5;    // MCI_STATUS_MEDIA_PRESENT
constexpr std::uint32_t CdaStatusTypeTrack = 0x4001; // MCI_CDA_STATUS_TYPE_TRACK

constexpr std::uint32_t CdaTrackAudio = 1088; // MCI_CDA_TRACK_AUDIO
constexpr std::uint32_t CdaTrackOther = 1089; // MCI_CDA_TRACK_OTHER

// Time formats.
constexpr std::uint32_t FormatMilliseconds = 0; // MCI_FORMAT_MILLISECONDS
constexpr std::uint32_t FormatMsf = 2;          // MCI_FORMAT_MSF
constexpr std::uint32_t FormatTmsf = 10;        // MCI_FORMAT_TMSF

// Modes.
constexpr std::uint32_t ModeNotReady = 524;
constexpr std::uint32_t ModeStop = 525;
constexpr std::uint32_t ModePlay = 526;
constexpr std::uint32_t ModeRecord = 527;
constexpr std::uint32_t ModeSeek = 528;
constexpr std::uint32_t ModePause = 529;
constexpr std::uint32_t ModeOpen = 530;

// Error codes the virtual drive reports.
constexpr std::uint32_t ErrInvalidDeviceId = 257;    // MCIERR_INVALID_DEVICE_ID
constexpr std::uint32_t ErrHardware = 262;           // MCIERR_HARDWARE
constexpr std::uint32_t ErrInvalidDeviceName = 263;  // MCIERR_INVALID_DEVICE_NAME
constexpr std::uint32_t ErrDeviceOpen = 265;         // MCIERR_DEVICE_OPEN
constexpr std::uint32_t ErrUnsupportedFunction = 274; // MCIERR_UNSUPPORTED_FUNCTION
constexpr std::uint32_t ErrDeviceNotReady = 276;     // MCIERR_DEVICE_NOT_READY
constexpr std::uint32_t ErrOutOfRange = 282;         // MCIERR_OUTOFRANGE
constexpr std::uint32_t ErrMustUseShareable = 291;   // MCIERR_MUST_USE_SHAREABLE
constexpr std::uint32_t ErrBadTimeFormat = 293;      // MCIERR_BAD_TIME_FORMAT
constexpr std::uint32_t ErrInvalidFile = 296;        // MCIERR_INVALID_FILE

} // namespace mci
