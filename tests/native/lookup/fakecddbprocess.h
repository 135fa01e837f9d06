// tools/fakecddb serving the sample local copy for as many connections as a lookup
// makes; the process is ended when the object goes.
#pragma once

#include <string>
#include <vector>

#include "tests/support/posix/peerprocess.h"

class FakeCddbProcess : public PeerProcess {
public:
    explicit FakeCddbProcess(const std::vector<std::string>& arguments) : PeerProcess(Command(arguments)) {}

private:
    static std::vector<std::string> Command(const std::vector<std::string>& arguments) {
        const std::string root = TUNOVA_SOURCE_DIR;
        std::vector<std::string> words = {"python3", root + "/tools/fakecddb/fakecddb.py", "--db",
                                          root + "/samples/cddb"};
        words.insert(words.end(), arguments.begin(), arguments.end());
        return words;
    }
};
