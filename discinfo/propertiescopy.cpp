#include "discinfo/discinfo.h"

#include <cstring>

#include "discinfo/options.h"

namespace {

// The copy holds a shorter field than the option. When the user left the cut text as
// it was, the option keeps its full length instead of losing its tail.
void ApplyShortText(char* option, std::size_t optionSize, const char* copyText) {
    char cut[CopyShortTextSize];
    CopyText(cut, sizeof cut, option);
    if (std::strcmp(cut, copyText) == 0) return;
    CopyText(option, optionSize, copyText);
}

} // namespace

PropertiesCopy* CreatePropertiesCopy() {
    // Callers hold the lock already; taking it again costs nothing and keeps a careless
    // caller from reading a half-replaced record.
    DiscInfoHold hold;
    const DiscInfoRecord& disc = DiscInfo();
    const ProgramOptionsRecord& options = ProgramOptions();
    auto* copy = new PropertiesCopy;
    copy->artist = disc.artist;
    copy->title = disc.title;
    copy->trackTitles.assign(disc.trackTitles.size(), std::string());
    for (std::size_t i = 0; i < disc.trackTitles.size(); ++i)
        if (disc.trackTitles[i]) copy->trackTitles[i] = *disc.trackTitles[i];
    copy->program = disc.program;
    copy->programChanged = 0;

    copy->cddbQueryLocal = options.cddbQueryLocal;
    CopyText(copy->cddbRootDirectory, sizeof copy->cddbRootDirectory, options.cddbRootDirectory);
    copy->cddbQueryServerAtStartup = options.cddbQueryServerAtStartup;
    copy->cddbServerNum = options.cddbServerNum;
    copy->cddbUseProxy = options.cddbUseProxy;
    // The options hold up to 79 characters of these, the pages 39: a longer value is
    // cut to the field rather than run past it.
    CopyText(copy->cddbProxyName, sizeof copy->cddbProxyName, options.cddbProxyName);
    copy->cddbProxyPort = options.cddbProxyPort;
    CopyText(copy->smtpReturnAddress, sizeof copy->smtpReturnAddress, options.smtpReturnAddress);
    CopyText(copy->smtpServerName, sizeof copy->smtpServerName, options.smtpServerName);
    copy->MusicBrainzQuery = options.MusicBrainzQuery;

    copy->EjectAtEnd = options.EjectAtEnd;
    copy->EjectAtExit = options.EjectAtExit;
    copy->StopAtExit = options.StopAtExit;
    copy->Shuffle = options.Shuffle;
    copy->IntroPlayStart = options.IntroPlayStart;
    copy->IntroPlayLength = options.IntroPlayLength;
    copy->TimeDisplayMode = options.TimeDisplayMode;
    copy->RepeatAll = options.RepeatAll;
    copy->ControlsVisibleAtStart = options.ControlsVisibleAtStart;
    copy->ControlsOnTop = options.ControlsOnTop;
    copy->ResumeWhereStopped = options.ResumeWhereStopped;
    copy->DigitalPlayback = options.DigitalPlayback;
    return copy;
}

void ApplyPropertiesCopyTexts() {
    DiscInfoHold hold;
    DiscInfoRecord& disc = DiscInfo();
    const PropertiesCopy* copy = disc.propertiesCopy;
    if (!copy) return;
    disc.artist = CutDiscText(copy->artist);
    disc.title = CutDiscText(copy->title);
    for (std::size_t i = 0; i < disc.trackTitles.size() && i < copy->trackTitles.size(); ++i) {
        const std::string& text = copy->trackTitles[i];
        if (!text.empty()) disc.trackTitles[i] = CutDiscText(text);
        else disc.trackTitles[i].reset();
    }
}

void ApplyPropertiesCopy() {
    DiscInfoHold hold;
    DiscInfoRecord& disc = DiscInfo();
    const PropertiesCopy* copy = disc.propertiesCopy;
    if (!copy) return;
    // While a lookup runs its texts win over what the sheet shows.
    if (!disc.lookupRunning) ApplyPropertiesCopyTexts();
    ProgramOptionsRecord& options = ProgramOptions();
    options.cddbQueryLocal = copy->cddbQueryLocal;
    CopyText(options.cddbRootDirectory, sizeof options.cddbRootDirectory, copy->cddbRootDirectory);
    options.cddbQueryServerAtStartup = copy->cddbQueryServerAtStartup;
    options.cddbServerNum = copy->cddbServerNum;
    options.cddbUseProxy = copy->cddbUseProxy;
    ApplyShortText(options.cddbProxyName, sizeof options.cddbProxyName, copy->cddbProxyName);
    options.cddbProxyPort = copy->cddbProxyPort;
    ApplyShortText(options.smtpReturnAddress, sizeof options.smtpReturnAddress, copy->smtpReturnAddress);
    ApplyShortText(options.smtpServerName, sizeof options.smtpServerName, copy->smtpServerName);
    options.MusicBrainzQuery = copy->MusicBrainzQuery;
}

void FreePropertiesCopy() {
    PropertiesCopy* copy = nullptr;
    {
        DiscInfoHold hold;
        copy = DiscInfo().propertiesCopy;
        DiscInfo().propertiesCopy = nullptr;
    }
    delete copy;
}

void RefreshPropertiesCopyTexts() {
    DiscInfoHold hold;
    const DiscInfoRecord& disc = DiscInfo();
    PropertiesCopy* copy = disc.propertiesCopy;
    if (!copy) return;
    copy->artist = disc.artist;
    copy->title = disc.title;
    for (std::size_t i = 0; i < disc.trackTitles.size() && i < copy->trackTitles.size(); ++i)
        copy->trackTitles[i] = disc.trackTitles[i] ? *disc.trackTitles[i] : std::string();
}
