// Captures the diagnostics log of one test in a file and compares it line by line.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "log/logfile.h"
#include "tests/support/filetext.h"

class LogCapture {
public:
    LogCapture() : path_(std::string(::testing::TempDir()) + "cdaudio_log_" + std::to_string(++Count()) + ".txt") {
        std::remove(path_.c_str());
        SetLogFilePath(path_);
    }
    ~LogCapture() {
        SetLogFilePath("");
        std::remove(path_.c_str());
    }
    // Every line since the capture began; each line may hold "\r\n" itself (the
    // error lines do), so the comparison is of the whole text.
    std::string Text() const { return FileText(path_); }
    static std::string Lines(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        return text;
    }
    void Clear() {
        SetLogFilePath("");
        std::remove(path_.c_str());
        SetLogFilePath(path_);
    }

private:
    static int& Count() {
        static int count = 0;
        return count;
    }
    std::string path_;
};
