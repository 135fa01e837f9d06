#include "log/logmailbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "log/logfile.h"
#include "log/logmessage.h"
#include "tests/support/filetext.h"

namespace {

// Stands in for the diagnostics window: takes each line as the window would.
std::string windowText;
int fakeWindow;

void ShowAtOnce(LogWindowHandle) {
    NamedMutexHold hold(LogLock());
    std::string line;
    if (TakePendingLogLine(line)) AppendToLogText(windowText, line);
}

void LeaveInSlot(LogWindowHandle) {}

class LogMailboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        windowText.clear();
        std::string drop;
        NamedMutexHold hold(LogLock());
        TakePendingLogLine(drop);
    }
    void TearDown() override {
        DetachLogWindow();
        SetLogFilePath("");
        std::string drop;
        NamedMutexHold hold(LogLock());
        TakePendingLogLine(drop);
    }
};

TEST_F(LogMailboxTest, WithoutWindowOrFileNothingIsKept) {
    SetLogFilePath("");
    LogMessage("nobody reads this");
    std::string line;
    NamedMutexHold hold(LogLock());
    EXPECT_FALSE(TakePendingLogLine(line));
}

TEST_F(LogMailboxTest, LinesAreJoinedWithBreaksBetween) {
    AttachLogWindow(&fakeWindow, ShowAtOnce);
    LogMessage("first");
    LogMessage("MCI error:\r\nThe driver cannot recognize the specified command.");
    LogMessageInt("Starting play on track: ", 3);
    EXPECT_EQ(windowText,
              "first\r\nMCI error:\r\nThe driver cannot recognize the specified command.\r\n"
              "Starting play on track:  3");
}

TEST_F(LogMailboxTest, ConcurrentProducersLoseNoLineAndNeverMixTwo) {
    const std::string path = ::testing::TempDir() + "tunova_log_concurrent.txt";
    std::remove(path.c_str());
    SetLogFilePath(path);
    AttachLogWindow(&fakeWindow, ShowAtOnce);

    constexpr int threads = 4, perThread = 25;
    std::vector<std::thread> producers;
    for (int t = 0; t < threads; ++t) {
        producers.emplace_back([t] {
            for (int i = 0; i < perThread; ++i) {
                const std::string text = "thread " + std::to_string(t) + " line " + std::to_string(i) + ":";
                LogMessageInt(text.c_str(), i);
            }
        });
    }
    for (auto& p : producers) p.join();

    std::vector<std::string> lines;
    std::stringstream in(windowText);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), static_cast<size_t>(threads * perThread));
    std::vector<int> next(threads, 0);
    for (const std::string& line : lines) {
        int t = -1, i = -1, value = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "thread %d line %d:  %d", &t, &i, &value), 3) << line;
        ASSERT_TRUE(t >= 0 && t < threads);
        EXPECT_EQ(i, next[t]++) << "lines of one thread keep their order";
        EXPECT_EQ(value, i);
    }
    // The file holds the window's text, line by line.
    EXPECT_EQ(FileText(path), windowText + "\r\n");
}

TEST_F(LogMailboxTest, ProducerGivesUpWhenTheWindowGoesAwayWithALineInTheSlot) {
    AttachLogWindow(&fakeWindow, LeaveInSlot);
    LogMessage("stays in the slot");
    std::atomic<bool> done{false};
    std::thread producer([&] {
        LogMessage("waits for the slot");
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_FALSE(done) << "the slot is full, so the producer waits";
    DetachLogWindow();
    producer.join();
    EXPECT_TRUE(done);
}

TEST_F(LogMailboxTest, FileIsWrittenWithoutAWindow) {
    const std::string path = ::testing::TempDir() + "tunova_log_nowindow.txt";
    std::remove(path.c_str());
    SetLogFilePath(path);
    LogMessage("Starting general initialization.");
    LogMessageHex("Disc id:", 0x0200b201);
    EXPECT_EQ(FileText(path), "Starting general initialization.\r\nDisc id: 0200b201\r\n");
}

} // namespace
