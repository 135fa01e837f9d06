// An SMTP server's replies, continuation lines and all.
#include <cstddef>
#include <cstdint>

#include "cddb/lineio.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InstallSocketWait(fuzz::ImmediateWait);
    fuzz::ScriptedPeer peer(data, size);
    char reply[SmtpReplySize];
    // A conversation reads one reply after another until the peer has nothing left.
    for (int i = 0; i < 16 && ReadSmtpReply(reply, peer.Socket()); ++i) {
    }
    return 0;
}
