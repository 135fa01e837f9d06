// Plays a ProtocolCase: a loopback server with the case's script, QueryServer with the
// relay pointed at it, and everything the client produced collected for comparison.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "log/logfile.h"
#include "cdaudio/cddevice.h"
#include "discinfo/querystatus.h"
#include "cddb/server.h"
#include "discinfo/options.h"
#include "platform/sockets.h"
#include "platform/sysnames.h"
#include "tests/support/protocolcase.h"
#include "tests/support/statusrecorder.h"
#include "tests/support/filetext.h"

struct ProtocolOutcome {
    int result = 99;
    std::vector<std::string> statuses;
    std::string file;
    std::vector<std::string> log;
    std::vector<std::string> transcript;
    int waits = 0;
};

namespace protocolrun {

inline std::mutex& Mutex() {
    static std::mutex m;
    return m;
}
inline int& Waits() {
    static int n = 0;
    return n;
}
// A select() that never sees data: 60 seconds of silence in no time.
inline int InstantTimeout(SocketHandle, int) {
    std::lock_guard<std::mutex> hold(Mutex());
    ++Waits();
    return 0;
}

// A select() of at most 100 ms: data that is there is seen, silence ends soon.
inline int ShortWait(SocketHandle socket, int) {
    {
        std::lock_guard<std::mutex> hold(Mutex());
        ++Waits();
    }
    return loopback::Readable(static_cast<loopback::RawSocket>(socket), 100) ? 1 : 0;
}

// The log file's lines; each was written with "\r\n".
inline std::vector<std::string> LogLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

inline std::string ThisMachinesHello() {
    std::string user, computer;
    if (!GetSystemUserName(&user)) user.clear();
    if (!GetSystemComputerName(&computer)) computer.clear();
    return BuildHelloLine(user, computer);
}

} // namespace protocolrun

// The client lines a case expects, with "{hello}" made this machine's greeting and
// "{hello-fields}" its user and computer as an HTTP request carries them.
inline std::vector<std::string> ExpectedTranscript(const ProtocolCase& c) {
    std::vector<std::string> lines = c.expected;
    std::string user, computer;
    if (!GetSystemUserName(&user)) user.clear();
    if (!GetSystemComputerName(&computer)) computer.clear();
    const std::string fields = GreetingName(user) + "+" + GreetingName(computer);
    for (std::string& line : lines) {
        if (line == "{hello}") line = protocolrun::ThisMachinesHello();
        const std::size_t at = line.find("{hello-fields}");
        if (at != std::string::npos) line.replace(at, 14, fields);
    }
    return lines;
}

// workDir: a writable directory for the log and the output file.
inline ProtocolOutcome RunProtocolCase(const ProtocolCase& c, const std::string& workDir) {
    using namespace protocolrun;
#ifndef _WIN32
    SetFixedSystemNames(c.user.c_str(), c.computer.c_str(), nullptr);
#endif
    {
        std::lock_guard<std::mutex> hold(Mutex());
        Waits() = 0;
    }
    ClearRecordedStatuses();
    const std::string logPath = workDir + "/cddb-case.log";
    const std::string outPath = workDir + "/cddb-case.out";
    std::remove(logPath.c_str());

    CdDeviceRecord& device = CdDevice();
    device.trackCount = static_cast<std::int32_t>(c.toc.size()) - 1;
    device.toc = c.toc;
    ProgramOptionsRecord& options = ProgramOptions();
    options.cddbUseProxy = 1;
    options.cddbProxyName = "127.0.0.1";

    ProtocolOutcome outcome;
    SocketStartup(); // the server's own use of the socket layer
    {
        loopback::Server server(c.steps);
        options.cddbProxyPort = server.Port();
        const std::string port = std::to_string(server.Port());
        if (!c.httpPath.empty()) {
            options.cddbUseProxy = 0;
            options.cddbServerList = {"http://127.0.0.1:" + port + c.httpPath + " scripted"};
            options.cddbServerNum = 0;
        }
        std::FILE* out = std::fopen(outPath.c_str(), "wb");
        SetLogFilePath(logPath);
        const QueryStatusListener before = SetQueryStatusListener(RecordStatus);
        const SocketWaitFunction wait = InstallSocketWait(c.instantTimeout ? InstantTimeout
                                                                       : c.shortWaits ? ShortWait : nullptr);
        outcome.result = QueryServer(c.discId, out);
        InstallSocketWait(wait);
        SetQueryStatusListener(before);
        SetLogFilePath("");
        std::fclose(out);
        server.Finish();
        outcome.transcript = server.Transcript();
        for (std::string& line : outcome.transcript) {
            const std::size_t at = line.find("127.0.0.1:" + port);
            if (at != std::string::npos) line.replace(at + 10, port.size(), "{port}");
        }
    }
    SocketCleanup();

    device.trackCount = 0;
    device.toc.clear();
    options.cddbUseProxy = 0;
    options.cddbProxyPort = 0;
    options.cddbProxyName.clear();
    options.cddbServerList.clear();

    {
        std::lock_guard<std::mutex> hold(Mutex());
        outcome.waits = Waits();
    }
    outcome.statuses = RecordedStatuses();
    outcome.file = FileText(outPath);
    outcome.log = LogLines(FileText(logPath));
    std::remove(outPath.c_str());
    std::remove(logPath.c_str());
    return outcome;
}
