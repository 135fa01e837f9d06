// A disc lookup's JSON reply read into releases: which medium is the disc, how artists
// and track artists are written, stubs, scripts beyond Latin, and the bounds on what a
// reply may be.
#include "musicbrainz/reply.h"

#include <gtest/gtest.h>

#include <string>

#include "cdaudio/cddevice.h"
#include "platform/cdaudiodriver.h"
#include "platform/virtualcd/virtualcd.h"
#include "tests/support/filetext.h"
#include "tests/support/recordedmusicbrainz.h"

namespace {

// The MusicBrainz table and id of a sample disc, as the drive reports it.
struct SampleDisc {
    MusicBrainzToc toc;
    std::string id;
};

SampleDisc Sample(const std::string& name) {
    InstallVirtualCdText(FileText(std::string(TUNOVA_SOURCE_DIR) + "/samples/discs/" + name));
    SampleDisc disc;
    if (OpenCdDevice("D:") > 0) {
        disc.toc = MusicBrainzTocOfDisc();
        disc.id = MusicBrainzDiscId();
    }
    CloseCdDevice();
    CdDevice() = CdDeviceRecord{};
    InstallCdAudioDriver(nullptr);
    return disc;
}

MusicBrainzReading Read(const std::string& body, const SampleDisc& disc, MusicBrainzAnswer* answer) {
    return ReadMusicBrainzReply(body, disc.id, disc.toc, answer);
}

// A reply as the service would send it for the disc, with one release whose title is
// the given JSON value.
std::string ReplyWithTitle(const std::string& titleJson) {
    return R"({"id":"x","releases":[{"title":)" + titleJson +
           R"(,"artist-credit":[{"name":"A","joinphrase":""}],"media":[{"format":"CD","track-count":1,)"
           R"("tracks":[{"title":"T","length":null}]}]}]})";
}

} // namespace

TEST(MusicBrainzReply, ADiscIdHitGivesTheReleaseWithJoinPhrasesAndTrackArtists) {
    const SampleDisc disc = Sample("album.disc");
    MusicBrainzAnswer answer;
    ASSERT_EQ(Read(RecordedMusicBrainz::DataFile("album-discid.json"), disc, &answer), MusicBrainzReading::Read);
    EXPECT_EQ(answer.kind, MusicBrainzAnswerKind::DiscId);
    ASSERT_EQ(answer.releases.size(), 1u);
    const MusicBrainzRelease& release = answer.releases[0];
    EXPECT_EQ(release.artist, "Kestrel Quartet feat. Mira Holt");
    EXPECT_EQ(release.title, "Harbour Lights");
    ASSERT_EQ(release.trackTitles.size(), 12u);
    EXPECT_EQ(release.trackTitles[0], "Northern Lights");
    // Tracks credited otherwise than the release, in the xmcd way of compilations.
    EXPECT_EQ(release.trackTitles[3], "Kestrel Quartet & Tomas Vey / Lanterns");
    EXPECT_EQ(release.trackTitles[8], "Ada Lind / Salt and Iron");
    EXPECT_EQ(release.trackTitles[11], "Coda");
    EXPECT_EQ(ReleaseChoiceText(release), "Kestrel Quartet feat. Mira Holt / Harbour Lights (1997, GB, CD)");
}

TEST(MusicBrainzReply, TheSecondDiscOfASetGivesTheSecondMediumsTracks) {
    const SampleDisc disc = Sample("enhanced.disc");
    MusicBrainzAnswer answer;
    ASSERT_EQ(Read(RecordedMusicBrainz::DataFile("enhanced-discid.json"), disc, &answer), MusicBrainzReading::Read);
    ASSERT_EQ(answer.releases.size(), 1u);
    const MusicBrainzRelease& release = answer.releases[0];
    ASSERT_EQ(release.trackTitles.size(), 9u);
    EXPECT_EQ(release.trackTitles.front(), "Second Prelude");
    EXPECT_EQ(release.trackTitles.back(), "Closing Hymn");
    EXPECT_EQ(ReleaseChoiceText(release), "The Lowland Choir / Songs of the Lowlands (2005, NL, CD 2/2)");
}

TEST(MusicBrainzReply, SeveralPressingsAreAllOfferedWithTheirOwnScript) {
    const SampleDisc disc = Sample("eleven.disc");
    MusicBrainzAnswer answer;
    ASSERT_EQ(Read(RecordedMusicBrainz::DataFile("eleven-discid.json"), disc, &answer), MusicBrainzReading::Read);
    ASSERT_EQ(answer.releases.size(), 2u);
    EXPECT_EQ(ReleaseChoiceText(answer.releases[1]), "Orla Finch / Open Water (1999, GB, CD)");
    const MusicBrainzRelease& japanese = answer.releases[0];
    EXPECT_EQ(ReleaseChoiceText(japanese), "オーラ・フィンチ / 開かれた水 (2003, JP, CD)");
    ASSERT_EQ(japanese.trackTitles.size(), 11u);
    EXPECT_EQ(japanese.trackTitles[4], "フィールドワーク");
}

TEST(MusicBrainzReply, ATocMatchTakesTheCdOfTheDiscsTrackCountClosestInLength) {
    // Each release holds two media of seven tracks: a vinyl record and a CD; a CD of
    // other lengths and one of nearly the disc's.
    const SampleDisc disc = Sample("datafirst.disc");
    MusicBrainzAnswer answer;
    ASSERT_EQ(Read(RecordedMusicBrainz::DataFile("datafirst-tocmatch.json"), disc, &answer), MusicBrainzReading::Read);
    EXPECT_EQ(answer.kind, MusicBrainzAnswerKind::TocMatches);
    ASSERT_EQ(answer.releases.size(), 2u);
    EXPECT_EQ(ReleaseChoiceText(answer.releases[0]), "Marsh Radio / Carrier (2011, DE, CD 2/2)");
    EXPECT_EQ(ReleaseChoiceText(answer.releases[1]), "Marsh Radio / Carrier (Deluxe) (2012, US, CD 2/2)");
    EXPECT_EQ(answer.releases[1].trackTitles[0], "Signal");
}

TEST(MusicBrainzReply, AReleaseWithoutAMediumLikeTheDiscIsLeftOut) {
    // A list of close matches whose only CD has another number of tracks.
    const SampleDisc disc = Sample("datafirst.disc");
    MusicBrainzAnswer answer;
    const std::string reply =
        R"({"release-count":1,"release-offset":0,"releases":[{"title":"Other","artist-credit":[],)"
        R"("media":[{"format":"CD","track-count":6,"tracks":[]}]}]})";
    ASSERT_EQ(Read(reply, disc, &answer), MusicBrainzReading::Read);
    EXPECT_TRUE(answer.releases.empty());
}

TEST(MusicBrainzReply, ACdStubGivesItsOwnArtistTitleAndTracks) {
    const SampleDisc disc = Sample("onetrack.disc");
    MusicBrainzAnswer answer;
    ASSERT_EQ(Read(RecordedMusicBrainz::DataFile("onetrack-cdstub.json"), disc, &answer), MusicBrainzReading::Read);
    EXPECT_EQ(answer.kind, MusicBrainzAnswerKind::CdStub);
    ASSERT_EQ(answer.releases.size(), 1u);
    EXPECT_EQ(answer.releases[0].artist, "Pike & Rowan");
    EXPECT_EQ(answer.releases[0].title, "Demo Tape");
    EXPECT_EQ(answer.releases[0].trackTitles, std::vector<std::string>{"First Take"});

    const std::string compilation =
        R"({"id":"x","title":"Mix","artist":"Various","tracks":[{"title":"One","artist":"Ann","length":1},)"
        R"({"title":"Two","artist":"Various","length":1}],"track-count":2})";
    ASSERT_EQ(Read(compilation, disc, &answer), MusicBrainzReading::Read);
    EXPECT_EQ(answer.releases[0].trackTitles, (std::vector<std::string>{"Ann / One", "Two"}));
}

TEST(MusicBrainzReply, ControlCharactersInTextsBecomeBlanks) {
    const SampleDisc disc = Sample("onetrack.disc");
    MusicBrainzAnswer answer;
    ASSERT_EQ(Read(ReplyWithTitle(R"("Line\nBreak\u0000End")"), disc, &answer), MusicBrainzReading::Read);
    ASSERT_EQ(answer.releases.size(), 1u);
    EXPECT_EQ(answer.releases[0].title, "Line Break End");
}

TEST(MusicBrainzReply, AReplyOfTheWrongShapeOrTypesIsNotUsed) {
    const SampleDisc disc = Sample("onetrack.disc");
    const char* const wrong[] = {
        R"([])",
        R"({"error":"Not Found","help":"For usage, please see: https://musicbrainz.org/development/mmd"})",
        R"({"id":"x","releases":{}})",
        R"({"id":"x","releases":["Mix"]})",
        R"({"title":"Mix","artist":7,"tracks":[]})",
        R"({"id":"x","releases":[{"title":"Mix","artist-credit":"A","media":[]}]})",
        R"({"id":"x","releases":[{"title":"Mix","artist-credit":[{"joinphrase":""}],"media":[]}]})",
        R"({"id":"x","releases":[{"title":"Mix","media":[{"format":"CD","track-count":"1","tracks":[]}]}]})",
        R"({"id":"x","releases":[{"title":"Mix","media":[{"format":"CD","track-count":1,"tracks":[{"title":1}]}]}]})",
    };
    for (const char* reply : wrong) {
        MusicBrainzAnswer answer;
        answer.releases.resize(1);
        EXPECT_EQ(Read(reply, disc, &answer), MusicBrainzReading::WrongTypes) << reply;
        EXPECT_TRUE(answer.releases.empty()) << reply;
    }
    MusicBrainzAnswer answer;
    EXPECT_EQ(Read(ReplyWithTitle("null"), disc, &answer), MusicBrainzReading::WrongTypes);
    EXPECT_EQ(Read(ReplyWithTitle(R"("Fine")"), disc, &answer), MusicBrainzReading::Read);
}

TEST(MusicBrainzReply, SizeAndNestingAreBoundedAtTheirLimits) {
    const SampleDisc disc = Sample("onetrack.disc");
    MusicBrainzAnswer answer;
    // Padding with blanks keeps the reply valid JSON: only the length differs.
    std::string reply = ReplyWithTitle(R"("Fine")");
    reply.append(MusicBrainzReplyLimit - reply.size(), ' ');
    EXPECT_EQ(Read(reply, disc, &answer), MusicBrainzReading::Read);
    reply += ' ';
    EXPECT_EQ(Read(reply, disc, &answer), MusicBrainzReading::TooLarge);

    // The top-level object counts as the first level.
    const auto nested = [](int levels) {
        return R"({"id":"x","releases":[],"extra":)" + std::string(levels - 1, '[') + std::string(levels - 1, ']') + "}";
    };
    EXPECT_EQ(Read(nested(MusicBrainzDepthLimit), disc, &answer), MusicBrainzReading::Read);
    EXPECT_EQ(Read(nested(MusicBrainzDepthLimit + 1), disc, &answer), MusicBrainzReading::Malformed);
    // Far deeper than any stack would hold, had the parser recursed.
    EXPECT_EQ(Read(nested(1000000), disc, &answer), MusicBrainzReading::Malformed);

    EXPECT_EQ(Read(R"({"id":"x","releases":[)", disc, &answer), MusicBrainzReading::Malformed);
    EXPECT_EQ(Read("{\"title\":\"\xC3\x28\",\"artist\":\"A\",\"tracks\":[]}", disc, &answer),
              MusicBrainzReading::Malformed);
    EXPECT_EQ(Read("", disc, &answer), MusicBrainzReading::Malformed);
}
