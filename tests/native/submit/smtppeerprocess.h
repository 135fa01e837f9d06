// tools/smtppeer (aiosmtpd) as a real SMTP peer on a free loopback port; it writes the
// mail it accepts to a file and is ended when the object goes.
#pragma once

#include <string>

#include "tests/support/posix/peerprocess.h"

class SmtpPeerProcess : public PeerProcess {
public:
    // Debian's python3, for which python3-aiosmtpd is installed.
    explicit SmtpPeerProcess(const std::string& mailbox)
        : PeerProcess({"/usr/bin/python3", std::string(TUNOVA_SOURCE_DIR) + "/tools/smtppeer/smtppeer.py",
                       "--mailbox", mailbox}) {}
};
