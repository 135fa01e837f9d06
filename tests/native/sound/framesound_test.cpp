// The wave output's life under a player: opened to play, paused in place, closed once
// nothing has played for a while, and opened again at the very sample where it stopped.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/framesound.h"

namespace {

constexpr std::int32_t FrameBytes = 2352;

// Frames whose bytes say where they come from: a shift by a byte, a frame sent twice or
// a frame lost shows in the bytes.
class NumberedFrames : public FrameSource {
public:
    std::int32_t Read(std::int32_t frame, std::int32_t count, std::uint8_t* out) override {
        for (std::int32_t i = 0; i < count * FrameBytes; ++i)
            out[i] = static_cast<std::uint8_t>((frame + i / FrameBytes) * 7 + i % FrameBytes % 251);
        return count;
    }
    static std::string Range(std::int32_t from, std::int32_t to) {
        std::string bytes(static_cast<std::size_t>(to - from) * FrameBytes, '\0');
        NumberedFrames().Read(from, to - from, reinterpret_cast<std::uint8_t*>(&bytes[0]));
        return bytes;
    }
};

// The wave devices a sound opened, one record each: what was queued, what the test says
// has been heard, and whether it is paused or closed.
struct Devices {
    struct Device {
        std::string queued;
        std::uint64_t heard = 0;
        std::vector<std::uint64_t> blockEnds;
        bool paused = false;
        bool closed = false;
        int waits = 0;
    };
    std::mutex mutex;
    std::vector<Device> opened;
    bool refuse = false;

    Device& Last() { return opened.back(); }
};

class ScriptedOutput : public SoundOutput {
public:
    ScriptedOutput(std::shared_ptr<Devices> devices, std::size_t index) : devices_(std::move(devices)), index_(index) {}
    ~ScriptedOutput() override {
        std::lock_guard<std::mutex> lock(devices_->mutex);
        Me().closed = true;
    }
    bool BlockFree() override { return Queued() < 2; }
    bool Idle() override { return Queued() == 0; }
    void Queue(const std::uint8_t* bytes, std::size_t size) override {
        std::lock_guard<std::mutex> lock(devices_->mutex);
        Me().queued.append(reinterpret_cast<const char*>(bytes), size);
        Me().blockEnds.push_back(Me().queued.size());
    }
    void Pause() override { Set(&Devices::Device::paused, true); }
    void Resume() override { Set(&Devices::Device::paused, false); }
    void Reset() override {
        std::lock_guard<std::mutex> lock(devices_->mutex);
        Me().queued.clear();
        Me().blockEnds.clear();
        Me().heard = 0;
        Me().paused = false;
    }
    std::uint64_t PlayedBytes() override {
        std::lock_guard<std::mutex> lock(devices_->mutex);
        return Me().heard;
    }
    void WaitForBlock(int) override {
        {
            std::lock_guard<std::mutex> lock(devices_->mutex);
            ++Me().waits;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void Wake() override {}

private:
    Devices::Device& Me() { return devices_->opened[index_]; }
    void Set(bool Devices::Device::*field, bool value) {
        std::lock_guard<std::mutex> lock(devices_->mutex);
        Me().*field = value;
    }
    std::size_t Queued() {
        std::lock_guard<std::mutex> lock(devices_->mutex);
        std::size_t queued = 0;
        for (std::uint64_t end : Me().blockEnds)
            if (end > Me().heard) ++queued;
        return queued;
    }
    std::shared_ptr<Devices> devices_;
    std::size_t index_;
};

bool WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class FrameSoundTest : public ::testing::Test {
protected:
    FrameSoundTest()
        : sound_(
              [this](std::string* problem) -> std::unique_ptr<SoundOutput> {
                  std::lock_guard<std::mutex> lock(devices_->mutex);
                  if (devices_->refuse) return *problem = "No device", nullptr;
                  devices_->opened.emplace_back();
                  return std::unique_ptr<SoundOutput>(new ScriptedOutput(devices_, devices_->opened.size() - 1));
              },
              frames_, [this] { return now_.load(); }) {}

    template <class T>
    T Look(const std::function<T(Devices&)>& what) {
        std::lock_guard<std::mutex> lock(devices_->mutex);
        return what(*devices_);
    }
    std::size_t Opened() { return Look<std::size_t>([](Devices& d) { return d.opened.size(); }); }
    std::size_t Queued() { return Look<std::size_t>([](Devices& d) { return d.Last().queued.size(); }); }
    bool Closed() { return Look<bool>([](Devices& d) { return d.Last().closed; }); }
    bool DevicePaused() { return Look<bool>([](Devices& d) { return d.Last().paused; }); }
    void Hear(std::uint64_t bytes) {
        std::lock_guard<std::mutex> lock(devices_->mutex);
        devices_->Last().heard = bytes;
    }
    // Lets the current device play everything it is given until the range is done.
    void HearAll(std::size_t total) {
        ASSERT_TRUE(WaitFor([&] {
            Hear(Queued());
            return Queued() == total && sound_.Finished();
        }));
    }

    std::atomic<std::int64_t> now_{1000};
    std::shared_ptr<Devices> devices_ = std::make_shared<Devices>();
    NumberedFrames frames_;
    FrameSound sound_;
};

TEST_F(FrameSoundTest, AStoppedOrPlayedOutSoundClosesItsOutputAfterAWhileAndOpensAgainToPlay) {
    std::string problem;
    EXPECT_EQ(Opened(), 0u) << "nothing opens before there is something to play";
    ASSERT_TRUE(sound_.Start(150, 250, now_, &problem));
    ASSERT_TRUE(WaitFor([&] { return Queued() == 2 * SoundBlockBytes; }));
    sound_.Stop();
    EXPECT_TRUE(sound_.OutputOpen());
    now_ += FrameSound::IdleCloseMs - 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(Closed()) << "a quick stop, such as between two tracks, keeps the stream";

    // The next play within the while goes on with the same device.
    ASSERT_TRUE(sound_.Start(200, 230, now_, &problem));
    HearAll(30 * FrameBytes);
    EXPECT_EQ(Opened(), 1u);
    EXPECT_TRUE(Look<std::string>([](Devices& d) { return d.Last().queued; }) == NumberedFrames::Range(200, 230));

    // Played out and left: closed, and the feeder no longer waits on the device.
    now_ += FrameSound::IdleCloseMs;
    ASSERT_TRUE(WaitFor([&] { return Closed(); }));
    EXPECT_FALSE(sound_.OutputOpen());
    EXPECT_EQ(sound_.PlayedFrames(), 30);

    ASSERT_TRUE(sound_.Start(300, 310, now_, &problem));
    EXPECT_EQ(Opened(), 2u);
    HearAll(10 * FrameBytes);
    EXPECT_TRUE(Look<std::string>([](Devices& d) { return d.Last().queued; }) == NumberedFrames::Range(300, 310));
}

TEST_F(FrameSoundTest, APauseHoldsTheStreamThenClosesItAndResumesAtTheSampleHeardLast) {
    std::string problem;
    ASSERT_TRUE(sound_.Start(150, 400, now_, &problem));
    ASSERT_TRUE(WaitFor([&] { return Queued() == 2 * SoundBlockBytes; }));
    // Heard: 52 frames and a part of the next, in the middle of a sample pair.
    const std::uint64_t heard = 52 * FrameBytes + 1002;
    Hear(heard);
    ASSERT_TRUE(WaitFor([&] { return Queued() == 3 * SoundBlockBytes; }));
    sound_.Pause();
    EXPECT_TRUE(DevicePaused()) << "paused at once, its queue kept";
    EXPECT_EQ(sound_.PlayedFrames(), 52);
    // A wait under way when the pause came ends; then nothing more.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const int waits = Look<int>([](Devices& d) { return d.Last().waits; });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Look<int>([](Devices& d) { return d.Last().waits; }), waits) << "the feeder sleeps while paused";

    // A long pause closes the stream; the position stays where it was.
    now_ += FrameSound::IdleCloseMs;
    ASSERT_TRUE(WaitFor([&] { return Closed(); }));
    EXPECT_EQ(sound_.PlayedFrames(), 52);
    EXPECT_TRUE(sound_.Paused());

    // Resumed: a new stream, fed from the first sample not heard, nothing repeated.
    ASSERT_TRUE(sound_.Resume(&problem));
    EXPECT_EQ(Opened(), 2u);
    HearAll(250 * FrameBytes - heard);
    const std::string first = Look<std::string>([](Devices& d) { return d.opened[0].queued; });
    const std::string second = Look<std::string>([](Devices& d) { return d.Last().queued; });
    EXPECT_TRUE(first.substr(0, heard) + second == NumberedFrames::Range(150, 400));
    EXPECT_EQ(sound_.PlayedFrames(), 250);
}

TEST_F(FrameSoundTest, AShortPauseResumesTheSameStreamAndNoDeviceMeansNoPlay) {
    std::string problem;
    ASSERT_TRUE(sound_.Start(150, 200, now_, &problem));
    ASSERT_TRUE(WaitFor([&] { return Queued() == 50 * FrameBytes; }));
    Hear(10 * FrameBytes);
    sound_.Pause();
    ASSERT_TRUE(sound_.Resume(&problem));
    EXPECT_FALSE(DevicePaused());
    HearAll(50 * FrameBytes);
    EXPECT_EQ(Opened(), 1u);

    // A device that will not open again after the close: the resume says why.
    sound_.Stop();
    now_ += FrameSound::IdleCloseMs;
    ASSERT_TRUE(WaitFor([&] { return Closed(); }));
    devices_->refuse = true;
    EXPECT_FALSE(sound_.Start(150, 200, now_, &problem));
    EXPECT_EQ(problem, "No device");
    EXPECT_FALSE(sound_.OutputOpen());
}

} // namespace
