#include "platform/virtualcd/imagecdtext.h"

#include <algorithm>

#include "platform/cdtextpacks.h"
#include "platform/codepage.h"
#include "platform/utf8text.h"

namespace {

// text (valid UTF-8) in ISO-8859-1; false when a letter lies outside it. The control
// codes 0x80 to 0x9F count as outside: no title holds them, and readers take those bytes
// for the Windows page's letters.
bool ToIso8859_1(const std::string& text, std::string* out) {
    std::string bytes;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0 || length > 2) return false;
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        const unsigned codePoint =
            length == 1 ? lead : (lead & 0x1Fu) << 6 | (static_cast<unsigned char>(text[at + 1]) & 0x3Fu);
        if (codePoint > 0xFF || (codePoint >= 0x80 && codePoint < 0xA0)) return false;
        bytes += static_cast<char>(codePoint);
        at += length;
    }
    *out = bytes;
    return true;
}

struct EncodedTexts {
    std::uint8_t code = cdtext::Iso8859_1;
    std::vector<std::string> titles;
    std::vector<std::string> performers;
};

std::string Place(std::size_t index, const char* what) {
    return (index == 0 ? std::string("album ") : "track " + std::to_string(index) + " ") + what;
}

// Every text in ISO-8859-1 if they all fit, else in MS-JIS if they all fit that, else in
// ISO-8859-1 without the misfits.
EncodedTexts Encode(const AlbumTexts& texts, std::vector<std::string>* leftOut) {
    EncodedTexts encoded;
    const std::vector<std::string>* sources[] = {&texts.titles, &texts.performers};
    std::vector<std::string>* targets[] = {&encoded.titles, &encoded.performers};
    const char* names[] = {"title", "performer"};
    const auto encodeAll = [&](bool msJis, std::vector<std::string>* misfits) {
        bool all = true;
        for (int kind = 0; kind < 2; ++kind) {
            targets[kind]->assign(sources[kind]->size(), std::string());
            for (std::size_t i = 0; i < sources[kind]->size(); ++i) {
                const std::string& text = (*sources[kind])[i];
                const bool fits = msJis ? Utf8ToCodePage(cdtext::MsJisCodePage, text, &(*targets[kind])[i])
                                        : ToIso8859_1(text, &(*targets[kind])[i]);
                if (fits) continue;
                all = false;
                if (misfits) misfits->push_back(Place(i, names[kind]));
            }
        }
        return all;
    };
    if (encodeAll(false, nullptr)) return encoded;
    if (encodeAll(true, nullptr)) {
        encoded.code = cdtext::MsJis;
        return encoded;
    }
    encodeAll(false, leftOut);
    return encoded;
}

bool IsShiftJisLead(std::uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// One byte of a type's texts as the packs carry them one after another.
struct StreamByte {
    std::uint8_t value;
    std::uint8_t track;
    std::size_t textStart; // where the byte's text begins in the stream
    int before;            // characters of its text before it
};

std::vector<StreamByte> TextStream(const std::vector<std::string>& texts, bool doubleByte) {
    std::vector<StreamByte> stream;
    const std::string sameAsBefore = doubleByte ? "\t\t" : "\t";
    for (std::size_t track = 0; track < texts.size(); ++track) {
        std::string bytes = texts[track];
        if (track > 0 && !bytes.empty() && bytes == texts[track - 1]) bytes = sameAsBefore;
        bytes.append(doubleByte ? 2 : 1, '\0');
        const std::size_t start = stream.size();
        int before = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const std::uint8_t value = static_cast<std::uint8_t>(bytes[i]);
            stream.push_back(StreamByte{value, static_cast<std::uint8_t>(track), start, before});
            // The trail byte of a double-byte character is no character of its own.
            if (!(doubleByte && IsShiftJisLead(value) && i + 1 < bytes.size())) ++before;
            else stream.push_back(StreamByte{static_cast<std::uint8_t>(bytes[++i]), static_cast<std::uint8_t>(track),
                                             start, before++});
        }
    }
    return stream;
}

// Appends the packs of a type's stream, at most room of them; returns how many.
int AppendPacks(std::uint8_t type, const std::vector<StreamByte>& stream, bool doubleByte, int room,
                std::vector<std::uint8_t>* packs) {
    int count = 0;
    for (std::size_t at = 0; at < stream.size() && count < room; at += cdtext::TextBytes, ++count) {
        std::uint8_t pack[cdtext::PackBytes] = {};
        const StreamByte& first = stream[at];
        const std::size_t packIndex = at / cdtext::TextBytes;
        // How many characters of the first text came before: 15 once it began before the
        // pack before this one.
        int position = first.before;
        if (position > 0 && first.textStart / cdtext::TextBytes + 1 < packIndex) position = cdtext::MostCharacterPosition;
        pack[0] = type;
        pack[1] = first.track;
        pack[2] = static_cast<std::uint8_t>(packs->size() / cdtext::PackBytes);
        pack[3] = static_cast<std::uint8_t>((doubleByte ? cdtext::DoubleByteFlag : 0) |
                                            std::min(position, cdtext::MostCharacterPosition));
        for (std::size_t i = 0; i < cdtext::TextBytes && at + i < stream.size(); ++i)
            pack[cdtext::TextOffset + i] = stream[at + i].value;
        SealCdTextPack(pack);
        packs->insert(packs->end(), pack, pack + cdtext::PackBytes);
    }
    return count;
}

bool AnyText(const std::vector<std::string>& texts) {
    return std::any_of(texts.begin(), texts.end(), [](const std::string& text) { return !text.empty(); });
}

} // namespace

std::vector<std::uint8_t> BuildCdTextPacks(const AlbumTexts& given, std::vector<std::string>* leftOut) {
    // On the disc a zero ends a text: one inside it would end it early and move every
    // text after it to the next track.
    AlbumTexts texts = given;
    for (std::vector<std::string>* kind : {&texts.titles, &texts.performers})
        for (std::string& text : *kind) text = text.substr(0, text.find('\0'));
    const EncodedTexts encoded = Encode(texts, leftOut);
    const bool doubleByte = encoded.code == cdtext::MsJis;
    std::vector<std::uint8_t> packs;
    int titlePacks = 0, performerPacks = 0;
    if (AnyText(encoded.titles))
        titlePacks = AppendPacks(cdtext::Title, TextStream(encoded.titles, doubleByte), doubleByte,
                                 cdtext::MostTextPacksInBlock, &packs);
    if (AnyText(encoded.performers))
        performerPacks = AppendPacks(cdtext::Performer, TextStream(encoded.performers, doubleByte), doubleByte,
                                     cdtext::MostTextPacksInBlock - titlePacks, &packs);
    if (packs.empty()) return packs;

    // The size information: character code, first and last track, copyright (none), the
    // packs of each type 0x80 to 0x8F, the last sequence number of each block, and each
    // block's language.
    std::uint8_t size[3 * cdtext::TextBytes] = {};
    const std::size_t tracks = std::max<std::size_t>(texts.titles.size(), texts.performers.size());
    size[0] = encoded.code;
    size[1] = 1;
    size[2] = static_cast<std::uint8_t>(tracks > 1 ? tracks - 1 : 1);
    size[4 + (cdtext::Title - 0x80)] = static_cast<std::uint8_t>(titlePacks);
    size[4 + (cdtext::Performer - 0x80)] = static_cast<std::uint8_t>(performerPacks);
    size[4 + (cdtext::SizeInfo - 0x80)] = 3;
    size[20] = static_cast<std::uint8_t>(titlePacks + performerPacks + 3 - 1);
    size[28] = doubleByte ? cdtext::Japanese : cdtext::English;
    for (std::uint8_t part = 0; part < 3; ++part) {
        std::uint8_t pack[cdtext::PackBytes] = {};
        pack[0] = cdtext::SizeInfo;
        pack[1] = part;
        pack[2] = static_cast<std::uint8_t>(packs.size() / cdtext::PackBytes);
        pack[3] = doubleByte ? cdtext::DoubleByteFlag : 0;
        std::copy(size + part * cdtext::TextBytes, size + (part + 1) * cdtext::TextBytes, pack + cdtext::TextOffset);
        SealCdTextPack(pack);
        packs.insert(packs.end(), pack, pack + cdtext::PackBytes);
    }
    return packs;
}

bool CdTextFilePacks(const std::string& bytes, std::vector<std::uint8_t>* packs, std::string* problem) {
    std::size_t from = 0, length = bytes.size();
    const std::size_t headed = bytes.size() >= cdrom::CdTextHeaderBytes
                                   ? (static_cast<std::size_t>(static_cast<unsigned char>(bytes[0])) << 8 |
                                      static_cast<unsigned char>(bytes[1])) + 2
                                   : 0;
    if (bytes.size() >= cdrom::CdTextHeaderBytes && headed == bytes.size() && bytes[2] == 0 && bytes[3] == 0 &&
        (bytes.size() - cdrom::CdTextHeaderBytes) % cdtext::PackBytes == 0) {
        from = cdrom::CdTextHeaderBytes;
        length -= from;
    } else if (length % cdtext::PackBytes == 1 && bytes.back() == 0) {
        --length;
    }
    if (length == 0 || length % cdtext::PackBytes != 0) return *problem = "not a file of CD-Text packs", false;
    if (length / cdtext::PackBytes > static_cast<std::size_t>(cdtext::MostBlocks * cdtext::MostPacksInBlock))
        return *problem = "more CD-Text packs than a disc holds", false;
    packs->assign(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                  bytes.begin() + static_cast<std::ptrdiff_t>(from + length));
    return true;
}
