// A disc in a virtual drive with a clock the test moves, and a recorder in place of
// the windows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/random.h"
#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/shellview.h"
#include "app/startsequence.h"
#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/virtualcd/virtualcd.h"

class RecordingView : public ShellView {
public:
    void UpdateTrayIcon() override { events.push_back("icon"); }
    void SetTrayTip(const std::string& text) override { tip = text; }
    void RefreshMenus(bool rebuild) override { events.push_back(rebuild ? "menus+titles" : "menus"); }
    void UpdatePanelButtons() override { events.push_back("buttons"); }
    void SetStatusLine(const std::string& text) override { statusLine = text; }
    void EndProgram() override { ended = true; }
    bool IsButtonHeld(int id) override { return id == heldButton; }
    void SetScanTimerPeriod(int ms) override { scanPeriods.push_back(ms); }
    void StartTrayClickTimer() override { clickTimerRunning = true; }
    void StopTrayClickTimer() override { clickTimerRunning = false; }

    std::vector<std::string> events;
    std::string tip;
    std::string statusLine;
    bool ended = false;
    int heldButton = 0;
    std::vector<int> scanPeriods;
    bool clickTimerRunning = false;
};

// Tracks: "a" for audio, "d" for data, each with its length in seconds.
struct TrackSpec {
    char type;
    int seconds;
};

// An all-audio disc of equal tracks, four minutes each unless said otherwise.
inline std::vector<TrackSpec> Album(int tracks, int seconds = 240) {
    return std::vector<TrackSpec>(static_cast<std::size_t>(tracks), {'a', seconds});
}

inline std::string DiscText(const std::vector<TrackSpec>& tracks) {
    std::string text;
    int frame = 150;
    for (const TrackSpec& t : tracks) {
        text += std::string("track ") + (t.type == 'a' ? "audio " : "data ") + std::to_string(frame) + "\n";
        frame += t.seconds * 75;
    }
    text += "leadout " + std::to_string(frame) + "\n";
    return text;
}

class PlayerTest : public ::testing::Test {
protected:
    void LoadDisc(const std::vector<TrackSpec>& tracks) {
        InstallVirtualCdText(DiscText(tracks), [this] { return nowMs; });
        ASSERT_EQ(OpenCdDevice("D:"), Stopped);
        PrepareTrackMarks();
    }
    void SetUp() override {
        ResetShell();
        ResetDiscInfo();
        ProgramOptions() = ProgramOptionsRecord();
        InstallShellView(&view);
        SeedRandom(1);
    }
    void TearDown() override {
        CloseCdDevice();
        InstallShellView(nullptr);
        ResetDiscInfo();
    }
    void Advance(std::int64_t ms) { nowMs += ms; }
    // The status timer's ticks over so many seconds.
    void TickFor(int seconds) {
        for (int i = 0; i < seconds && !view.ended; ++i) {
            Advance(1000);
            StatusTick();
        }
    }

    // Plays the track as the shell does after a choice.
    void Start(int track) {
        Shell().currentTrack = track;
        Shell().playState = PlayTrack(track);
    }

    std::int64_t nowMs = 0;
    RecordingView view;
};
