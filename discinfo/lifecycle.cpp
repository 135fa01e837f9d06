#include "discinfo/lifecycle.h"

#include "cdaudio/cddevice.h"
#include "discinfo/querystatus.h"
#include "discinfo/submitstatus.h"
#include "discinfo/cdplayerini.h"
#include "discinfo/cdtextimport.h"
#include "discinfo/commoncontrols.h"
#include "discinfo/discinfo.h"
#include "discinfo/discregistry.h"
#include "discinfo/lookup.h"
#include "discinfo/options.h"

void StartDiscInfo(WindowHandle ownerWindow, unsigned changedMessage) {
    DiscInfoRecord& disc = DiscInfo();
    disc.ownerWindow = ownerWindow;
    disc.changedMessage = changedMessage;
    DiscInfoLock();
    InitialiseCommonControls();

    ProgramOptionsRecord& options = ProgramOptions();
    options.cddbRootDirectory.clear();
    options.cddbProxyName.clear();
    ClearQueryStatus();
    ClearSubmitStatus();
    LoadProgramOptions();

    // No lookup thread exists yet, so the record is filled without the lock.
    disc.artist.clear();
    disc.title.clear();
    const std::int32_t trackCount = CdDevice().trackCount;
    disc.trackTitles.assign(trackCount > 0 ? static_cast<std::size_t>(trackCount) : 0, std::nullopt);
    disc.program.clear();
    disc.foundKeyIndex = 0;
    disc.foundKeyRoot = RegistryLocalMachine;

    // The user's own records first (this program's, then the Windows CD Player's), then
    // what the disc says of itself; a disc they leave with an untitled track is looked up.
    if (!LoadDiscFromRegistry() && !ImportCdplayerIni() && !ImportCdText()) StartDiscLookup();
    disc.discReady = true;
}

void FinishDiscInfo() {
    if (const auto closeChoice = GetDiscLookupHooks().closeChoice) closeChoice();
    DiscInfoRecord& disc = DiscInfo();
    if (!disc.discReady) return;
    SaveProgramOptions();
    SaveDiscToRegistry();
    // Finished: a second call (an ended Windows session followed by the window's
    // destruction) saves nothing more.
    disc.discReady = false;
}
