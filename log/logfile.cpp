#include "log/logfile.h"

#include <cstdio>
#include <mutex>

#include "platform/files.h"

namespace {

struct LogFile {
    std::mutex mutex;
    bool decided = false;
    std::string path;
    std::FILE* file = nullptr;
};

LogFile& File() {
    static LogFile file;
    return file;
}

// Caller holds the mutex.
void Decide(LogFile& log) {
    if (log.decided) return;
    log.path = EnvironmentText("TUNOVA_LOG");
    log.decided = true;
}

} // namespace

bool LogFileEnabled() {
    LogFile& log = File();
    std::lock_guard<std::mutex> hold(log.mutex);
    Decide(log);
    return !log.path.empty();
}

void AppendLogFile(const std::string& line) {
    LogFile& log = File();
    std::lock_guard<std::mutex> hold(log.mutex);
    Decide(log);
    if (log.path.empty()) return;
    if (!log.file) log.file = OpenFile(log.path, "ab");
    if (!log.file) return;
    std::fwrite(line.data(), 1, line.size(), log.file);
    std::fwrite("\r\n", 1, 2, log.file);
    std::fflush(log.file);
}

void SetLogFilePath(const std::string& path) {
    LogFile& log = File();
    std::lock_guard<std::mutex> hold(log.mutex);
    if (log.file) std::fclose(log.file);
    log.file = nullptr;
    log.path = path;
    log.decided = true;
}
