// A real drive's raw reads as DeviceIoControl requests, against a stand-in that checks
// them as the CD-ROM class driver does.
#include <gtest/gtest.h>

#include <vector>

#include "platform/cdromioctl.h"
#include "tests/support/cdromstandin.h"

namespace {

StandInDisc EnhancedCd() {
    StandInDisc disc;
    disc.tracks = {{true, 150}, {true, 18787}, {false, 36077}};
    disc.leadOutFrame = 56475;
    disc.cdText = {0x00, 0x14, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 'T', 'u', 'n', 'o', 'v', 'a',
                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x12, 0x34};
    return disc;
}

TEST(RawDriveTest, TheTableComesFromTheDrivesOwnTocWithDataTracksMarked) {
    StandInCdDrive drive(EnhancedCd());
    auto raw = MakeIoctlRawCdDrive(drive.Call());
    RawToc toc;
    ASSERT_EQ(raw->ReadToc(&toc), 0u);
    ASSERT_EQ(toc.tracks.size(), 3u);
    EXPECT_EQ(toc.tracks[1].number, 2);
    EXPECT_EQ(toc.tracks[1].startFrame, 18787);
    EXPECT_EQ(toc.tracks[0].control & 0x04, 0);
    EXPECT_EQ(toc.tracks[2].control & 0x04, 0x04) << "the data track";
    EXPECT_EQ(toc.leadOutFrame, 56475);

    // The CD-Text answer as the driver gives it, for its reader to take apart.
    std::vector<std::uint8_t> text;
    ASSERT_EQ(raw->ReadCdText(&text), 0u);
    EXPECT_EQ(text, EnhancedCd().cdText);
}

TEST(RawDriveTest, AudioIsReadAsCddaAtItsCookedOffsetInRequestsTheAdapterTakes) {
    StandInCdDrive drive(EnhancedCd());
    auto raw = MakeIoctlRawCdDrive(drive.Call());
    std::vector<std::uint8_t> sectors(MaxRawReadSectors * RawSectorBytes);
    ASSERT_EQ(raw->ReadAudio(1000, MaxRawReadSectors, sectors.data()), 0u);
    ASSERT_EQ(drive.rawReads.size(), 1u);
    EXPECT_EQ(drive.rawReads[0], std::make_pair(1000, MaxRawReadSectors));
    for (std::size_t i = 0; i < sectors.size(); i += 997)
        ASSERT_EQ(sectors[i], StandInCdDrive::SampleByte(1000 + static_cast<std::int32_t>(i / 2352),
                                                          static_cast<std::int32_t>(i)))
            << i;

    // One sector more no longer fits the adapter: the driver refuses it, and so does the
    // drive before asking.
    cdrom::RawReadInfo tooMany{1000 * 2048, MaxRawReadSectors + 1, cdrom::TrackModeCdda};
    std::vector<std::uint8_t> room((MaxRawReadSectors + 1) * RawSectorBytes);
    std::uint32_t returned = 0;
    EXPECT_EQ(drive.Answer(cdrom::IoctlRawRead, &tooMany, sizeof tooMany, room.data(),
                           static_cast<std::uint32_t>(room.size()), &returned),
              win32error::InvalidParameter);
    EXPECT_EQ(raw->ReadAudio(1000, MaxRawReadSectors + 1, room.data()), win32error::InvalidParameter);
    // Past the lead-out: refused too.
    EXPECT_EQ(raw->ReadAudio(56475 - 150 - 1, 2, sectors.data()), win32error::InvalidParameter);
    EXPECT_EQ(drive.rawReads.size(), 1u);
}

TEST(RawDriveTest, NoDiscAndABadSectorComeBackAsTheDriversErrors) {
    StandInCdDrive drive(EnhancedCd());
    auto raw = MakeIoctlRawCdDrive(drive.Call());
    std::vector<std::uint8_t> sectors(4 * RawSectorBytes);
    drive.badSectors = {2002};
    EXPECT_EQ(raw->ReadAudio(2000, 4, sectors.data()), win32error::Crc);
    EXPECT_EQ(raw->ReadAudio(2003, 1, sectors.data()), 0u);
    drive.ready = false;
    RawToc toc;
    std::vector<std::uint8_t> text;
    EXPECT_EQ(raw->ReadToc(&toc), win32error::NotReady);
    EXPECT_EQ(raw->ReadAudio(2003, 1, sectors.data()), win32error::NotReady);
    EXPECT_EQ(raw->ReadCdText(&text), win32error::NotReady);
}

} // namespace
