#include "ui/properties/sheetcommit.h"

#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "ui/properties/pages.h"

namespace {

// The play options the Options page edits; ApplyPropertiesCopy leaves them alone as the
// early commits of the cddb pages must not touch them.
void CommitPlayOptions(const PropertiesCopy& copy, ProgramOptionsRecord& options) {
    options.EjectAtEnd = copy.EjectAtEnd;
    options.EjectAtExit = copy.EjectAtExit;
    options.StopAtExit = copy.StopAtExit;
    options.Shuffle = copy.Shuffle;
    options.IntroPlayStart = copy.IntroPlayStart;
    options.IntroPlayLength = copy.IntroPlayLength;
    options.TimeDisplayMode = copy.TimeDisplayMode;
    options.RepeatAll = copy.RepeatAll;
    options.ControlsVisibleAtStart = copy.ControlsVisibleAtStart;
    options.ControlsOnTop = copy.ControlsOnTop;
}

} // namespace

void OpenPropertiesCopy() {
    {
        DiscInfoHold hold;
        DiscInfo().propertiesCopy = CreatePropertiesCopy();
    }
    PropertyPages().sheetAccepted = 0;
}

int ClosePropertiesCopy() {
    if (!PropertyPages().sheetAccepted) {
        FreePropertiesCopy();
        return 0;
    }
    int programChanged = 0;
    {
        DiscInfoHold hold;
        DiscInfoRecord& disc = DiscInfo();
        const PropertiesCopy* copy = disc.propertiesCopy;
        if (copy) {
            programChanged = copy->programChanged;
            ApplyPropertiesCopy();
            disc.program = copy->program;
            CommitPlayOptions(*copy, ProgramOptions());
        }
    }
    FreePropertiesCopy();
    return programChanged;
}
