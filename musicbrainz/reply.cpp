#include "musicbrainz/reply.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::json;

// Reads fields of the reply, noting a field of the wrong type instead of stopping at
// each one; the reply is used only when none was wrong.
class FieldReader {
public:
    bool Wrong() const { return wrong_; }
    void MarkWrong() { wrong_ = true; }

    // A text the reply must have.
    std::string Text(const Json& object, const char* key) {
        const auto found = object.find(key);
        if (found == object.end() || !found->is_string()) {
            wrong_ = true;
            return std::string();
        }
        return Clean(found->get_ref<const std::string&>());
    }
    // A text that may be missing or null.
    std::string OptionalText(const Json& object, const char* key) {
        const auto found = object.find(key);
        if (found == object.end() || found->is_null()) return std::string();
        if (!found->is_string()) {
            wrong_ = true;
            return std::string();
        }
        return Clean(found->get_ref<const std::string&>());
    }
    // A whole number that may be missing or null (then fallback).
    std::int64_t OptionalNumber(const Json& object, const char* key, std::int64_t fallback) {
        const auto found = object.find(key);
        if (found == object.end() || found->is_null()) return fallback;
        if (found->is_number_unsigned()) {
            const std::uint64_t value = found->get<std::uint64_t>();
            return value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
                       ? std::numeric_limits<std::int64_t>::max()
                       : static_cast<std::int64_t>(value);
        }
        if (found->is_number_integer()) return found->get<std::int64_t>();
        wrong_ = true;
        return fallback;
    }
    // An array that may be missing or null (then empty); each element must be an object.
    const Json& Objects(const Json& object, const char* key) {
        static const Json none = Json::array();
        const auto found = object.find(key);
        if (found == object.end() || found->is_null()) return none;
        if (!found->is_array()) {
            wrong_ = true;
            return none;
        }
        for (const Json& element : *found) {
            if (!element.is_object()) {
                wrong_ = true;
                return none;
            }
        }
        return *found;
    }

    // "A feat. B": every credited name followed by its join phrase.
    std::string ArtistCredit(const Json& object) {
        std::string credit;
        for (const Json& name : Objects(object, "artist-credit")) {
            credit += Text(name, "name");
            credit += OptionalText(name, "joinphrase");
        }
        return credit;
    }

private:
    // Control characters (a line break in a title, an escaped NUL) would cut or break
    // the texts where they are stored and shown; they become blanks.
    static std::string Clean(const std::string& text) {
        std::string clean = text;
        for (char& c : clean) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
        }
        return clean;
    }

    bool wrong_ = false;
};

// The xmcd way of naming a track's own artist on a compilation.
std::string TrackTitle(const std::string& trackArtist, const std::string& discArtist, const std::string& title) {
    if (trackArtist.empty() || trackArtist == discArtist) return title;
    return trackArtist + " / " + title;
}

// A medium of a format that may hold a disc id: a CD of any kind, or one whose format
// nobody has entered.
bool MayBeThisDisc(const std::string& format) { return format.empty() || format.find("CD") != std::string::npos; }

// The tracks' lengths the table gives, in milliseconds, as MusicBrainz counts them.
std::vector<std::int64_t> TrackLengthsMs(const MusicBrainzToc& toc) {
    std::vector<std::int64_t> lengths;
    for (std::size_t i = 0; i < toc.offsets.size(); ++i) {
        const std::int64_t end = i + 1 < toc.offsets.size() ? toc.offsets[i + 1] : toc.leadOut;
        lengths.push_back((end - toc.offsets[i]) * 1000 / FramesPerSecond);
    }
    return lengths;
}

// How far a medium's track lengths lie from the disc's; tracks without a length add
// nothing.
std::int64_t LengthDistance(FieldReader& fields, const Json& medium, const std::vector<std::int64_t>& disc) {
    std::int64_t distance = 0;
    const Json& tracks = fields.Objects(medium, "tracks");
    for (std::size_t i = 0; i < tracks.size() && i < disc.size(); ++i) {
        const std::int64_t length = fields.OptionalNumber(tracks[i], "length", -1);
        if (length >= 0) distance += std::llabs(length - disc[i]);
    }
    return distance;
}

bool HoldsDisc(FieldReader& fields, const Json& medium, const std::string& discId) {
    for (const Json& disc : fields.Objects(medium, "discs")) {
        if (fields.Text(disc, "id") == discId) return true;
    }
    return false;
}

// The medium of a release that is this disc: the one filed with its disc id, else the
// CD of as many tracks whose lengths lie closest to the disc's. Null when none is.
const Json* MediumOfDisc(FieldReader& fields, const Json& media, const std::string& discId,
                         const MusicBrainzToc& toc) {
    for (const Json& medium : media) {
        if (HoldsDisc(fields, medium, discId)) return &medium;
    }
    const std::vector<std::int64_t> lengths = TrackLengthsMs(toc);
    const Json* closest = nullptr;
    std::int64_t closestDistance = 0;
    for (const Json& medium : media) {
        const std::int64_t listed = static_cast<std::int64_t>(fields.Objects(medium, "tracks").size());
        const std::int64_t trackCount = fields.OptionalNumber(medium, "track-count", listed);
        if (!MayBeThisDisc(fields.OptionalText(medium, "format")) || trackCount != toc.lastTrack) continue;
        const std::int64_t distance = LengthDistance(fields, medium, lengths);
        if (!closest || distance < closestDistance) {
            closest = &medium;
            closestDistance = distance;
        }
    }
    return closest;
}

void ReadRelease(FieldReader& fields, const Json& release, const std::string& discId, const MusicBrainzToc& toc,
                 std::vector<MusicBrainzRelease>* releases) {
    MusicBrainzRelease read;
    read.title = fields.Text(release, "title");
    read.artist = fields.ArtistCredit(release);
    const std::string date = fields.OptionalText(release, "date");
    if (date.size() >= 4) read.year = date.substr(0, 4);
    read.country = fields.OptionalText(release, "country");
    const Json& media = fields.Objects(release, "media");
    const Json* medium = MediumOfDisc(fields, media, discId, toc);
    if (fields.Wrong() || !medium) return;

    read.format = fields.OptionalText(*medium, "format");
    read.mediumCount = static_cast<int>(media.size());
    read.mediumPosition = static_cast<int>(fields.OptionalNumber(*medium, "position", 0));
    for (const Json& track : fields.Objects(*medium, "tracks")) {
        const std::string title = fields.Text(track, "title");
        read.trackTitles.push_back(TrackTitle(fields.ArtistCredit(track), read.artist, title));
    }
    releases->push_back(std::move(read));
}

void ReadCdStub(FieldReader& fields, const Json& stub, std::vector<MusicBrainzRelease>* releases) {
    MusicBrainzRelease read;
    read.artist = fields.Text(stub, "artist");
    read.title = fields.Text(stub, "title");
    for (const Json& track : fields.Objects(stub, "tracks")) {
        const std::string title = fields.Text(track, "title");
        read.trackTitles.push_back(TrackTitle(fields.OptionalText(track, "artist"), read.artist, title));
    }
    releases->push_back(std::move(read));
}

// Reads through the reply once without building anything, and stops at the first
// container nested deeper than the limit: a hostile reply of nothing but brackets ends
// there, and the tree built afterwards is never deeper than the limit.
class DepthCheck : public nlohmann::json_sax<Json> {
public:
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return Open(); }
    bool key(string_t&) override { return true; }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(); }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    bool Open() { return ++depth_ <= MusicBrainzDepthLimit; }
    bool Close() {
        --depth_;
        return true;
    }
    int depth_ = 0;
};

bool ParseBounded(const std::string& body, Json* parsed) {
    DepthCheck check;
    if (!Json::sax_parse(body, &check, nlohmann::detail::input_format_t::json, true, false)) return false;
    *parsed = Json::parse(body, nullptr, false);
    return !parsed->is_discarded();
}

} // namespace

MusicBrainzReading ReadMusicBrainzReply(const std::string& body, const std::string& discId,
                                        const MusicBrainzToc& toc, MusicBrainzAnswer* answer) {
    *answer = MusicBrainzAnswer{};
    if (body.size() > MusicBrainzReplyLimit) return MusicBrainzReading::TooLarge;
    Json reply;
    if (!ParseBounded(body, &reply)) return MusicBrainzReading::Malformed;
    if (!reply.is_object()) return MusicBrainzReading::WrongTypes;

    FieldReader fields;
    MusicBrainzAnswer read;
    if (reply.contains("releases")) {
        // A disc filed with this id answers as the disc, with an id of its own; a close
        // match by table of contents as a bare list of releases.
        read.kind = reply.contains("id") ? MusicBrainzAnswerKind::DiscId : MusicBrainzAnswerKind::TocMatches;
        if (!reply["releases"].is_array()) return MusicBrainzReading::WrongTypes;
        for (const Json& release : fields.Objects(reply, "releases")) {
            ReadRelease(fields, release, discId, toc, &read.releases);
        }
    } else if (reply.contains("tracks")) {
        read.kind = MusicBrainzAnswerKind::CdStub;
        ReadCdStub(fields, reply, &read.releases);
    } else {
        return MusicBrainzReading::WrongTypes;
    }
    if (fields.Wrong()) return MusicBrainzReading::WrongTypes;
    *answer = std::move(read);
    return MusicBrainzReading::Read;
}

std::string ReleaseChoiceText(const MusicBrainzRelease& release) {
    std::string text = release.artist + " / " + release.title;
    std::string details;
    const auto add = [&details](const std::string& part) {
        if (part.empty()) return;
        if (!details.empty()) details += ", ";
        details += part;
    };
    add(release.year);
    add(release.country);
    std::string medium = release.format;
    if (release.mediumCount > 1 && release.mediumPosition > 0) {
        if (medium.empty()) medium = "Disc";
        medium += ' ' + std::to_string(release.mediumPosition) + '/' + std::to_string(release.mediumCount);
    }
    add(medium);
    if (!details.empty()) text += " (" + details + ")";
    return text;
}
