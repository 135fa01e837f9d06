#include "discinfo/options.h"

#include <cstdio>
#include <iterator>

#include "log/logmessage.h"
#include "discinfo/registryplace.h"
#include "discinfo/registryvalues.h"

const char* const OptionsKeyPath = "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\Tunova";
const char* const CddbKeyPath = "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\cddb";

ProgramOptionsRecord& ProgramOptions() {
    static ProgramOptionsRecord options;
    return options;
}

namespace {

// The values of the "Tunova" key in the order they are read and written. Each entry
// is either a 4-byte number or a text field written in its whole width, which stored
// records written by earlier runs have always had.
struct OptionValue {
    const char* name;
    std::int32_t ProgramOptionsRecord::*number;
    char* (*text)(ProgramOptionsRecord&);
    std::size_t textSize;
};

char* RootDirectory(ProgramOptionsRecord& o) { return o.cddbRootDirectory; }
char* ProxyName(ProgramOptionsRecord& o) { return o.cddbProxyName; }
char* ReturnAddress(ProgramOptionsRecord& o) { return o.smtpReturnAddress; }
char* ServerName(ProgramOptionsRecord& o) { return o.smtpServerName; }

using R = ProgramOptionsRecord;
const OptionValue OptionValues[] = {
    {"EjectAtEnd", &R::EjectAtEnd, nullptr, 0},
    {"EjectAtExit", &R::EjectAtExit, nullptr, 0},
    {"StopAtExit", &R::StopAtExit, nullptr, 0},
    {"Shuffle", &R::Shuffle, nullptr, 0},
    {"IntroPlayStart", &R::IntroPlayStart, nullptr, 0},
    {"IntroPlayLength", &R::IntroPlayLength, nullptr, 0},
    {"RepeatAll", &R::RepeatAll, nullptr, 0},
    {"TimeDisplayMode", &R::TimeDisplayMode, nullptr, 0},
    {"ControlsVisibleAtStart", &R::ControlsVisibleAtStart, nullptr, 0},
    {"ControlsOnTop", &R::ControlsOnTop, nullptr, 0},
    {"ControlsX", &R::ControlsX, nullptr, 0},
    {"ControlsY", &R::ControlsY, nullptr, 0},
    {"cddbQueryLocal", &R::cddbQueryLocal, nullptr, 0},
    {"cddbRootDirectory", nullptr, RootDirectory, OptionPathSize},
    {"cddbQueryServerAtStartup", &R::cddbQueryServerAtStartup, nullptr, 0},
    {"cddbUseProxy", &R::cddbUseProxy, nullptr, 0},
    {"cddbServerNum", &R::cddbServerNum, nullptr, 0},
    {"cddbProxyName", nullptr, ProxyName, OptionTextSize},
    {"cddbProxyPort", &R::cddbProxyPort, nullptr, 0},
    {"smtpReturnAddress", nullptr, ReturnAddress, OptionTextSize},
    {"smtpServerName", nullptr, ServerName, OptionTextSize},
    {"ResumeWhereStopped", &R::ResumeWhereStopped, nullptr, 0},
    {"DigitalPlayback", &R::DigitalPlayback, nullptr, 0},
    {"MusicBrainzQuery", &R::MusicBrainzQuery, nullptr, 0},
};

// Reads "<prefix>1", "<prefix>2", ... up to the first number that is missing (or too
// long to read).
std::vector<std::string> ReadNumberedList(RegistryKey key, const char* prefix) {
    std::vector<std::string> list;
    for (int n = 1;; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "%s%d", prefix, n);
        char entry[OptionListEntrySize];
        if (!ReadRegistryText(key, name, entry, sizeof entry)) break;
        list.emplace_back(entry);
    }
    return list;
}

} // namespace

void LoadProgramOptions() {
    LogMessage("Loading program options.");
    ProgramOptionsRecord& options = ProgramOptions();
    // The machine's values first, then the user's own over them: a value the user's key
    // lacks keeps the installation's.
    bool found = false;
    for (auto root = std::rbegin(RegistryReadOrder); root != std::rend(RegistryReadOrder); ++root) {
        RegistryKeyHold key;
        if (Registry().OpenKey(*root, OptionsKeyPath, RegistryKeyRead, key.Out()) != RegistrySuccess) continue;
        found = true;
        LogMessage("Reading program options under: ", RegistryPlace(*root, OptionsKeyPath).c_str());
        for (const OptionValue& value : OptionValues) {
            if (value.number) ReadRegistryDword(key.Get(), value.name, &(options.*value.number));
            else ReadRegistryText(key.Get(), value.name, value.text(options), value.textSize);
        }
        ReadRegistryString(key.Get(), "MusicBrainzServer", MusicBrainzServerLimit, &options.MusicBrainzServer);
    }
    if (!found) return;
    // The server and category lists are the installation's alone.
    RegistryKeyHold key;
    if (Registry().OpenKey(RegistryLocalMachine, CddbKeyPath, RegistryKeyRead, key.Out()) != RegistrySuccess) return;
    ReadRegistryText(key.Get(), "smtpSubmitAddress", options.smtpSubmitAddress, sizeof options.smtpSubmitAddress);
    options.cddbServerList = ReadNumberedList(key.Get(), "cddbServer");
    options.cddbCategoryList = ReadNumberedList(key.Get(), "cddbCategory");
}

int SaveProgramOptions() {
    LogMessage("Saving program options to registry.");
    RegistryKeyHold key;
    const RegistryKey root = OpenKeyForSaving(OptionsKeyPath, &key);
    if (!root) return 0;
    ProgramOptionsRecord& options = ProgramOptions();
    for (const OptionValue& value : OptionValues) {
        if (value.number) {
            WriteRegistryDword(key.Get(), value.name, options.*value.number);
        } else {
            // The whole field, terminator and the bytes after it included.
            Registry().SetValue(key.Get(), value.name, RegistryText, value.text(options),
                                static_cast<std::uint32_t>(value.textSize));
        }
    }
    WriteRegistryText(key.Get(), "MusicBrainzServer", options.MusicBrainzServer.c_str());
    LogMessage("Saved program options under: ", RegistryPlace(root, OptionsKeyPath).c_str());
    return 1;
}
