// The one CD audio device of the program and the operations the shell drives it with.
// Every command goes through the CD audio driver seam (platform/cdaudiodriver.h).
//
// Tests put a disc into CdDevice without hardware by installing a virtual drive from
// a description text and opening it:
//     InstallVirtualCdText("track audio 150\nleadout 13500\n");  // platform/virtualcd/virtualcd.h
//     OpenCdDevice("D:");
// and empty it again with CloseCdDevice(). Tests that need no driver at all may also
// fill the record below directly (trackCount, toc with its lead-out via PlaceLeadOut).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "cdaudio/toc.h"
#include "platform/clock.h"
#include "platform/soundoutput.h"

class DigitalPlayer;

// What every device operation that changes the drive returns, and what the shell keeps
// as its idea of the drive. Positive: usable; 0 and below: failure or unusable.
enum PlayState : std::int32_t {
    Playing = 3,
    Paused = 4,
    Stopped = 5,
    Seeking = 6,
    Failed = 0,
    NoAudioTracks = -1,
    NoDisc = -2,
    DeviceBusy = -3,
    NotReady = -4,
    Recording = -5,
};

// Process-wide. Written only by OpenCdDevice (before any worker thread starts) and
// released only by CloseCdDevice; worker threads read it without a lock.
struct CdDeviceRecord {
    std::uint16_t deviceId = 0;
    std::int32_t trackCount = 0;
    // trackCount + 1 entries, the last one the lead-out; empty while no disc is read.
    std::vector<TrackToc> toc;
    std::int32_t mediaIdentity = 0;
    // Set while the disc plays digitally: the player that then answers play, pause,
    // stop, position and mode in the drive's place (cdaudio/digitalpath.cpp).
    std::shared_ptr<DigitalPlayer> digital;
};

CdDeviceRecord& CdDevice();

struct PlayRequest {
    std::int32_t track;  // 1-based
    std::int32_t minute; // from the start of the track
    std::int32_t second;
    std::int32_t frame;
    std::int32_t toTrackEnd; // nonzero: stop at the end of this track; zero: end of disc
};

// drive: "D:". Stopped on success; DeviceBusy, NoDisc, NoAudioTracks or Failed, or
// NotReady when the drive answered "not ready" (a disc still settling): worth a retry.
PlayState OpenCdDevice(const char* drive);
// Reads identity and table in MSF and logs them; a step of OpenCdDevice. Returns 0 on
// success or the failing command's MCI error code, with errorLiteral set to that
// step's log literal (the caller closes the device before logging it).
std::uint32_t ReadTableOfContents(const char** errorLiteral);

// Chooses how the open device's disc plays: digitally, through the sound card, when
// digital is set, the drive answers a raw read of its first audio sector and its own
// table agrees with the device's; otherwise through the drive's own output, as the CD
// audio device plays. Logs which path plays and why. openSound and clock stand for the
// system's wave output and clock (tests hand in their own).
void ChoosePlaybackPath(const char* drive, bool digital, SoundOutputOpener openSound = nullptr,
                        MillisecondClock clock = nullptr);

// The frames of a track the drive can play: its reported length, less what lies before
// a data track that follows it (on an enhanced CD, the gap between the sessions). 0 for
// a number that names no track.
std::int32_t PlayableLengthFrames(std::int32_t track);

PlayState PlayFrom(PlayRequest request);
PlayState PauseCd();
PlayState ResumePlay(std::int32_t track, std::int32_t toTrackEnd);
PlayState StopPlay();
// 1 and the TMSF position, or 0 with the out-parameters untouched.
int GetPlayPosition(std::int32_t* track, std::int32_t* minute, std::int32_t* second, std::int32_t* frame);
PlayState GetDeviceMode();
int EjectCd();
int CloseCdDevice();

// MCI packed positions.
std::uint32_t PackMsf(std::int32_t minute, std::int32_t second, std::int32_t frame);
std::uint32_t PackTmsf(std::int32_t track, std::int32_t minute, std::int32_t second, std::int32_t frame);
