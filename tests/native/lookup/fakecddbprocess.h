// tools/fakecddb serving the sample local copy for as many connections as a lookup
// makes; the process is ended when the object goes.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

class FakeCddbProcess {
public:
    explicit FakeCddbProcess(const std::vector<std::string>& arguments) {
        const std::string root = TUNOVA_SOURCE_DIR;
        std::vector<std::string> words = {"timeout", "60", "python3", root + "/tools/fakecddb/fakecddb.py",
                                          "--db", root + "/samples/cddb"};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);

        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawnp(&pid_, "timeout", &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        output_ = fdopen(out[0], "r");
        char line[64] = {};
        if (pid_ > 0 && output_ && std::fgets(line, sizeof line, output_)) std::sscanf(line, "port %d", &port_);
    }
    ~FakeCddbProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (output_) std::fclose(output_);
    }
    FakeCddbProcess(const FakeCddbProcess&) = delete;
    FakeCddbProcess& operator=(const FakeCddbProcess&) = delete;

    int Port() const { return port_; }

private:
    pid_t pid_ = -1;
    std::FILE* output_ = nullptr;
    int port_ = 0;
};
