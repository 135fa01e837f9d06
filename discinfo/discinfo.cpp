#include "discinfo/discinfo.h"

#include "platform/namedmutex.h"
#include "platform/utf8text.h"

DiscInfoRecord& DiscInfo() {
    static DiscInfoRecord record;
    return record;
}

void ResetDiscInfo() {
    FreePropertiesCopy();
    DiscInfoRecord& disc = DiscInfo();
    disc.artist.clear();
    disc.title.clear();
    disc.trackTitles.clear();
    disc.program.clear();
    disc.resumePoint = ResumePoint();
    disc.foundKeyIndex = 0;
    disc.foundKeyRoot = RegistryLocalMachine;
    disc.discReady = false;
    disc.lookupRunning = false;
    disc.ownerWindow = nullptr;
    disc.changedMessage = 0;
}

NamedMutex& DiscInfoLock() {
    // Never destroyed: a lookup thread may still take it while the process ends.
    static NamedMutex* lock = new NamedMutex("TunovaProperties");
    return *lock;
}

void LockDiscInfo() { DiscInfoLock().Lock(); }
void UnlockDiscInfo() { DiscInfoLock().Unlock(); }

std::string CutDiscText(const std::string& text) { return Utf8Prefix(text, DiscTextLimit); }
