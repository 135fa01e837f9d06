// The table of contents of the disc in the open device and the two identifiers the
// program derives from it: the registry/Cdplayer.ini key and the cddb disc id.
#pragma once

#include <cstdint>
#include <string>

// One entry of the table. Positions are the device's absolute MSF positions, lengths
// the device's reported lengths; a frame is 1/75 second.
struct TrackToc {
    std::int32_t type;
    std::int32_t number;
    std::int32_t startMinute;
    std::int32_t startSecond;
    std::int32_t startFrame;
    std::int32_t lengthMinutes;
    std::int32_t lengthSeconds;
    std::int32_t lengthFrames;
};

// TrackToc::type values.
constexpr std::int32_t TrackAudio = 1;
constexpr std::int32_t TrackOther = 2; // data, or anything the drive does not call audio

constexpr std::int32_t FramesPerSecond = 75;
constexpr std::int32_t FramesPerMinute = 60 * FramesPerSecond;

// (minutes * 60 + seconds) * 75 + frames.
std::int32_t MsfToFrames(std::int32_t minutes, std::int32_t seconds, std::int32_t frames);
std::int32_t TrackStartFrames(const TrackToc& track);
std::int32_t TrackLengthFrames(const TrackToc& track);

// Fills toc[trackCount], the lead-out entry, from the last track: one frame past the
// last track's start plus its reported length (the device reports the last track one
// frame short). Only the start fields of the lead-out mean anything. trackCount >= 1.
void PlaceLeadOut(TrackToc* toc, std::int32_t trackCount);

// The lead-out entry of a table of trackCount tracks.
inline const TrackToc& LeadOut(const TrackToc* toc, std::int32_t trackCount) { return toc[trackCount]; }

// The media identity as "%X": upper-case hex, no leading zeros, negative values as
// their 32-bit pattern (255 -> "FF", -1 -> "FFFFFFFF").
std::string IdentityKey(std::int32_t mediaIdentity);

// Sum of the decimal digits of value.
std::uint32_t CddbDigitSum(std::uint32_t value);

// The cddb disc id of a table of trackCount tracks plus its lead-out entry. Every
// track counts, data tracks included; frames are ignored.
std::uint32_t ComputeDiscIdOf(const TrackToc* toc, std::int32_t trackCount);

// The disc length as the cddb query and xmcd entries give it: the lead-out's whole
// seconds (leadOut.startMinute * 60 + leadOut.startSecond).
std::int32_t DiscLengthSecondsOf(const TrackToc* toc, std::int32_t trackCount);

// The same for the disc in CdDevice (cdaudio/cddevice.h); 0 while no table is held.
// Read-only, so any thread may call them once the open has finished.
std::uint32_t ComputeDiscId();
std::int32_t DiscLengthSeconds();
std::string IdentityKey(); // of CdDevice().mediaIdentity
