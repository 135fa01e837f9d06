// The wave stream of a player as the sound server sees it: Wine's PulseAudio driver on
// a null sink, which tunova.sh starts for this program. A stream that exists keeps
// Wine's audio threads working even while it is paused, so a paused or stopped player
// must close it. The server's view comes from pactl: under Wine, CreateProcess starts a
// program of the host, which writes its answer to a file read back here.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <string>
#include <thread>

#include "platform/framesound.h"
#include "platform/win32/widetext.h"

namespace {

// A tone: no frame is silence, and the stream never runs dry for lack of sound.
class ToneFrames : public FrameSource {
public:
    std::int32_t Read(std::int32_t frame, std::int32_t count, std::uint8_t* out) override {
        auto* samples = reinterpret_cast<std::int16_t*>(out);
        for (std::int32_t i = 0; i < count * 588; ++i) {
            const double t = static_cast<double>(frame * 588 + i) / 44100.0;
            samples[2 * i] = samples[2 * i + 1] = static_cast<std::int16_t>(8000 * std::sin(2 * 3.14159265 * 440 * t));
        }
        return count;
    }
};

struct StreamView {
    int streams = 0; // sink inputs: open wave streams
    int corked = 0;  // of them, held
};

// "pactl list sink-inputs" run on the host. Wine does not follow a host program to its
// end, so it writes its answer under another name and renames it when whole; the file
// lies in the host's /tmp, which is Wine's Z:\tmp.
StreamView ServerView() {
    const std::string name = "/tmp/tunova-sinkinputs-" + std::to_string(GetCurrentProcessId());
    std::wstring command = Utf8ToWide("/bin/sh -c \"pactl list sink-inputs > " + name + ".part 2>&1; mv " + name +
                                      ".part " + name + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    StreamView view{-1, -1};
    if (!CreateProcessW(L"Z:\\bin\\sh", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return view;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::string file = "Z:" + name;
    for (char& c : file)
        if (c == '/') c = '\\';
    std::ifstream text;
    for (int tries = 0; tries < 100 && !text.is_open(); ++tries) {
        Sleep(50);
        text.open(file);
    }
    if (!text) return view;
    view = StreamView{};
    std::string line;
    while (std::getline(text, line)) {
        if (line.rfind("Sink Input #", 0) == 0) ++view.streams;
        if (line.find("Corked: yes") != std::string::npos) ++view.corked;
    }
    text.close();
    DeleteFileW(Utf8ToWide(file).c_str());
    return view;
}

template <class Done>
bool Within(int ms, Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

TEST(PulseAudioStream, APausedPlayHoldsItsStreamThenClosesItAndAStoppedOneClosesItAfterAWhile) {
    ASSERT_EQ(ServerView().streams, 0) << "the server must start without streams (and pactl must run)";
    ToneFrames tone;
    const MillisecondClock clock = SteadyMilliseconds();
    FrameSound sound([&clock](std::string* problem) { return OpenSoundOutput(clock, problem); }, tone, clock);
    std::string problem;
    ASSERT_TRUE(sound.Start(150, 150 + 60 * 75, clock(), &problem)) << problem;
    ASSERT_TRUE(Within(10000, [&] { return sound.PlayedFrames() > 20; }));
    StreamView view = ServerView();
    EXPECT_EQ(view.streams, 1);
    EXPECT_EQ(view.corked, 0);

    // Paused: the stream is held where it is and the position stands still.
    sound.Pause();
    EXPECT_TRUE(Within(2000, [] { return ServerView().corked == 1; }));
    const std::int32_t pausedAt = sound.PlayedFrames();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(sound.PlayedFrames(), pausedAt);
    EXPECT_EQ(ServerView().streams, 1) << "a short pause keeps the stream";
    // A long one closes it, and the position still stands.
    EXPECT_TRUE(Within(FrameSound::IdleCloseMs + 3000, [] { return ServerView().streams == 0; }));
    EXPECT_EQ(sound.PlayedFrames(), pausedAt);

    // Resumed: a stream again, playing on from where it stood.
    ASSERT_TRUE(sound.Resume(&problem)) << problem;
    EXPECT_TRUE(Within(10000, [&] { return sound.PlayedFrames() > pausedAt + 20; }));
    view = ServerView();
    EXPECT_EQ(view.streams, 1);
    EXPECT_EQ(view.corked, 0);

    // Stopped: the stream stays for a moment, for a next track, then closes.
    sound.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(ServerView().streams, 1);
    EXPECT_TRUE(Within(FrameSound::IdleCloseMs + 3000, [] { return ServerView().streams == 0; }));
    EXPECT_FALSE(sound.OutputOpen());
}

} // namespace
