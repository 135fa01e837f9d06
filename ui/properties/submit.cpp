#include "ui/properties/submit.h"

#include "discinfo/discinfo.h"
#include "platform/utf8text.h"

namespace {

void StoreSmtpText(std::string& field, const std::string& text) {
    field = Utf8Prefix(text, static_cast<std::size_t>(SmtpTextLength));
}

} // namespace

SubmitPageValues SubmitPageFromCopy(const PropertiesCopy& copy) {
    return SubmitPageValues{copy.smtpReturnAddress, copy.smtpServerName};
}

void StoreSubmitPage(const SubmitPageValues& page, PropertiesCopy& copy) {
    StoreSmtpText(copy.smtpReturnAddress, page.returnAddress);
    StoreSmtpText(copy.smtpServerName, page.serverName);
}

bool HasSmtpSettings(const PropertiesCopy& copy) {
    return !copy.smtpReturnAddress.empty() && !copy.smtpServerName.empty();
}

std::string CategoryDescription(const std::string& entry) {
    // The separator is " - ": a category word may hold a hyphen of its own ("new-age").
    const std::size_t separator = entry.find(" - ");
    if (separator == std::string::npos || separator + 3 >= entry.size()) return entry;
    return entry.substr(separator + 3);
}

std::vector<std::string> CategoryLines(const std::vector<std::string>& entries) {
    std::vector<std::string> lines;
    for (const std::string& entry : entries) lines.push_back(CategoryDescription(entry));
    return lines;
}

int PreselectedCategory(int lastAccepted, int count) {
    if (count <= 0) return -1;
    return lastAccepted >= 0 && lastAccepted < count ? lastAccepted : 0;
}

bool DiscInfoComplete(const DiscInfoRecord& disc, int trackCount) {
    if (disc.artist.empty() || disc.title.empty()) return false;
    for (int track = 0; track < trackCount; ++track) {
        const std::size_t at = static_cast<std::size_t>(track);
        if (at >= disc.trackTitles.size() || !disc.trackTitles[at] || disc.trackTitles[at]->empty()) return false;
    }
    return true;
}
