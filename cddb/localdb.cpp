#include "cddb/localdb.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "log/logmessage.h"
#include "discinfo/querystatus.h"
#include "cddb/xmcd.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One or two hexadecimal digits at text; -1 when the first is none.
int ReadHexByte(const char* text) {
    const int high = HexDigit(text[0]);
    if (high < 0) return -1;
    const int low = HexDigit(text[1]);
    return low < 0 ? high : high * 16 + low;
}

// root + separator + name; an empty root makes this the root of the current drive.
std::string Join(const std::string& root, const std::string& name) { return root + PathSeparator + name; }

// An entry's name as UTF-8; false for one that has no such form (a name Windows holds
// with an unpaired surrogate).
bool EntryName(const fs::directory_entry& entry, std::string* name) {
    try {
        *name = PathText(entry.path().filename());
        return true;
    } catch (...) {
        return false;
    }
}

// Calls visit(entry, name) for each entry of directory in listing order until it
// returns false; false when the directory cannot be listed.
template <typename Visit>
bool ForEachEntry(const std::string& directory, Visit visit) {
    std::error_code error;
    fs::directory_iterator it(FilePath(directory.empty() ? std::string(1, PathSeparator) : directory), error);
    if (error) return false;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        std::string name;
        if (!EntryName(*it, &name)) continue;
        std::error_code kindError;
        if (!visit(it->is_directory(kindError), name)) break;
    }
    return true;
}

// The subdirectory names of a directory, or none when it cannot be listed.
bool ListDirectories(const std::string& directory, std::vector<std::string>* names) {
    return ForEachEntry(directory, [names](bool isDirectory, const std::string& name) {
        if (isDirectory) names->push_back(name);
        return true;
    });
}

// Looks for the entry in the first file of the category that covers the key.
bool SearchCategory(const std::string& root, const std::string& category, int key, std::uint32_t discId) {
    const std::string directory = Join(root, category);
    LogMessage("Looking in: ", Join(directory, "*").c_str());

    bool found = false;
    ForEachEntry(directory, [&](bool isDirectory, const std::string& name) {
        int lower, upper;
        if (isDirectory || !ReadRangeName(name.c_str(), &lower, &upper)) return true;
        if (key < lower || key > upper) return true;
        const std::string path = Join(directory, name);
        std::FILE* file = OpenFile(path, "r");
        if (!file) return true;
        LogMessage("Looking in file: ", path.c_str());
        found = ReadXmcdEntry(discId, file) != 0;
        std::fclose(file);
        return false; // only the first covering file is read
    });
    return found;
}

} // namespace

bool ReadRangeName(const char* name, int* lower, int* upper) {
    if (std::strlen(name) < 6) return false;
    *lower = ReadHexByte(name);
    *upper = ReadHexByte(name + 4);
    return *lower >= 0 && *upper >= 0;
}

char** ListCategoryDirectories(const char* root, int* count) {
    *count = 0;
    std::vector<std::string> names;
    if (!ListDirectories(root, &names) || names.empty()) return nullptr;
    char** list = new char*[names.size()];
    for (std::size_t i = 0; i < names.size(); ++i) {
        list[i] = new char[names[i].size() + 1];
        std::memcpy(list[i], names[i].c_str(), names[i].size() + 1);
    }
    *count = static_cast<int>(names.size());
    return list;
}

void FreeNameList(char** names, int count) {
    if (!names) return;
    for (int i = 0; i < count; ++i) delete[] names[i];
    delete[] names;
}

int SearchLocalDatabaseAt(const char* root, std::uint32_t discId) {
    LogMessageHex("Checking local cddb for id: ", discId);
    SetQueryStatus("Looking in local cddb database.");

    int count = 0;
    char** categories = ListCategoryDirectories(root, &count);
    if (count == 0) {
        SetQueryStatus("Illegal cddb database format.");
        return 0;
    }

    const int key = static_cast<int>(discId >> 24);
    bool found = false;
    for (int i = 0; i < count && !found; ++i) found = SearchCategory(root, categories[i], key, discId);
    FreeNameList(categories, count);

    if (found) {
        LogMessageHex("Found CD in local cddb: ", discId);
        SetQueryStatus("Found current CD in local database.");
    } else {
        LogMessageHex("Unable to find CD in local cddb: ", discId);
        SetQueryStatus("Current CD not found in local cddb database.");
    }
    return found ? 1 : 0;
}

int SearchLocalDatabase(std::uint32_t discId) {
    std::string root;
    {
        DiscInfoHold hold; // the property sheet may be applying a new root
        root = ProgramOptions().cddbRootDirectory;
    }
    return SearchLocalDatabaseAt(root.c_str(), discId);
}
