// tools/smtppeer (aiosmtpd) as a real SMTP peer on a free loopback port; it writes the
// mail it accepts to a file and is ended when the object goes (at the latest after 60
// seconds by itself).
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

class SmtpPeerProcess {
public:
    explicit SmtpPeerProcess(const std::string& mailbox) {
        std::vector<std::string> words = {"timeout", "60", "/usr/bin/python3",
                                          std::string(TUNOVA_SOURCE_DIR) + "/tools/smtppeer/smtppeer.py",
                                          "--mailbox", mailbox};
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
    ~SmtpPeerProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (output_) std::fclose(output_);
    }
    SmtpPeerProcess(const SmtpPeerProcess&) = delete;
    SmtpPeerProcess& operator=(const SmtpPeerProcess&) = delete;

    int Port() const { return port_; }

private:
    pid_t pid_ = -1;
    std::FILE* output_ = nullptr;
    int port_ = 0;
};
