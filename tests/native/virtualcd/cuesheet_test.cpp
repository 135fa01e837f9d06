#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/virtualcd/cuesheet.h"
#include "platform/virtualcd/imagefiles.h"

namespace {

// File sizes as a probe gives them: name -> data bytes (WAV headers already skipped).
ImageFileProbe Sizes(std::map<std::string, std::int64_t> sizes) {
    return [sizes](const CueFile& file, ImageFileFacts* facts, std::string* problem) {
        auto found = sizes.find(file.name);
        if (found == sizes.end()) return *problem = "cannot read " + file.name, false;
        facts->dataOffset = file.wave ? 44 : 0;
        facts->dataBytes = found->second;
        return true;
    };
}

struct LaidOut {
    bool ok = false;
    std::string error;
    DiscDescription disc;
    DiscImage image;
};

LaidOut Lay(const std::string& sheetText, std::map<std::string, std::int64_t> sizes) {
    LaidOut out;
    CueSheet sheet;
    if (!ParseCueSheet(sheetText, &sheet, &out.error)) return out;
    out.ok = LayOutImage(sheet, Sizes(sizes), &out.disc, &out.image, &out.error);
    return out;
}

std::string Starts(const DiscDescription& disc) {
    std::string text;
    for (const VirtualTrack& track : disc.tracks)
        text += (track.audio ? "a" : "d") + std::to_string(track.startFrame) + "/" +
                std::to_string(track.pregapFrames) + " ";
    return text + "L" + std::to_string(disc.leadOut);
}

TEST(CueSheetTest, ReadsWhatRippersWrite) {
    // A ripper's sheet: a UTF-8 mark, CRLF line ends, metadata, quoted names with
    // spaces, lower-case keywords, an index 2 inside a track.
    const std::string text =
        "\xEF\xBB\xBFREM GENRE Rock\r\nPERFORMER \"Some One\"\r\nTITLE \"An Album\"\r\n"
        "FILE \"My Album (Disc 1).bin\" BINARY\r\n"
        "  TRACK 01 AUDIO\r\n    FLAGS DCP\r\n    INDEX 01 00:00:00\r\n    index 02 00:01:00\r\n"
        "  TRACK 02 AUDIO\r\n    ISRC ABCDE1234567\r\n    INDEX 00 00:03:00\r\n    INDEX 01 00:04:00\r\n";
    const LaidOut out = Lay(text, {{"My Album (Disc 1).bin", 8 * 75 * 2352}});
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(Starts(out.disc), "a150/0 a450/75 L750");
}

TEST(CueSheetTest, RefusesSheetsThatDoNotDescribeADisc) {
    const std::string bin = "FILE \"a.bin\" BINARY\n";
    const std::pair<std::string, std::string> cases[] = {
        {"REM nothing\n", "the sheet has no tracks"},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\n", "line 1: TRACK before any FILE"},
        {bin + "TRACK 02 AUDIO\nINDEX 01 00:00:00\n", "line 2: track numbers must count up from 1"},
        {bin + "TRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 01 AUDIO\n", "line 4: track numbers must count up from 1"},
        {bin + "TRACK 01 AUDIO\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n", "track 1 has no INDEX 01"},
        {bin + "TRACK 01 AUDIO\nINDEX 01 00:02:00\nTRACK 02 AUDIO\nINDEX 01 00:01:00\n",
         "line 5: index positions must rise"},
        {bin + "TRACK 01 AUDIO\nINDEX 01 00:00:00\nINDEX 00 00:00:00\n", "line 4: INDEX 00 must come first"},
        {bin + "TRACK 01 AUDIO\nINDEX 01 00:60:00\n", "line 3: expected INDEX NN mm:ss:ff"},
        {bin + "TRACK 01 AUDIO\nINDEX 01 00:00:75\n", "line 3: expected INDEX NN mm:ss:ff"},
        {bin + "TRACK 01 AUDIO\nINDEX 01 00:00\n", "line 3: expected INDEX NN mm:ss:ff"},
        {bin + "TRACK 01 MODE3/2352\n", "line 2: unknown track mode MODE3/2352"},
        {bin + "TRACK AB AUDIO\n", "line 2: expected TRACK NN MODE"},
        {bin + "TRACK 01\n", "line 2: expected TRACK NN MODE"},
        {"FILE \"a.mp3\" MP3\n", "line 1: file type MP3 cannot be played (BINARY, MOTOROLA or WAVE)"},
        {"FILE \"a.wav\" WAVE\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n",
         "line 3: a data track cannot be in a WAVE file"},
        {bin + "TRACK 01 AUDIO\nINDEX 01 00:00:00\nFILE \"b.bin\" BINARY\n", "file b.bin holds no track"},
        {bin + "INDEX 01 00:00:00\n", "line 2: INDEX before any TRACK"},
    };
    for (const auto& [text, error] : cases) {
        CueSheet sheet;
        std::string problem;
        EXPECT_FALSE(ParseCueSheet(text, &sheet, &problem)) << text;
        EXPECT_EQ(problem, error) << text;
    }
}

TEST(CueSheetTest, LaysOutPregapsGapsAndDataTracksAsTheDiscHadThem) {
    // A single BIN: an audio track, one with index 0 a second before index 1, a data track.
    LaidOut out = Lay("FILE \"d.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\n"
                      "INDEX 00 00:03:00\nINDEX 01 00:04:00\nTRACK 03 MODE1/2352\nINDEX 01 00:08:00\n",
                      {{"d.bin", 825 * 2352}});
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(Starts(out.disc), "a150/0 a450/75 d750/0 L975");

    // One WAV a track with the gap appended to the track before; the last file ends
    // inside a frame, which counts as a whole one.
    out = Lay("FILE \"1.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 00 00:03:00\n"
              "FILE \"2.wav\" WAVE\nINDEX 01 00:00:00\nFILE \"3.wav\" WAVE\nTRACK 03 AUDIO\nINDEX 01 00:00:00\n",
              {{"1.wav", 300 * 2352}, {"2.wav", 300 * 2352}, {"3.wav", 187 * 2352 + 400}});
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(Starts(out.disc), "a150/0 a450/75 a750/0 L938");
    ASSERT_EQ(out.image.segments.size(), 4u);
    EXPECT_EQ(out.image.segments[1].file, 0); // track 2's pregap comes from the first file
    EXPECT_EQ(out.image.segments[1].byteOffset, 44 + 225 * 2352);
    EXPECT_EQ(out.image.segments[3].bytesInFile, 187 * 2352 + 400);

    // PREGAP and POSTGAP are silence the files do not hold; a hidden first track's audio
    // before index 1 of track 1 is no pregap in the table.
    out = Lay("FILE \"d.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 00 00:00:00\nINDEX 01 00:01:00\nPOSTGAP 00:00:10\n"
              "TRACK 02 AUDIO\nPREGAP 00:02:00\nINDEX 01 00:05:00\n",
              {{"d.bin", 600 * 2352}});
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(Starts(out.disc), "a225/0 a685/150 L910");
    EXPECT_EQ(out.image.segments[2].file, -1);
    EXPECT_EQ(out.image.segments[2].frames, 10);

    // Mixed sector sizes in one file: a 2048-byte data track before the audio.
    out = Lay("FILE \"m.bin\" BINARY\nTRACK 01 MODE1/2048\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:10:00\n",
              {{"m.bin", 750 * 2048 + 300 * 2352}});
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(Starts(out.disc), "d150/0 a900/0 L1200");
    EXPECT_EQ(out.image.segments[1].byteOffset, 750 * 2048);
}

TEST(CueSheetTest, RefusesImagesTheSheetDoesNotFit) {
    const std::string sheet = "FILE \"d.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\n"
                              "INDEX 01 00:04:00\n";
    EXPECT_EQ(Lay(sheet, {}).error, "cannot read d.bin");
    // The file ends before track 2 begins.
    EXPECT_EQ(Lay(sheet, {{"d.bin", 200 * 2352}}).error, "track 2 lies past the end of d.bin");
    EXPECT_EQ(Lay(sheet, {{"d.bin", 300 * 2352}}).error, "track 2 lies past the end of d.bin");
    // A last track of one frame: its lead-out would not lie past its start.
    EXPECT_EQ(Lay(sheet, {{"d.bin", 301 * 2352}}).error, "not a disc: the lead-out must lie past the last track's start");
    // Longer than a disc: the frame counts would no longer fit the drive's MSF.
    EXPECT_EQ(Lay(sheet, {{"d.bin", std::int64_t{2000000} * 2352}}).error, "the image is longer than a disc can be");
    // Two tracks at one place.
    EXPECT_EQ(Lay("FILE \"d.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:01:00\nTRACK 02 AUDIO\nINDEX 01 00:01:00\n",
                  {{"d.bin", 600 * 2352}})
                  .error,
              "track 1 has no length");
}

std::string Chunk(const std::string& id, const std::string& body) {
    std::string size(4, '\0');
    for (int i = 0; i < 4; ++i) size[i] = static_cast<char>((body.size() >> (8 * i)) & 0xFF);
    return id + size + body + (body.size() % 2 ? std::string(1, '\0') : std::string());
}

std::string Format(int tag, int channels, int rate, int bits) {
    std::string body(16, '\0');
    auto put = [&body](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) body[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(0, tag, 2);
    put(2, channels, 2);
    put(4, rate, 4);
    put(8, rate * channels * bits / 8, 4);
    put(12, channels * bits / 8, 2);
    put(14, bits, 2);
    return Chunk("fmt ", body);
}

std::string Riff(const std::string& chunks) { return "RIFF" + std::string(4, '\0') + "WAVE" + chunks; }

TEST(CueSheetTest, FindsTheSamplesOfAWaveFileAndRefusesOtherSound) {
    ImageFileFacts facts;
    std::string problem;
    // Metadata chunks (one of odd size, padded) before the samples are passed over.
    const std::string head = Riff(Format(1, 2, 44100, 16) + Chunk("LIST", "abc") + Chunk("data", std::string(8, 'x')));
    ASSERT_TRUE(ParseWaveHeader(head, static_cast<std::int64_t>(head.size()), &facts, &problem)) << problem;
    EXPECT_EQ(facts.dataOffset, static_cast<std::int64_t>(head.size() - 8));
    EXPECT_EQ(facts.dataBytes, 8);
    // A header promising more samples than the file holds gets those there are.
    ASSERT_TRUE(ParseWaveHeader(head, static_cast<std::int64_t>(head.size()) - 3, &facts, &problem));
    EXPECT_EQ(facts.dataBytes, 4);

    const std::pair<std::string, std::string> refused[] = {
        {Riff(Format(1, 2, 48000, 16) + Chunk("data", "")), "not 44.1 kHz 16-bit stereo PCM"},
        {Riff(Format(1, 1, 44100, 16) + Chunk("data", "")), "not 44.1 kHz 16-bit stereo PCM"},
        {Riff(Format(1, 2, 44100, 24) + Chunk("data", "")), "not 44.1 kHz 16-bit stereo PCM"},
        {Riff(Format(3, 2, 44100, 16) + Chunk("data", "")), "not 44.1 kHz 16-bit stereo PCM"},
        {Riff(Chunk("data", "") + Format(1, 2, 44100, 16)), "no fmt chunk before the samples"},
        {Riff(Format(1, 2, 44100, 16) + Chunk("LIST", std::string(100, 'z'))), "no data chunk in the file's first 64 KiB"},
        {"RIFX" + std::string(4, '\0') + "WAVE", "not a RIFF WAVE file"},
        {"RIFF", "not a RIFF WAVE file"},
    };
    for (const auto& [bytes, reason] : refused) {
        EXPECT_FALSE(ParseWaveHeader(bytes, static_cast<std::int64_t>(bytes.size()), &facts, &problem)) << reason;
        EXPECT_EQ(problem, reason);
    }
    // A chunk size near 4 GiB must not wrap the walk back into the header.
    const std::string huge = Riff(Format(1, 2, 44100, 16) + "JUNK\xF8\xFF\xFF\xFF" + Chunk("data", "abcd"));
    EXPECT_FALSE(ParseWaveHeader(huge, static_cast<std::int64_t>(huge.size()), &facts, &problem));
}

} // namespace

namespace {

// A sheet an older Windows ripper wrote in the ANSI code page (here the stand-in Western
// page) names its file in that page; the file on disk bears the same letters.
TEST(CueSheetTest, SheetInTheAnsiPageFindsItsFileByItsLetters) {
    const std::string folder = ::testing::TempDir() + "/ansi-sheet";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/Caf\xC3\xA9.bin", std::ios::binary) << std::string(300 * 2352, '\0');
    std::ofstream(folder + "/album.cue", std::ios::binary)
        << "FILE \"Caf\xE9.bin\" BINARY\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n";
    DiscDescription disc;
    DiscImage image;
    std::string error;
    EXPECT_TRUE(LoadCueImage(folder + "/album.cue", &disc, &image, &error)) << error;
    EXPECT_EQ(disc.tracks.size(), 1u);
    std::filesystem::remove_all(folder);
}

} // namespace
