// A virtual disc as its description text gives it, and the facts the Windows CD audio
// driver would report for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct VirtualTrack {
    bool audio = true;
    std::int32_t startFrame = 0;   // absolute, 75 a second: where index 1 begins
    std::int32_t pregapFrames = 0; // index 0: how long before startFrame the track begins
    int session = 1;
};

// Between the sessions of a multisession disc lie the first session's lead-out
// (6750 frames), the next session's lead-in (4500) and its first track's pregap (150).
constexpr std::int32_t SessionGapFrames = 11400;

// "fail COMMAND CODE": that command fails with that MCI error code. Commands:
// open, status-media, status-tracks, status-type, status-start, status-length,
// status-position, status-mode, info-identity, set-msf, set-tmsf, set-door, play,
// pause, stop, close; and raw-open, raw-toc, raw-cdtext, raw-read, the raw reads,
// with a Win32 error code.
struct VirtualFailure {
    std::string command;
    std::uint32_t code = 0;
};

struct DiscDescription {
    char letter = 0;           // 'E' from "drive E:", or 0: the next free letter
    std::string identity;      // as MCI returns it; empty: the Windows rule
    std::vector<VirtualTrack> tracks;
    std::int32_t leadOut = 0;  // absolute frame just past the last track
    bool noDisc = false;
    bool busy = false;
    bool notReady = false;
    std::int32_t settleMs = 0; // "not ready" for so long after the drive's first open
    std::int32_t seekMs = 0;   // a play from a position seeks for so long before it plays
    bool session2 = false;     // a "session 2" line came: the tracks after it are in it
    std::string image;         // "image PATH": a CUE sheet gives the tracks and the sound
    std::vector<VirtualFailure> failures;
};

// A drive in use loses its disc when its file is deleted or gains a "nodisc" line.
// Lines: "# comment", "drive E:", "identity N", "track audio|data FRAME", "pregap FRAMES"
// (index 0 of the track above), "session 2" (the tracks below start a later session),
// "leadout FRAME", "nodisc", "busy", "notready", "settle MS", "seek MS", "fail COMMAND
// CODE", "image PATH" (a CUE sheet, relative to the description's folder, whose image
// gives the tracks and lead-out instead of track, pregap, session and leadout lines).
// False with a reason ("line 3: ...") for anything else, for starts that do not
// rise, a pregap or session gap that does not fit in the track before, or a lead-out
// not past the last start.
bool ParseDiscDescription(const std::string& text, DiscDescription* disc, std::string* error);

// The lengths the drive reports: up to where the next track begins (its pregap, if it
// has one), and for the last track one frame less than up to the lead-out.
std::int32_t ReportedLengthFrames(const DiscDescription& disc, std::size_t index);

// Whether the drive can play the frames [from, to) as audio: all on the disc, none in a
// data track (its pregap included) nor in the gap before a later session.
bool AudioRange(const DiscDescription& disc, std::int32_t from, std::int32_t to);

// The media identity text: the description's, else the Windows rule (the sum of every
// track's packed absolute MSF start, minute << 16 | second << 8 | frame; for fewer than
// three tracks plus the first start's frame field and the frames from the first start
// to the lead-out), in unsigned 32 bits, as decimal.
std::string MediaIdentityText(const DiscDescription& disc);

// The error code of a "fail" directive for command, or 0.
std::uint32_t InjectedFailure(const DiscDescription& disc, const char* command);
