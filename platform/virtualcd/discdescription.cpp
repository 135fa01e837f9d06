#include "platform/virtualcd/discdescription.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

constexpr std::int32_t FramesPerSecond = 75;
constexpr std::size_t MaxTracks = 99; // what a CD can hold
// A little over 100 minutes, the longest a disc gets; keeps every MSF field a byte.
constexpr std::int32_t MaxFrame = 255 * 60 * FramesPerSecond;

const char* const Commands[] = {"open",       "status-media",    "status-tracks", "status-type",
                                "status-start", "status-length", "status-position", "status-mode",
                                "info-identity", "set-msf",      "set-tmsf",      "set-door",
                                "play",       "pause",           "stop",          "close",
                                // raw reads, failing with a Win32 error code
                                "raw-open",   "raw-toc",         "raw-cdtext",    "raw-read"};

bool KnownCommand(const std::string& name) {
    for (const char* command : Commands)
        if (name == command) return true;
    return false;
}

bool ParseNumber(const std::string& word, long long low, long long high, long long* value) {
    if (word.empty()) return false;
    char* end = nullptr;
    const long long parsed = std::strtoll(word.c_str(), &end, 10);
    if (*end != '\0' || parsed < low || parsed > high) return false;
    *value = parsed;
    return true;
}

bool ParseLine(const std::string& line, DiscDescription* disc, std::string* problem) {
    std::istringstream words(line);
    std::string directive, first, second, extra;
    words >> directive >> first >> second >> extra;
    if (directive.empty()) return true;
    if (!extra.empty()) return *problem = "too many words", false;

    long long number = 0;
    if (directive == "drive") {
        const bool letter = first.size() == 2 && first[1] == ':' && std::isalpha(static_cast<unsigned char>(first[0]));
        if (!letter || !second.empty()) return *problem = "expected a drive such as E:", false;
        disc->letter = static_cast<char>(std::toupper(static_cast<unsigned char>(first[0])));
    } else if (directive == "identity") {
        if (!ParseNumber(first, -2147483648LL, 4294967295LL, &number) || !second.empty())
            return *problem = "expected a decimal media identity", false;
        disc->identity = first;
    } else if (directive == "track") {
        if (first != "audio" && first != "data") return *problem = "expected audio or data", false;
        if (!ParseNumber(second, 0, MaxFrame, &number)) return *problem = "expected a start frame", false;
        if (disc->tracks.size() == MaxTracks) return *problem = "more than 99 tracks", false;
        if (!disc->tracks.empty() && number <= disc->tracks.back().startFrame)
            return *problem = "track starts must rise", false;
        VirtualTrack track{first == "audio", static_cast<std::int32_t>(number), 0, disc->session2 ? 2 : 1};
        if (track.session == 2 && disc->tracks.back().session == 1 &&
            track.startFrame - disc->tracks.back().startFrame <= SessionGapFrames)
            return *problem = "the session gap does not fit in the track before", false;
        disc->tracks.push_back(track);
    } else if (directive == "pregap") {
        if (disc->tracks.size() < 2) return *problem = "a pregap follows a track after the first", false;
        const VirtualTrack& before = disc->tracks[disc->tracks.size() - 2];
        const std::int32_t room = disc->tracks.back().startFrame - before.startFrame - before.pregapFrames;
        if (!ParseNumber(first, 1, room - 1, &number) || !second.empty())
            return *problem = "expected a pregap shorter than the track before", false;
        disc->tracks.back().pregapFrames = static_cast<std::int32_t>(number);
    } else if (directive == "session") {
        if (first != "2" || !second.empty() || disc->tracks.empty() || disc->tracks.back().session != 1)
            return *problem = "expected session 2 after the first session's tracks", false;
        disc->session2 = true;
    } else if (directive == "settle" || directive == "seek") {
        if (!ParseNumber(first, 0, 60000, &number) || !second.empty())
            return *problem = "expected milliseconds from 0 to 60000", false;
        (directive == "settle" ? disc->settleMs : disc->seekMs) = static_cast<std::int32_t>(number);
    } else if (directive == "leadout") {
        if (!ParseNumber(first, 0, MaxFrame, &number) || !second.empty())
            return *problem = "expected a lead-out frame", false;
        disc->leadOut = static_cast<std::int32_t>(number);
    } else if (directive == "nodisc" || directive == "busy" || directive == "notready") {
        if (!first.empty()) return *problem = "takes no arguments", false;
        (directive == "nodisc" ? disc->noDisc : directive == "busy" ? disc->busy : disc->notReady) = true;
    } else if (directive == "fail") {
        if (!KnownCommand(first)) return *problem = "unknown command " + first, false;
        if (!ParseNumber(second, 1, 0xFFFFFFFFLL, &number)) return *problem = "expected an MCI error code", false;
        disc->failures.push_back(VirtualFailure{first, static_cast<std::uint32_t>(number)});
    } else {
        return *problem = "unknown directive " + directive, false;
    }
    return true;
}

} // namespace

bool ParseDiscDescription(const std::string& text, DiscDescription* disc, std::string* error) {
    *disc = DiscDescription{};
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::size_t comment = line.find('#');
        if (comment != std::string::npos) line.erase(comment);
        std::string problem;
        const std::size_t start = line.find_first_not_of(" \t\r");
        if (start != std::string::npos && line.compare(start, 6, "image ") == 0) {
            // The rest of the line is the path: it may hold spaces.
            const std::size_t from = line.find_first_not_of(" \t", start + 6);
            const std::size_t to = line.find_last_not_of(" \t\r");
            if (from == std::string::npos || !disc->image.empty()) {
                *error = "line " + std::to_string(number) + ": expected one image PATH";
                return false;
            }
            disc->image = line.substr(from, to - from + 1);
            continue;
        }
        if (!ParseLine(line, disc, &problem)) {
            *error = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
    }
    if (!disc->image.empty() && (!disc->tracks.empty() || disc->leadOut != 0 || disc->session2)) {
        *error = "an image gives the tracks: no track, pregap, session or leadout lines with it";
        return false;
    }
    if (!disc->tracks.empty() && disc->leadOut <= disc->tracks.back().startFrame + 1) {
        *error = "the lead-out must lie past the last track's start";
        return false;
    }
    return true;
}

std::int32_t ReportedLengthFrames(const DiscDescription& disc, std::size_t index) {
    const bool last = index + 1 == disc.tracks.size();
    const std::int32_t end =
        last ? disc.leadOut - 1 : disc.tracks[index + 1].startFrame - disc.tracks[index + 1].pregapFrames;
    return end - disc.tracks[index].startFrame;
}

bool AudioRange(const DiscDescription& disc, std::int32_t from, std::int32_t to) {
    if (disc.tracks.empty() || from < disc.tracks.front().startFrame || to > disc.leadOut) return false;
    for (std::size_t i = 0; i < disc.tracks.size(); ++i) {
        const VirtualTrack& track = disc.tracks[i];
        const bool next = i + 1 < disc.tracks.size();
        const std::int32_t end =
            next ? disc.tracks[i + 1].startFrame - disc.tracks[i + 1].pregapFrames : disc.leadOut;
        std::int32_t silentFrom = end; // where this track's stretch stops being audio
        if (!track.audio) silentFrom = track.startFrame - track.pregapFrames;
        // The tail before a later session's first track is lead-out and lead-in.
        else if (next && disc.tracks[i + 1].session != track.session)
            silentFrom = disc.tracks[i + 1].startFrame - SessionGapFrames;
        if (silentFrom < end && from < end && to > silentFrom) return false;
    }
    return true;
}

std::string MediaIdentityText(const DiscDescription& disc) {
    if (!disc.identity.empty()) return disc.identity;
    std::uint32_t sum = 0;
    for (const VirtualTrack& track : disc.tracks) {
        const std::uint32_t frame = static_cast<std::uint32_t>(track.startFrame);
        const std::uint32_t minute = frame / (60 * FramesPerSecond);
        const std::uint32_t second = frame / FramesPerSecond % 60;
        sum += minute << 16 | second << 8 | frame % FramesPerSecond;
    }
    if (!disc.tracks.empty() && disc.tracks.size() < 3) {
        const std::uint32_t first = static_cast<std::uint32_t>(disc.tracks.front().startFrame);
        sum += first % FramesPerSecond + (static_cast<std::uint32_t>(disc.leadOut) - first);
    }
    return std::to_string(sum);
}

std::uint32_t InjectedFailure(const DiscDescription& disc, const char* command) {
    for (const VirtualFailure& failure : disc.failures)
        if (failure.command == command) return failure.code;
    return 0;
}
