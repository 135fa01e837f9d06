// Every setting of the program. Each field bears the name of its registry value; the
// server and category lists come only from the installation's "cddb" key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Widths of the text options as stored: paths 260 bytes, the other texts 80.
constexpr std::size_t OptionPathSize = 260;
constexpr std::size_t OptionTextSize = 80;
// The longest server or category entry read, terminator included.
constexpr std::size_t OptionListEntrySize = 256;
// Where MusicBrainz's web service is, unless the registry names another (a mirror), and
// the longest address read.
constexpr const char* DefaultMusicBrainzServer = "https://musicbrainz.org";
constexpr std::size_t MusicBrainzServerLimit = 1024;

struct ProgramOptionsRecord {
    // Key "Tunova", read at start and written at exit.
    std::int32_t EjectAtEnd = 0;
    std::int32_t EjectAtExit = 0;
    std::int32_t StopAtExit = 1;
    std::int32_t Shuffle = 0;
    std::int32_t IntroPlayStart = 0;   // seconds, or -1 for centred on the track's middle
    std::int32_t IntroPlayLength = 10; // seconds
    std::int32_t RepeatAll = 0;
    std::int32_t TimeDisplayMode = 0;  // 0 track elapsed, 1 track remaining, 2 disc elapsed, 3 disc remaining
    std::int32_t ControlsVisibleAtStart = 0;
    std::int32_t ControlsOnTop = 0;
    std::int32_t ControlsX = 0;
    std::int32_t ControlsY = 0;
    std::int32_t cddbQueryLocal = 0;
    char cddbRootDirectory[OptionPathSize] = {};
    std::int32_t cddbQueryServerAtStartup = 0;
    std::int32_t cddbUseProxy = 0;
    std::int32_t cddbServerNum = 0;    // index into cddbServerList, from 0
    char cddbProxyName[OptionTextSize] = {};
    std::int32_t cddbProxyPort = 0;
    char smtpReturnAddress[OptionTextSize] = {};
    char smtpServerName[OptionTextSize] = {};
    std::int32_t ResumeWhereStopped = 0; // each disc starts where it was left
    std::int32_t DigitalPlayback = 1;    // play through the sound card when the drive reads audio
    std::int32_t MusicBrainzQuery = 1;   // look an unknown disc up at MusicBrainz
    std::string MusicBrainzServer = DefaultMusicBrainzServer;

    // Key "cddb", read only.
    char smtpSubmitAddress[OptionTextSize] = {};
    std::vector<std::string> cddbServerList;   // host name is an entry's first word
    std::vector<std::string> cddbCategoryList;
};

// The process-wide options. Only the user-interface thread writes them; worker threads
// read the cddb and SMTP fields under DiscInfoLock.
ProgramOptionsRecord& ProgramOptions();

// The registry keys under HKEY_LOCAL_MACHINE; the first may also be the user's own,
// under HKEY_CURRENT_USER (discinfo/registryplace.h).
extern const char* const OptionsKeyPath;  // "SOFTWARE\Kestrow Software\Tunova\2.20\Tunova"
extern const char* const CddbKeyPath;     // "SOFTWARE\Kestrow Software\Tunova\2.20\cddb"

// Reads both keys into ProgramOptions(), the user's options over the machine's; a
// missing key or value leaves the field as it was.
void LoadProgramOptions();
// Writes the first key's values where this user's saves go; returns 1 when a key could
// be opened, else 0.
int SaveProgramOptions();
