// Titles in UTF-8 or Latin-1 from a server or a local copy, into the program's UTF-8,
// and the cuts every such text meets: whatever the bytes, the result is UTF-8, keeps
// UTF-8 as it came, and no cut leaves half a letter.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cddb/textencoding.h"
#include "platform/utf8text.h"

namespace {
void Check(bool holds) {
    if (!holds) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string shown = ToProgramText(text);
    Check(IsValidUtf8(shown));
    if (IsValidUtf8(text)) Check(shown == text);
    else Check(Utf8Length(shown) == text.size());
    const std::size_t limit = size % 300;
    const std::string cut = Utf8Prefix(shown, limit);
    Check(IsValidUtf8(cut) && Utf8Length(cut) <= limit && shown.compare(0, cut.size(), cut) == 0);
    Check(IsValidUtf8(shown.substr(0, Utf8CutBytes(shown, limit))));
    Check(IsValidUtf8(ValidUtf8(text)));
    const std::string whole = WithoutCutLetter(text);
    Check(text.compare(0, whole.size(), whole) == 0 && text.size() - whole.size() <= 3);
    return 0;
}
