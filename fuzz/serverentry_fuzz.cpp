// Server list entries (installed data anyone may edit) and return addresses the user
// typed: where a conversation goes and whom it names.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cddb/serverentry.h"
#include "cddb/server.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::AsText(data, size);
    CddbTarget target;
    const HelloIdentity identity = ChooseHelloIdentity(text, "listener", "STUDIO");
    if (ParseServerEntry(text, &target)) BuildHttpRequest(target, "cddb query 0200b201 1 150 180", identity);
    BuildHelloLine(identity.user, identity.host);
    return 0;
}
