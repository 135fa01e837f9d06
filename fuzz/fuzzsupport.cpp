#include "fuzz/fuzzsupport.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "cdaudio/cddevice.h"
#include "cdaudio/toc.h"
#include "discinfo/discinfo.h"
#include "platform/utf8text.h"
#include "tests/support/insertdisc.h"

namespace fuzz {

ScriptedPeer::ScriptedPeer(const std::uint8_t* data, std::size_t size) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) std::abort();
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t n = write(ends[1], data + sent, size - sent);
        if (n <= 0) std::abort();
        sent += static_cast<std::size_t>(n);
    }
    close(ends[1]);
    socket_ = ends[0];
}

ScriptedPeer::~ScriptedPeer() {
    if (socket_ != NoSocket) close(static_cast<int>(socket_));
}

int ImmediateWait(SocketHandle, int) { return 1; }

std::FILE* OpenAsFile(const std::uint8_t* data, std::size_t size) {
    // A memory stream: no file system in the loop, so each run stays fast.
    static const std::uint8_t nothing = 0;
    std::FILE* file = size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "r")
                               : fmemopen(const_cast<std::uint8_t*>(&nothing), 1, "r");
    if (!file) std::abort();
    if (size == 0) std::fgetc(file);  // at its end: an empty file
    return file;
}

void InsertDisc(int trackCount) { InsertDiscOfTracks(trackCount); }

} // namespace fuzz

void fuzz::CheckDiscTexts() {
    const DiscInfoRecord& disc = DiscInfo();
    const auto check = [](const std::string& text) {
        if (!IsValidUtf8(text) || Utf8Length(text) > DiscTextLimit) std::abort();
    };
    check(disc.artist);
    check(disc.title);
    for (const auto& title : disc.trackTitles)
        if (title) check(*title);
}
