// A cddb server's reply lines: the buffered line reader and the status judge.
#include <cstddef>
#include <cstdint>

#include "cddb/lineio.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InstallSocketWait(fuzz::ImmediateWait);
    fuzz::ScriptedPeer peer(data, size);
    ResponseReader reader;
    ResetResponseReader(reader);
    // Every line is judged as a status line would be; a judged line may read on.
    while (ReadResponseLine(reader, peer.Socket()) > 0) {
        CheckStatusLine(SkipSeparators(reader.line), reader, peer.Socket());
    }
    return 0;
}
