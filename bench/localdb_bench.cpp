// Times the local cddb copy search against grep over the same files.
//
//   bench_localdb [--root DIR] [--megabytes N] [--repeat N]
//
// Generates (once) a local copy of 11 categories with range files of realistic xmcd
// entries, N megabytes in all (256 by default; 1024 or more is freedb-sized), then
// looks up disc ids whose entries sit at the start, the middle and the end of their
// file in the category searched last, so that every category's covering file is read.
// The same files are searched with grep -F -m1 "#FILENAME=<id>".
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "cdaudio/cddevice.h"
#include "cddb/localdb.h"
#include "discinfo/discinfo.h"

namespace fs = std::filesystem;

namespace {

const char* const Categories[] = {"blues", "classical", "country", "data",   "folk",      "jazz",
                                  "misc",  "newage",    "reggae",  "rock",   "soundtrack"};
constexpr int CategoryCount = 11;
constexpr int RangeWidth = 0x20; // 8 range files per category: 00to1f ... e0toff

const char* const Words[] = {"night",  "river",  "blue",   "song",  "light",  "heart", "road",   "city",
                             "summer", "dream",  "fire",   "rain",  "gold",   "love",  "home",   "train",
                             "moon",   "shadow", "dance",  "wild",  "silver", "sky",   "stone",  "ocean",
                             "lonely", "last",   "morning", "winter", "echo",  "crystal", "velvet", "storm"};

std::string Title(std::mt19937& random, int words) {
    std::string text;
    for (int i = 0; i < words; ++i) {
        if (i) text += ' ';
        std::string word = Words[random() % (sizeof Words / sizeof *Words)];
        word[0] = static_cast<char>(word[0] - 32);
        text += word;
    }
    return text;
}

// One xmcd entry as a local copy holds it, about 1.5 KB.
std::string Entry(std::mt19937& random, std::uint32_t discId) {
    const int tracks = static_cast<int>(discId & 0xff);
    char id[16];
    std::snprintf(id, sizeof id, "%08x", static_cast<unsigned>(discId));
    std::string text = std::string("#FILENAME=") + id + "\n# xmcd CD database file\n#\n# Track frame offsets:\n";
    int offset = 150;
    for (int t = 0; t < tracks; ++t) {
        text += "#\t" + std::to_string(offset) + "\n";
        offset += 9000 + static_cast<int>(random() % 20000);
    }
    text += "#\n# Disc length: " + std::to_string(offset / 75 + 2) + " seconds\n#\n# Revision: " +
            std::to_string(random() % 5) + "\n# Processed by: cddbd v1.5.1PL0 Copyright (c) Steve Scherf et al.\n" +
            "# Submitted via: Tunova v2.21\n#\nDISCID=" + id + "\n";
    text += "DTITLE=" + Title(random, 2) + " / " + Title(random, 1 + static_cast<int>(random() % 4)) + "\n";
    for (int t = 0; t < tracks; ++t)
        text += "TTITLE" + std::to_string(t) + "=" + Title(random, 1 + static_cast<int>(random() % 5)) + "\n";
    text += "EXTD= YEAR: " + std::to_string(1960 + random() % 45) + "\n";
    for (int t = 0; t < tracks; ++t) text += "EXTT" + std::to_string(t) + "=\n";
    text += "PLAYORDER=\n";
    return text;
}

std::string RangeName(int low) {
    char name[8];
    std::snprintf(name, sizeof name, "%02xto%02x", low, low + RangeWidth - 1);
    return name;
}

// Writes the copy: per category and range file, entries for every first byte of the
// range in turn, until the file has its share of the total size. Ids are unique: the
// category and a serial number sit in the middle bits, the track count in the low byte.
void Generate(const fs::path& root, std::uint64_t totalBytes) {
    std::printf("Generating %llu MB of local copy in %s ...\n",
                static_cast<unsigned long long>(totalBytes >> 20), root.c_str());
    fs::remove_all(root);
    const int filesPerCategory = 256 / RangeWidth;
    const std::uint64_t perFile = totalBytes / (CategoryCount * filesPerCategory);
    std::mt19937 random(1);
    for (int c = 0; c < CategoryCount; ++c) {
        fs::create_directories(root / Categories[c]);
        for (int low = 0; low < 256; low += RangeWidth) {
            std::ofstream out(root / Categories[c] / RangeName(low), std::ios::binary);
            std::string chunk;
            std::uint64_t written = 0;
            for (std::uint32_t serial = 0; written < perFile; ++serial) {
                const std::uint32_t firstByte = static_cast<std::uint32_t>(low) + serial % RangeWidth;
                const std::uint32_t tracks = 5 + random() % 16;
                const std::uint32_t id = firstByte << 24 | static_cast<std::uint32_t>(c) << 20 |
                                         ((serial / RangeWidth) & 0xfff) << 8 | tracks;
                chunk += Entry(random, id);
                if (chunk.size() > (1 << 20)) {
                    out << chunk;
                    written += chunk.size();
                    chunk.clear();
                }
            }
            out << chunk;
        }
    }
    std::ofstream(root / ".complete") << totalBytes << "\n";
}

bool Complete(const fs::path& root, std::uint64_t totalBytes) {
    std::ifstream in(root / ".complete");
    std::uint64_t size = 0;
    return in >> size && size == totalBytes;
}

// The ids of every entry of a file, in file order.
std::vector<std::uint32_t> EntryIds(const fs::path& file) {
    std::vector<std::uint32_t> ids;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, 10, "#FILENAME=") == 0) ids.push_back(static_cast<std::uint32_t>(std::stoul(line.substr(10), nullptr, 16)));
    }
    return ids;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Best of repeat runs, in seconds.
template <typename Run>
double Best(int repeat, Run run) {
    double best = 1e9;
    for (int i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(best, Seconds(std::chrono::steady_clock::now() - start));
    }
    return best;
}

int Grep(const std::string& pattern, const std::vector<std::string>& files) {
    std::fflush(stdout); // the child must not repeat what is still buffered
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv = {const_cast<char*>("grep"), const_cast<char*>("-F"), const_cast<char*>("-m1"),
                                   const_cast<char*>(pattern.c_str())};
        for (const std::string& f : files) argv.push_back(const_cast<char*>(f.c_str()));
        argv.push_back(nullptr);
        if (!std::freopen("/dev/null", "w", stdout)) _exit(127);
        execvp("grep", argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

int main(int argc, char** argv) {
    fs::path root = "build/bench-cddb";
    std::uint64_t megabytes = 256;
    int repeat = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--root")) root = argv[i + 1];
        else if (!std::strcmp(argv[i], "--megabytes")) megabytes = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--repeat")) repeat = std::atoi(argv[i + 1]);
    }
    const std::uint64_t total = megabytes << 20;
    if (!Complete(root, total)) Generate(root, total);

    // The category listed last is the one every search reaches.
    int count = 0;
    char** names = ListCategoryDirectories(root.c_str(), &count);
    std::vector<std::string> order(names, names + count);
    FreeNameList(names, count);
    const std::string last = order.back();
    const fs::path target = root / last / RangeName(0x80);
    const std::vector<std::uint32_t> ids = EntryIds(target);
    std::vector<std::string> files;
    for (const std::string& category : order) files.push_back((root / category / RangeName(0x80)).string());
    std::uint64_t scanned = 0;
    for (const std::string& f : files) scanned += fs::file_size(f);

    CdDevice().trackCount = 20;
    DiscInfo().trackTitles.assign(20, std::nullopt);

    std::printf("Local copy: %s, %d categories, %llu MB; each search reads %zu files, %.1f MB\n", root.c_str(), count,
                static_cast<unsigned long long>(megabytes), files.size(), static_cast<double>(scanned) / (1 << 20));
    std::printf("%-8s %-10s %12s %12s %8s\n", "entry", "disc id", "search ms", "grep ms", "ratio");
    const struct {
        const char* name;
        std::size_t index;
    } positions[] = {{"start", 0}, {"middle", ids.size() / 2}, {"end", ids.size() - 1}};
    bool ok = true;
    for (const auto& p : positions) {
        const std::uint32_t id = ids[p.index];
        char pattern[32];
        std::snprintf(pattern, sizeof pattern, "#FILENAME=%08x", static_cast<unsigned>(id));
        // Warm both, and check that each finds the entry.
        if (SearchLocalDatabaseAt(root.c_str(), id) != 1) {
            std::printf("search did not find %08x\n", static_cast<unsigned>(id));
            ok = false;
        }
        if (Grep(pattern, files) != 0) {
            std::printf("grep did not find %08x\n", static_cast<unsigned>(id));
            ok = false;
        }
        const double search = Best(repeat, [&] { SearchLocalDatabaseAt(root.c_str(), id); });
        const double grep = Best(repeat, [&] { Grep(pattern, files); });
        std::printf("%-8s %08x   %12.2f %12.2f %8.2f\n", p.name, static_cast<unsigned>(id), search * 1e3, grep * 1e3,
                    search / grep);
    }
    return ok ? 0 : 1;
}
