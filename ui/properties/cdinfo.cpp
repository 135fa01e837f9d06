#include "ui/properties/cdinfo.h"

#include "discinfo/discinfo.h"

static_assert(DiscEditTextLimit == DiscTextLimit, "the page keeps what the record keeps");

void StoreDiscEditText(std::string& field, const std::string& text) { field = CutDiscText(text); }

NameChange DecideNameChange(const std::string& text, int selected, int itemCount) {
    if (selected < 0 || selected >= itemCount) return {};
    if (text.find_first_of("\r\n") != std::string::npos)
        return {NameChange::MoveOn, selected + 1 < itemCount ? selected + 1 : 0};
    return {NameChange::Store, selected};
}

bool StoreTrackTitle(PropertiesCopy& copy, int index, const std::string& text) {
    if (index < 0 || static_cast<std::size_t>(index) >= copy.trackTitles.size()) return false;
    StoreDiscEditText(copy.trackTitles[static_cast<std::size_t>(index)], text);
    return copy.trackTitles[static_cast<std::size_t>(index)].size() < text.size();
}

void ClearTrackTitles(PropertiesCopy& copy) {
    for (std::string& title : copy.trackTitles) title.clear();
}
