#include "ui/properties/cdinfo.h"

#include "discinfo/discinfo.h"

static_assert(DiscEditTextLimit == DiscTextSize - 1, "the page keeps what the record keeps");

void StoreDiscEditText(char* field, const std::string& text) {
    CopyText(field, DiscTextSize, text.substr(0, DiscEditTextLimit).c_str());
}

NameChange DecideNameChange(const std::string& text, int selected, int itemCount) {
    if (selected < 0 || selected >= itemCount) return {};
    if (text.find_first_of("\r\n") != std::string::npos)
        return {NameChange::MoveOn, selected + 1 < itemCount ? selected + 1 : 0};
    return {NameChange::Store, selected};
}

bool StoreTrackTitle(PropertiesCopy& copy, int index, const std::string& text) {
    if (index < 0 || static_cast<std::size_t>(index) >= copy.trackTitles.size()) return false;
    StoreDiscEditText(copy.trackTitles[index].data(), text);
    return text.size() > DiscEditTextLimit;
}

void ClearTrackTitles(PropertiesCopy& copy) {
    for (std::vector<char>& title : copy.trackTitles) title.assign(DiscTextSize, 0);
}
