#include "discinfo/cdtext.h"

#include <algorithm>

#include "platform/cdtextpacks.h"
#include "platform/codepage.h"
#include "platform/utf8text.h"

namespace {

class Pack {
public:
    explicit Pack(const std::uint8_t* bytes) : bytes_(bytes) {}
    std::uint8_t Type() const { return bytes_[0]; }
    std::size_t Track() const { return bytes_[1] & 0x7F; }
    bool Extension() const { return (bytes_[1] & cdtext::ExtensionFlag) != 0; }
    int Sequence() const { return bytes_[2]; }
    bool DoubleByte() const { return (bytes_[3] & cdtext::DoubleByteFlag) != 0; }
    int Block() const { return (bytes_[3] >> 4) & 0x07; }
    int Position() const { return bytes_[3] & 0x0F; }
    const std::uint8_t* Text() const { return bytes_ + cdtext::TextOffset; }

private:
    const std::uint8_t* bytes_;
};

// A type's texts by track, as the disc holds them.
using DiscTexts = std::vector<std::optional<std::string>>;

// The packs of the answer whose CRC matches, in the drive's order; the others counted.
std::vector<Pack> IntactPacks(const std::vector<std::uint8_t>& reply, int* broken) {
    std::vector<Pack> packs;
    if (reply.size() < cdrom::CdTextHeaderBytes) return packs;
    // The length counts what follows it: the two reserved bytes, then the packs.
    const std::size_t length = static_cast<std::size_t>(reply[0] << 8 | reply[1]);
    const std::size_t end =
        cdrom::CdTextHeaderBytes + std::min(length >= 2 ? length - 2 : 0, reply.size() - cdrom::CdTextHeaderBytes);
    for (std::size_t at = cdrom::CdTextHeaderBytes; at + cdtext::PackBytes <= end; at += cdtext::PackBytes) {
        if (CdTextPackIntact(&reply[at])) packs.emplace_back(&reply[at]);
        else ++*broken;
    }
    return packs;
}

// The block's character code: its size information's, or, when that pack was lost,
// what the double-byte flags of its text packs say.
int CharacterCode(const std::vector<Pack>& packs, int block) {
    bool doubleByte = false;
    for (const Pack& pack : packs) {
        if (pack.Block() != block) continue;
        if (pack.Type() == cdtext::SizeInfo && pack.Track() == 0) return pack.Text()[0];
        doubleByte = doubleByte || pack.DoubleByte();
    }
    return doubleByte ? cdtext::MsJis : cdtext::Iso8859_1;
}

// The texts of one type in a block. They run on from pack to pack, a zero ending each
// (and a second zero after it in double-byte text; no character of MS-JIS holds a zero
// byte). Where a pack is missing, its sequence number skipped, the texts it held part of
// are dropped: the pack after the gap names the track of its first text, and whether
// that text began in an earlier pack.
DiscTexts ReadTexts(const std::vector<Pack>& packs, int block, std::uint8_t type, bool doubleByte) {
    DiscTexts texts(CdTextTrackSlots);
    std::string text;
    std::size_t track = 0;
    bool fromItsStart = false;
    bool secondZero = false;
    int expected = -1;
    for (const Pack& pack : packs) {
        if (pack.Block() != block || pack.Type() != type || pack.Extension()) continue;
        if (pack.Sequence() != expected) {
            text.clear();
            track = pack.Track();
            fromItsStart = pack.Position() == 0;
            secondZero = false;
        }
        expected = pack.Sequence() + 1;
        for (std::size_t i = 0; i < cdtext::TextBytes; ++i) {
            const std::uint8_t byte = pack.Text()[i];
            if (secondZero) {
                secondZero = false;
                if (byte == 0) continue;
            }
            if (byte != 0) {
                text += static_cast<char>(byte);
                continue;
            }
            if (fromItsStart && track < texts.size() && !texts[track]) texts[track] = text;
            text.clear();
            ++track;
            fromItsStart = true;
            secondZero = doubleByte;
        }
    }
    return texts;
}

std::optional<std::string> ToUtf8(const std::string& bytes, int code) {
    if (code != cdtext::MsJis) return Latin1ToUtf8(bytes); // ASCII is the same
    std::string utf8;
    if (!CodePageToUtf8(cdtext::MsJisCodePage, bytes, &utf8)) return std::nullopt;
    return utf8;
}

// The texts as UTF-8, a lone tab (two in double-byte text) standing for the text of the
// track before; empty texts and texts that are not of the character code give none.
DiscTexts Resolve(const DiscTexts& texts, int code) {
    DiscTexts resolved(texts.size());
    for (std::size_t track = 0; track < texts.size(); ++track) {
        if (!texts[track]) continue;
        if (*texts[track] == "\t" || *texts[track] == "\t\t") {
            if (track > 0) resolved[track] = resolved[track - 1];
            continue;
        }
        std::optional<std::string> text = ToUtf8(*texts[track], code);
        if (text && !text->empty()) resolved[track] = text;
    }
    return resolved;
}

bool AnyText(const DiscTexts& texts) {
    return std::any_of(texts.begin(), texts.end(), [](const std::optional<std::string>& text) { return text.has_value(); });
}

} // namespace

CdTextTitles DecodeCdText(const std::vector<std::uint8_t>& reply) {
    CdTextTitles result;
    result.titles.assign(CdTextTrackSlots, std::nullopt);
    result.performers.assign(CdTextTrackSlots, std::nullopt);
    const std::vector<Pack> packs = IntactPacks(reply, &result.brokenPacks);
    for (int block = 0; block < cdtext::MostBlocks; ++block) {
        if (std::none_of(packs.begin(), packs.end(), [block](const Pack& pack) { return pack.Block() == block; }))
            continue;
        const int code = CharacterCode(packs, block);
        if (code != cdtext::Iso8859_1 && code != cdtext::Ascii && code != cdtext::MsJis) {
            if (result.unreadCode < 0) result.unreadCode = code;
            continue;
        }
        const bool doubleByte = code == cdtext::MsJis;
        DiscTexts titles = Resolve(ReadTexts(packs, block, cdtext::Title, doubleByte), code);
        DiscTexts performers = Resolve(ReadTexts(packs, block, cdtext::Performer, doubleByte), code);
        if (!AnyText(titles) && !AnyText(performers)) continue;
        result.titles = std::move(titles);
        result.performers = std::move(performers);
        result.unreadCode = -1;
        break;
    }
    return result;
}
