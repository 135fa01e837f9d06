// A test peer in its own process (a Python tool on a free loopback port) that prints
// "port N" as its first line; the process is ended when the object goes, and by
// itself after 60 seconds at the latest.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

class PeerProcess {
public:
    // command: the program and its arguments.
    explicit PeerProcess(std::vector<std::string> command) {
        std::vector<std::string> words = {"timeout", "60"};
        words.insert(words.end(), command.begin(), command.end());
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
    ~PeerProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (output_) std::fclose(output_);
    }
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    int Port() const { return port_; }

private:
    pid_t pid_ = -1;
    std::FILE* output_ = nullptr;
    int port_ = 0;
};
