// Reading a drive ahead of the sound: how far, in which requests, what a bad sector
// becomes, and when the drive is let go.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "digital/readahead.h"
#include "tests/support/cdromstandin.h"
#include "tests/support/logcapture.h"
#include "tests/support/recordingoutput.h"

namespace {

StandInDisc OneTrack() {
    StandInDisc disc;
    disc.tracks = {{true, 150}};
    disc.leadOutFrame = 150 + 75 * 60;
    return disc;
}

class ReadAheadTest : public ::testing::Test {
protected:
    ReadAheadTest()
        : readAhead_(
              "D:",
              [this](std::uint32_t* error) -> std::unique_ptr<RawCdDrive> {
                  std::lock_guard<std::mutex> lock(mutex_);
                  ++opens_;
                  *error = 0;
                  // The stand-in stays the test's; each open gets calls into it.
                  return MakeIoctlRawCdDrive(
                      [this](std::uint32_t code, const void* in, std::uint32_t inBytes, void* out,
                             std::uint32_t outBytes, std::uint32_t* returned) {
                          std::lock_guard<std::mutex> lock(mutex_);
                          return drive_.Answer(code, in, inBytes, out, outBytes, returned);
                      },
                      [this] {
                          std::lock_guard<std::mutex> lock(mutex_);
                          ++closes_;
                      });
              },
              [this] { return now_.load(); }) {}

    template <class T>
    T Locked(T StandInCdDrive::*field) {
        std::lock_guard<std::mutex> lock(mutex_);
        return drive_.*field;
    }
    // Takes count frames from frame, waiting for them.
    std::vector<std::uint8_t> Take(std::int32_t frame, std::int32_t count) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count) * RawSectorBytes);
        std::int32_t got = 0;
        EXPECT_TRUE(WaitFor([&] {
            got += readAhead_.Read(frame + got, count - got, bytes.data() + static_cast<std::size_t>(got) * RawSectorBytes);
            return got == count;
        }));
        return bytes;
    }
    static bool IsSector(const std::uint8_t* bytes, std::int32_t lba) {
        for (std::int32_t i = 0; i < RawSectorBytes; ++i)
            if (bytes[i] != StandInCdDrive::SampleByte(lba, i)) return false;
        return true;
    }

    std::mutex mutex_;
    StandInCdDrive drive_{OneTrack()};
    std::atomic<int> opens_{0}, closes_{0};
    std::atomic<std::int64_t> now_{1000};
    ReadAhead readAhead_;
};

TEST_F(ReadAheadTest, ItReadsAtLeastTwoSecondsAheadInRequestsTheAdapterTakes) {
    readAhead_.Start(150 + 750, 150 + 75 * 60);
    ASSERT_TRUE(WaitFor([&] { return readAhead_.FramesAhead() == ReadAhead::ReadAheadFrames; }));
    EXPECT_GE(ReadAhead::ReadAheadFrames, 2 * 75);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(readAhead_.FramesAhead(), ReadAhead::ReadAheadFrames) << "and no further while nothing is taken";
    auto reads = Locked(&StandInCdDrive::rawReads);
    std::int32_t next = 750;
    for (const auto& read : reads) {
        EXPECT_EQ(read.first, next);
        EXPECT_LE(read.second, MaxRawReadSectors);
        next += read.second;
    }
    // Taking frames makes room for more; what is taken is the drive's audio, in order.
    const std::vector<std::uint8_t> taken = Take(900, 100);
    for (std::int32_t i = 0; i < 100; ++i) ASSERT_TRUE(IsSector(&taken[i * RawSectorBytes], 750 + i)) << i;
    ASSERT_TRUE(WaitFor([&] { return readAhead_.FramesAhead() == ReadAhead::ReadAheadFrames; }));

    // A seek elsewhere starts the reading there.
    readAhead_.Start(150 + 3000, 150 + 3010);
    const std::vector<std::uint8_t> after = Take(3150, 10);
    EXPECT_TRUE(IsSector(after.data(), 3000));
    EXPECT_EQ(readAhead_.FramesAhead(), 0) << "nothing past the end of the range";
}

TEST_F(ReadAheadTest, ABadSectorIsTriedAgainThenSilenceWithOneLogLinePerRun) {
    LogCapture log;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        drive_.badSectors = {1010, 1011, 1020};
    }
    readAhead_.Start(150 + 1000, 150 + 1026);
    const std::vector<std::uint8_t> taken = Take(1150, 26);
    for (std::int32_t i = 0; i < 26; ++i) {
        const bool bad = i == 10 || i == 11 || i == 20;
        if (bad)
            EXPECT_EQ(std::vector<std::uint8_t>(&taken[i * RawSectorBytes], &taken[(i + 1) * RawSectorBytes]),
                      std::vector<std::uint8_t>(RawSectorBytes, 0))
                << i;
        else
            EXPECT_TRUE(IsSector(&taken[i * RawSectorBytes], 1000 + i)) << i;
    }
    // The whole request a few times, then each sector by itself, a bad one a few times.
    int badTries = 0, wholeTries = 0;
    for (const auto& read : Locked(&StandInCdDrive::rawReads)) {
        if (read == std::make_pair(1000, 26)) ++wholeTries;
        if (read == std::make_pair(1010, 1)) ++badTries;
    }
    EXPECT_EQ(wholeTries, ReadAhead::ReadAttempts);
    EXPECT_EQ(badTries, ReadAhead::ReadAttempts);
    EXPECT_EQ(log.Text(), LogCapture::Lines({
                              "Drive D: cannot read audio at sector 1010, playing silence: "
                              "Data error (cyclic redundancy check).",
                              "Drive D: cannot read audio at sector 1020, playing silence: "
                              "Data error (cyclic redundancy check).",
                          }));
}

TEST_F(ReadAheadTest, TheDriveIsReleasedAfterAWhileWithoutReadingAndOpenedAgainToRead) {
    readAhead_.Start(150, 150 + 40);
    Take(150, 40);
    EXPECT_TRUE(readAhead_.DriveOpen());
    now_ += ReadAhead::ReleaseAfterMs - 1000;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(readAhead_.DriveOpen());
    now_ += 1000;
    ASSERT_TRUE(WaitFor([&] { return !readAhead_.DriveOpen(); }));
    EXPECT_EQ(closes_, 1);
    readAhead_.Start(500, 520);
    EXPECT_TRUE(IsSector(Take(500, 20).data(), 350));
    EXPECT_EQ(opens_, 2);
}

} // namespace
