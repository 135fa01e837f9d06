// Shared pieces of the fuzz targets: hostile bytes handed to the program through the
// same seams real peers use (a socket, a FILE, a registry, an INI file).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sockets.h"

namespace fuzz {

// The bytes as a text the parsers take: cut at the first NUL, as a C string would be.
inline std::string AsText(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    return text.substr(0, text.find('\0'));
}

// A connected stream socket whose peer has sent the bytes and closed: the reader meets
// them as a server's reply, then the end of the stream. Inputs stay below the socket
// buffer (the targets' max_len), so the write never blocks.
class ScriptedPeer {
public:
    ScriptedPeer(const std::uint8_t* data, std::size_t size);
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;
    SocketHandle Socket() const { return socket_; }

private:
    SocketHandle socket_ = NoSocket;
};

// The readiness wait answers at once: the bytes (or the end) are always there.
int ImmediateWait(SocketHandle socket, int seconds);

// The bytes as an open FILE read from its start; they must outlive it (the caller
// closes it).
std::FILE* OpenAsFile(const std::uint8_t* data, std::size_t size);

// A disc of trackCount tracks of about four minutes in the device record.
void InsertDisc(int trackCount);

// Stops the run (a finding) when a text of DiscInfo is not UTF-8 or holds more letters
// than a disc text may: whatever came in, the record holds the program's one text type.
void CheckDiscTexts();

} // namespace fuzz
