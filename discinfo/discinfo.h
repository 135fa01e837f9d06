// The one record of what is known about the disc in the drive, its lock, and the
// property sheet's working copy of it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "discinfo/resumepoint.h"
#include "platform/workerowner.h"
#include "platform/registry.h"
#include "platform/uinotify.h"

class NamedMutex;

// Disc texts (artist, title, track titles) are UTF-8 of at most this many characters.
constexpr std::size_t DiscTextLimit = 256;
// Width of the copy's three short option texts (the options themselves hold 80 bytes).
constexpr std::size_t CopyShortTextSize = 40;
// Width of the copy's local database root, as in the options.
constexpr std::size_t CopyPathSize = 260;

struct PropertiesCopy;

struct DiscInfoRecord {
    // Empty when unknown; at most DiscTextLimit characters each (CutDiscText).
    std::string artist;
    std::string title;
    // One entry per track (index 0 is track 1) for the whole run; no value means no title.
    std::vector<std::optional<std::string>> trackTitles;
    // The programmed order, 1-based track numbers; empty means no program.
    std::vector<std::int32_t> program;
    // Where play was at the end of the last run, when the user wants it kept.
    ResumePoint resumePoint;
    // Index in the disc key table under which the record was found; 0 for the current
    // key or when it was not found.
    std::int32_t foundKeyIndex = 0;
    // The root it was found under: the user's own or the machine's.
    RegistryKey foundKeyRoot = RegistryLocalMachine;
    // StartDiscInfo has completed; the shutdown save does nothing without it.
    bool discReady = false;
    // A lookup thread runs and may still replace the texts. Set by the starter, cleared
    // by the thread itself, read by the pages without the lock.
    std::atomic<bool> lookupRunning{false};
    // The lookup threads: the shutdown cancels and joins them before the device closes.
    WorkerOwner lookupWorkers;
    // The sheet's working copy while the sheet is open, else null.
    PropertiesCopy* propertiesCopy = nullptr;
    // Told with changedMessage when the disc information has changed.
    WindowHandle ownerWindow = nullptr;
    unsigned changedMessage = 0;

    std::int32_t programCount() const { return static_cast<std::int32_t>(program.size()); }
};

// The process-wide record.
DiscInfoRecord& DiscInfo();

// Returns the record to its state before StartDiscInfo (texts, titles, program, flags);
// the start sequence and tests use it. Frees a working copy that may exist.
void ResetDiscInfo();

// The named mutex "TunovaProperties": guards DiscInfo and the working copy, re-entrant
// for its holder. Created on first use and never destroyed.
NamedMutex& DiscInfoLock();
void LockDiscInfo();
void UnlockDiscInfo();

// Holds DiscInfoLock for one scope.
class DiscInfoHold {
public:
    DiscInfoHold() { LockDiscInfo(); }
    ~DiscInfoHold() { UnlockDiscInfo(); }
    DiscInfoHold(const DiscInfoHold&) = delete;
    DiscInfoHold& operator=(const DiscInfoHold&) = delete;
};

// The property sheet's snapshot of the disc texts, the programmed order and the
// options its pages edit.
struct PropertiesCopy {
    std::string artist;
    std::string title;
    // One text per track; an empty text stands for no title.
    std::vector<std::string> trackTitles;
    // The programmed order as the user builds it, 1-based track numbers.
    std::vector<std::int32_t> program;
    // Set to 1 by the Programming page whenever the order changes.
    std::int32_t programChanged = 0;

    std::int32_t cddbQueryLocal = 0;
    char cddbRootDirectory[CopyPathSize] = {};
    std::int32_t cddbQueryServerAtStartup = 0;
    std::int32_t cddbServerNum = 0;
    std::int32_t cddbUseProxy = 0;
    char cddbProxyName[CopyShortTextSize] = {};
    std::int32_t cddbProxyPort = 0;
    char smtpReturnAddress[CopyShortTextSize] = {};
    char smtpServerName[CopyShortTextSize] = {};
    std::int32_t MusicBrainzQuery = 0;

    std::int32_t EjectAtEnd = 0;
    std::int32_t EjectAtExit = 0;
    std::int32_t StopAtExit = 0;
    std::int32_t Shuffle = 0;
    std::int32_t IntroPlayStart = 0;
    std::int32_t IntroPlayLength = 0;
    std::int32_t TimeDisplayMode = 0;
    std::int32_t RepeatAll = 0;
    std::int32_t ControlsVisibleAtStart = 0;
    std::int32_t ControlsOnTop = 0;
    std::int32_t ResumeWhereStopped = 0;
    std::int32_t DigitalPlayback = 0;

    // The play options above as the sheet opened with them, in that order; the
    // sheet's acceptance commits only those its pages changed.
    std::int32_t playOptionsAtOpening[12] = {};
};
constexpr std::size_t PlayOptionCount = sizeof PropertiesCopy::playOptionsAtOpening / sizeof(std::int32_t);

// The caller holds DiscInfoLock (each takes it again, which is harmless as it is
// re-entrant) and stores the result in DiscInfo().propertiesCopy.
PropertiesCopy* CreatePropertiesCopy();
// Copies the disc texts (unless a lookup runs) and the cddb, MusicBrainz and SMTP
// settings of the open copy back; the caller holds DiscInfoLock. Does nothing without a
// copy.
void ApplyPropertiesCopy();
// Copies the open copy's artist, title and track titles into DiscInfo whatever
// lookupRunning says; the caller holds DiscInfoLock and knows no lookup thread runs.
// "Query cddb Now" commits the typed texts this way before it starts its lookup, whose
// hand-over then shows them again unless an entry was found.
void ApplyPropertiesCopyTexts();
// Detaches the copy under the lock and frees it.
void FreePropertiesCopy();

// Copies the record's artist, title and track titles into the open copy, if any; an
// absent title becomes empty text. The caller holds DiscInfoLock.
void RefreshPropertiesCopyTexts();

// text cut to the disc text limit, never inside a character.
std::string CutDiscText(const std::string& text);

// Copies text into a fixed field, cut to fit, always terminated.
void CopyText(char* field, std::size_t fieldSize, const char* text);
