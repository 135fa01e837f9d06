#include "discinfo/discinfo.h"

#include "discinfo/options.h"
#include "platform/utf8text.h"

namespace {

// A text cut to the width of its field, terminator included.
std::string FitWidth(const std::string& text, std::size_t width) { return Utf8Prefix(text, width - 1); }

// The copy holds a shorter field than the option. When the user left the cut text as
// it was, the option keeps its full length instead of losing its tail.
void ApplyShortText(std::string& option, const std::string& copyText) {
    if (FitWidth(option, CopyShortTextSize) == copyText) return;
    option = FitWidth(copyText, OptionTextSize);
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
    copy->cddbRootDirectory = FitWidth(options.cddbRootDirectory, CopyPathSize);
    copy->cddbQueryServerAtStartup = options.cddbQueryServerAtStartup;
    copy->cddbServerNum = options.cddbServerNum;
    copy->cddbUseProxy = options.cddbUseProxy;
    // The options hold up to 79 characters of these, the pages 39: a longer value is
    // cut to the field rather than run past it.
    copy->cddbProxyName = FitWidth(options.cddbProxyName, CopyShortTextSize);
    copy->cddbProxyPort = options.cddbProxyPort;
    copy->smtpReturnAddress = FitWidth(options.smtpReturnAddress, CopyShortTextSize);
    copy->smtpServerName = FitWidth(options.smtpServerName, CopyShortTextSize);
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
    options.cddbRootDirectory = FitWidth(copy->cddbRootDirectory, OptionPathSize);
    options.cddbQueryServerAtStartup = copy->cddbQueryServerAtStartup;
    options.cddbServerNum = copy->cddbServerNum;
    options.cddbUseProxy = copy->cddbUseProxy;
    ApplyShortText(options.cddbProxyName, copy->cddbProxyName);
    options.cddbProxyPort = copy->cddbProxyPort;
    ApplyShortText(options.smtpReturnAddress, copy->smtpReturnAddress);
    ApplyShortText(options.smtpServerName, copy->smtpServerName);
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
