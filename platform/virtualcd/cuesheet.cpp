#include "platform/virtualcd/cuesheet.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

constexpr std::int32_t FramesPerSecond = 75;
constexpr std::int32_t LeadInFrames = 150;
// Past a disc's longest possible length no frame counts are believed.
constexpr std::int32_t MaxFrames = 255 * 60 * FramesPerSecond;

std::string Upper(std::string word) {
    for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return word;
}

// Words of a line; a quoted word keeps its spaces.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i >= line.size()) break;
        std::string word;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            word = line.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
            i = close == std::string::npos ? line.size() : close + 1;
        } else {
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) word += line[i++];
        }
        words.push_back(word);
    }
    return words;
}

// "mm:ss:ff" to frames; minutes may exceed 99 in long images.
bool ParseMsf(const std::string& text, std::int32_t* frames) {
    int parts[3] = {0, 0, 0};
    int part = 0;
    std::size_t digits = 0;
    for (char c : text) {
        if (c == ':') {
            if (digits == 0 || ++part > 2) return false;
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 4) {
            parts[part] = parts[part] * 10 + (c - '0');
            ++digits;
        } else {
            return false;
        }
    }
    if (part != 2 || digits == 0 || parts[1] >= 60 || parts[2] >= FramesPerSecond) return false;
    const std::int64_t value = (static_cast<std::int64_t>(parts[0]) * 60 + parts[1]) * FramesPerSecond + parts[2];
    if (value > MaxFrames) return false;
    *frames = static_cast<std::int32_t>(value);
    return true;
}

bool TrackMode(const std::string& mode, CueTrack* track) {
    struct Mode {
        const char* name;
        bool audio;
        std::int32_t bytes;
    };
    static const Mode modes[] = {{"AUDIO", true, FrameBytes},      {"MODE1/2048", false, 2048},
                                 {"MODE1/2352", false, 2352},      {"MODE2/2336", false, 2336},
                                 {"MODE2/2352", false, 2352},      {"MODE2/2048", false, 2048},
                                 {"MODE2/2324", false, 2324},      {"CDI/2336", false, 2336},
                                 {"CDI/2352", false, 2352}};
    for (const Mode& m : modes)
        if (mode == m.name) {
            track->audio = m.audio;
            track->sectorBytes = m.bytes;
            return true;
        }
    return false;
}

bool ParseSheetLine(const std::vector<std::string>& words, CueSheet* sheet, std::string* problem) {
    const std::string keyword = Upper(words[0]);
    if (keyword == "FILE") {
        if (words.size() != 3 || words[1].empty()) return *problem = "expected FILE \"name\" TYPE", false;
        const std::string type = Upper(words[2]);
        if (type != "BINARY" && type != "WAVE" && type != "MOTOROLA")
            return *problem = "file type " + words[2] + " cannot be played (BINARY, MOTOROLA or WAVE)", false;
        sheet->files.push_back(CueFile{words[1], type == "WAVE", type == "MOTOROLA"});
        sheet->lastPosition = -1;
    } else if (keyword == "TRACK") {
        if (sheet->files.empty()) return *problem = "TRACK before any FILE", false;
        CueTrack track;
        const bool digits = words.size() == 3 && !words[1].empty() && words[1].size() <= 2 &&
                            std::all_of(words[1].begin(), words[1].end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits)
            return *problem = "expected TRACK NN MODE", false;
        track.number = std::stoi(words[1]);
        if (track.number != static_cast<int>(sheet->tracks.size()) + 1)
            return *problem = "track numbers must count up from 1", false;
        if (!TrackMode(Upper(words[2]), &track)) return *problem = "unknown track mode " + words[2], false;
        track.file = track.index0File = sheet->files.size() - 1;
        sheet->tracks.push_back(track);
    } else if (keyword == "INDEX" || keyword == "PREGAP" || keyword == "POSTGAP") {
        if (sheet->tracks.empty()) return *problem = keyword + " before any TRACK", false;
        CueTrack& track = sheet->tracks.back();
        const std::size_t file = sheet->files.size() - 1;
        std::int32_t frames = 0;
        if (keyword != "INDEX") {
            if (words.size() != 2 || !ParseMsf(words[1], &frames)) return *problem = "expected mm:ss:ff", false;
            if (keyword == "PREGAP" && (track.index0 >= 0 || track.index1 >= 0))
                return *problem = "PREGAP after an INDEX", false;
            if (keyword == "POSTGAP" && track.index1 < 0) return *problem = "POSTGAP before INDEX 01", false;
            (keyword == "PREGAP" ? track.pregap : track.postgap) = frames;
            return true;
        }
        if (words.size() != 3 || !ParseMsf(words[2], &frames)) return *problem = "expected INDEX NN mm:ss:ff", false;
        if (track.postgap > 0) return *problem = "INDEX after POSTGAP", false;
        // Positions never go back within a file (tracks of no length are refused later).
        if (frames < sheet->lastPosition) return *problem = "index positions must rise", false;
        if (words[1] == "00" || words[1] == "0") {
            if (track.index0 >= 0 || track.index1 >= 0) return *problem = "INDEX 00 must come first", false;
            track.index0 = frames;
            track.index0File = file;
        } else if (words[1] == "01" || words[1] == "1") {
            if (track.index1 >= 0) return *problem = "a second INDEX 01", false;
            if (sheet->files[file].wave && !track.audio) return *problem = "a data track cannot be in a WAVE file", false;
            track.index1 = frames;
            track.file = file;
        } else if (track.index1 < 0) {
            // Indexes 2 to 99 mark places inside a track; the drive's table has no use for them.
            return *problem = "INDEX " + words[1] + " before INDEX 01", false;
        }
        sheet->lastPosition = frames;
    } else if (keyword == "TITLE" || keyword == "PERFORMER") {
        // The album's before the first track, else the track's.
        std::string text = words.size() > 1 ? words[1] : std::string();
        for (std::size_t i = 2; i < words.size(); ++i) text += " " + words[i];
        const bool album = sheet->tracks.empty();
        if (keyword == "TITLE") (album ? sheet->title : sheet->tracks.back().title) = text;
        else (album ? sheet->performer : sheet->tracks.back().performer) = text;
    } else if (keyword == "CDTEXTFILE") {
        if (words.size() != 2 || words[1].empty()) return *problem = "expected CDTEXTFILE \"name\"", false;
        sheet->cdTextFile = words[1];
    }
    // REM, CATALOG, FLAGS, ISRC, SONGWRITER and what other tools add carry nothing the
    // drive reports.
    return true;
}

// A place in a file where a track's index 0 or index 1 begins; its frames run to the
// next mark in the file or to the file's end.
struct FileMark {
    std::size_t track;
    bool index1;
    std::int32_t position; // frame of the sheet's count in the file
    std::int64_t byteAt;   // its byte, from the file's data start
};

std::vector<FileMark> MarksOfFile(const CueSheet& sheet, std::size_t file) {
    std::vector<FileMark> marks;
    for (std::size_t t = 0; t < sheet.tracks.size(); ++t) {
        const CueTrack& track = sheet.tracks[t];
        if (track.index0 >= 0 && track.index0File == file) marks.push_back(FileMark{t, false, track.index0, 0});
        if (track.file == file) marks.push_back(FileMark{t, true, track.index1, 0});
    }
    // The frames before a mark take the sector size of the track they belong to.
    std::int64_t byteAt = 0;
    std::int32_t position = 0;
    std::int32_t sectorBytes = marks.empty() ? FrameBytes : sheet.tracks[marks.front().track].sectorBytes;
    for (FileMark& mark : marks) {
        byteAt += static_cast<std::int64_t>(mark.position - position) * sectorBytes;
        mark.byteAt = byteAt;
        position = mark.position;
        sectorBytes = sheet.tracks[mark.track].sectorBytes;
    }
    return marks;
}

} // namespace

bool ParseCueSheet(const std::string& text, CueSheet* sheet, std::string* error) {
    *sheet = CueSheet{};
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3); // a UTF-8 mark
        const std::vector<std::string> words = Words(line);
        std::string problem;
        if (!words.empty() && !ParseSheetLine(words, sheet, &problem)) {
            *error = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
    }
    if (sheet->tracks.empty()) return *error = "the sheet has no tracks", false;
    for (const CueTrack& track : sheet->tracks)
        if (track.index1 < 0) return *error = "track " + std::to_string(track.number) + " has no INDEX 01", false;
    for (std::size_t f = 0; f < sheet->files.size(); ++f) {
        const bool used = std::any_of(sheet->tracks.begin(), sheet->tracks.end(),
                                      [f](const CueTrack& track) { return track.file == f; });
        if (!used) return *error = "file " + sheet->files[f].name + " holds no track", false;
    }
    return true;
}

bool LayOutImage(const CueSheet& sheet, const ImageFileProbe& probe, DiscDescription* disc, DiscImage* image,
                 std::string* error) {
    *image = DiscImage{};
    image->files = sheet.files;
    std::int64_t absolute = LeadInFrames;
    std::vector<std::int32_t> starts(sheet.tracks.size(), 0), pregaps(sheet.tracks.size(), 0);
    std::vector<bool> begun(sheet.tracks.size(), false);
    auto add = [&](std::int64_t frames, int file, std::int64_t byteOffset, std::int64_t bytesInFile, bool audio) {
        if (frames <= 0) return true;
        if (absolute + frames > MaxFrames) return false;
        image->segments.push_back(ImageSegment{static_cast<std::int32_t>(absolute), static_cast<std::int32_t>(frames),
                                               file, byteOffset, bytesInFile, audio});
        absolute += frames;
        return true;
    };
    for (std::size_t f = 0; f < sheet.files.size(); ++f) {
        ImageFileFacts facts;
        std::string problem;
        if (!probe(sheet.files[f], &facts, &problem)) return *error = problem, false;
        const std::vector<FileMark> marks = MarksOfFile(sheet, f);
        for (std::size_t m = 0; m < marks.size(); ++m) {
            const FileMark& mark = marks[m];
            const CueTrack& track = sheet.tracks[mark.track];
            const std::int64_t endByte = m + 1 < marks.size() ? marks[m + 1].byteAt : facts.dataBytes;
            const std::int64_t bytes = endByte - mark.byteAt;
            if (mark.index1 && bytes == 0 && m + 1 < marks.size())
                return *error = "track " + std::to_string(track.number) + " has no length", false;
            if (bytes < 0 || (mark.index1 && bytes == 0))
                return *error = "track " + std::to_string(track.number) + " lies past the end of " +
                                sheet.files[f].name,
                       false;
            // A last audio frame cut short is played out with silence; a data sector must be whole.
            const std::int64_t frames =
                track.audio ? (bytes + track.sectorBytes - 1) / track.sectorBytes : bytes / track.sectorBytes;
            bool fits = true;
            if (!begun[mark.track]) fits = add(track.pregap, -1, 0, 0, track.audio);
            begun[mark.track] = true;
            if (mark.index1) starts[mark.track] = static_cast<std::int32_t>(absolute);
            else pregaps[mark.track] = static_cast<std::int32_t>(std::min<std::int64_t>(frames, MaxFrames));
            fits = fits && add(frames, static_cast<int>(f), facts.dataOffset + mark.byteAt, bytes, track.audio);
            if (mark.index1) fits = fits && add(track.postgap, -1, 0, 0, track.audio);
            if (!fits) return *error = "the image is longer than a disc can be", false;
        }
    }
    for (std::size_t t = 0; t < sheet.tracks.size(); ++t) pregaps[t] += sheet.tracks[t].pregap;
    // The drive's own rules (rising starts, pregaps that fit, a lead-out past the last
    // start) decide whether this is a disc.
    std::ostringstream text;
    for (std::size_t t = 0; t < sheet.tracks.size(); ++t) {
        text << "track " << (sheet.tracks[t].audio ? "audio " : "data ") << starts[t] << "\n";
        // The first track's index 0 lies in the lead-in; the table has no pregap for it.
        if (t > 0 && pregaps[t] > 0) text << "pregap " << pregaps[t] << "\n";
    }
    text << "leadout " << absolute << "\n";
    DiscDescription laidOut;
    std::string problem;
    if (!ParseDiscDescription(text.str(), &laidOut, &problem)) {
        // The description's "line N" means nothing to the sheet's writer.
        const std::size_t colon = problem.find(": ");
        return *error = "not a disc: " + (colon == std::string::npos ? problem : problem.substr(colon + 2)), false;
    }
    disc->tracks = laidOut.tracks;
    disc->leadOut = laidOut.leadOut;
    return true;
}

bool ParseWaveHeader(const std::string& head, std::int64_t fileSize, ImageFileFacts* facts, std::string* problem) {
    auto u32 = [&head](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(head[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(head[at + 1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(head[at + 2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(head[at + 3])) << 24;
    };
    auto u16 = [&head](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(head[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(head[at + 1])) << 8;
    };
    if (head.size() < 12 || head.compare(0, 4, "RIFF") != 0 || head.compare(8, 4, "WAVE") != 0)
        return *problem = "not a RIFF WAVE file", false;
    bool format = false;
    std::size_t at = 12;
    while (at + 8 <= head.size()) {
        const std::string id = head.substr(at, 4);
        const std::uint64_t size = u32(at + 4);
        const std::size_t body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > head.size()) return *problem = "a short fmt chunk", false;
            std::uint32_t tag = u16(body);
            // WAVE_FORMAT_EXTENSIBLE names the real format by the first bytes of its sub-format GUID.
            if (tag == 0xFFFE && size >= 40 && body + 26 <= head.size()) tag = u16(body + 24);
            if (tag != 1 || u16(body + 2) != 2 || u32(body + 4) != 44100 || u16(body + 14) != 16)
                return *problem = "not 44.1 kHz 16-bit stereo PCM", false;
            format = true;
        } else if (id == "data") {
            if (!format) return *problem = "no fmt chunk before the samples", false;
            const std::int64_t available = fileSize - static_cast<std::int64_t>(body);
            if (available < 0) return *problem = "the samples lie past the end of the file", false;
            facts->dataOffset = static_cast<std::int64_t>(body);
            // A header that promises more than the file holds gets what is there.
            facts->dataBytes = std::min<std::int64_t>(static_cast<std::int64_t>(size), available) / 4 * 4;
            return true;
        }
        const std::uint64_t next = body + size + (size & 1); // chunks are padded to even sizes
        if (next > head.size()) break;
        at = static_cast<std::size_t>(next);
    }
    return *problem = "no data chunk in the file's first 64 KiB", false;
}
