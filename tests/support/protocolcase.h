// A cddb conversation written down as data: the server's script, what the client must
// send, and the result, statuses, output file and log the client must produce.
//
// One directive a line; texts take C escapes (\r \n \t \\ \xHH); "#" starts a comment.
//   track M:SS.FF / leadout M:SS.FF  the disc (default: the three-track disc 1a2b3c03)
//   id HEX                           the disc id asked for
//   user TEXT / computer TEXT        the system's names for the greeting
//   wait timeout                     every readiness wait times out at once
//   wait short                       every readiness wait lasts at most 100 ms, so that
//                                    a silent server gives up in 3 seconds
//   http PATH                        the server list entry is the script http://127.0.0.1:{port}PATH
//                                    ("{port}" in expected lines is the server's port, and
//                                    "{hello-fields}" this machine's user+computer)
//   send TEXT / line TEXT            the server sends TEXT (line: TEXT and "\r\n")
//   repeat N TEXT                    the server sends TEXT N times over, in one go
//   trickle MS TEXT                  the server sends TEXT a byte at a time, MS apart
//   expect TEXT                      the server reads a line; the client must have sent TEXT
//                                    ("{hello}" stands for the greeting of this machine)
//   pause MS / close                 the server pauses, or hangs up
//   result N                         QueryServer's result
//   status TEXT                      the statuses set, all of them, in order
//   file TEXT                        appended to the expected output file
//   filerepeat N TEXT                TEXT appended N times to the expected output file
//   filestart TEXT                   the output file begins with TEXT and holds no more
//                                    than the size limit of a data reply allows (where
//                                    the network's cuts decide the exact end)
//   log TEXT                         the whole log, line by line (only checked when given)
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cdaudio/toc.h"
#include "tests/support/loopbackserver.h"

struct ProtocolCase {
    std::string name;
    std::vector<TrackToc> toc; // tracks, then the lead-out
    unsigned discId = 0x1a2b3c03;
    std::string user = "tester";
    std::string computer = "TESTPC";
    bool instantTimeout = false;
    bool shortWaits = false;
    std::string httpPath;
    std::vector<loopback::Step> steps;
    std::vector<std::string> expected; // lines the client must send
    int result = 0;
    std::vector<std::string> statuses;
    std::string file;
    bool fileIsStart = false;
    std::vector<std::string> log;
    bool checkLog = false;
    std::string error; // a malformed case file
};

inline std::string UnescapeCaseText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'x':
            out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
            break;
        default: out += c; break;
        }
    }
    return out;
}

inline TrackToc MsfEntry(const std::string& text, int number) {
    int m = 0, s = 0, f = 0;
    std::sscanf(text.c_str(), "%d:%d.%d", &m, &s, &f);
    return TrackToc{TrackAudio, number, m, s, f, 0, 0, 0};
}

inline ProtocolCase ParseProtocolCase(const std::string& path, const std::string& name) {
    ProtocolCase c;
    c.name = name;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        c.error = "cannot open " + path;
        return c;
    }
    std::vector<TrackToc> tracks;
    TrackToc leadOut{};
    bool haveLeadOut = false;
    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (raw.empty() || raw[0] == '#') continue;
        const std::size_t blank = raw.find(' ');
        const std::string word = raw.substr(0, blank);
        const std::string rest = blank == std::string::npos ? "" : raw.substr(blank + 1);
        const std::string text = UnescapeCaseText(rest);
        if (word == "track") tracks.push_back(MsfEntry(rest, static_cast<int>(tracks.size()) + 1));
        else if (word == "leadout") leadOut = MsfEntry(rest, 0), haveLeadOut = true;
        else if (word == "id") c.discId = static_cast<unsigned>(std::strtoul(rest.c_str(), nullptr, 16));
        else if (word == "user") c.user = text;
        else if (word == "computer") c.computer = text;
        else if (word == "wait") c.instantTimeout = rest == "timeout", c.shortWaits = rest == "short";
        else if (word == "http") c.httpPath = rest;
        else if (word == "send") c.steps.push_back({loopback::Step::Send, text, 0});
        else if (word == "line") c.steps.push_back({loopback::Step::Send, text + "\r\n", 0});
        else if (word == "expect") {
            c.steps.push_back({loopback::Step::Expect, text, 0});
            c.expected.push_back(text);
        } else if (word == "pause") c.steps.push_back({loopback::Step::Pause, "", std::atoi(rest.c_str())});
        else if (word == "close") c.steps.push_back({loopback::Step::Close, "", 0});
        else if (word == "result") c.result = std::atoi(rest.c_str());
        else if (word == "status") c.statuses.push_back(text);
        else if (word == "file") c.file += text;
        else if (word == "filestart") c.file += text, c.fileIsStart = true;
        else if (word == "repeat" || word == "filerepeat" || word == "trickle") {
            // "N TEXT": the count (or the pause) is the first word of the rest.
            const std::size_t gap = rest.find(' ');
            const int n = std::atoi(rest.substr(0, gap).c_str());
            const std::string what = gap == std::string::npos ? "" : UnescapeCaseText(rest.substr(gap + 1));
            if (word == "trickle") {
                for (std::size_t i = 0; i < what.size(); ++i) {
                    if (i > 0) c.steps.push_back({loopback::Step::Pause, "", n});
                    c.steps.push_back({loopback::Step::Send, what.substr(i, 1), 0});
                }
            } else {
                std::string repeated;
                repeated.reserve(what.size() * static_cast<std::size_t>(n > 0 ? n : 0));
                for (int i = 0; i < n; ++i) repeated += what;
                if (word == "repeat") c.steps.push_back({loopback::Step::Send, repeated, 0});
                else c.file += repeated;
            }
        }
        else if (word == "log") c.log.push_back(text), c.checkLog = true;
        else c.error = "unknown directive: " + raw;
    }
    if (tracks.empty()) {
        // 0:02.00, 4:10.37, 8:01.02, lead-out 12:33.70: the disc whose query is
        // "cddb query 1a2b3c03 3 150 18787 36077 753".
        tracks = {MsfEntry("0:02.00", 1), MsfEntry("4:10.37", 2), MsfEntry("8:01.02", 3)};
        leadOut = MsfEntry("12:33.70", 0);
        haveLeadOut = true;
    }
    if (!haveLeadOut) c.error = "a disc needs its leadout";
    c.toc = tracks;
    c.toc.push_back(leadOut);
    return c;
}
