#include "ui/properties/sheetcommit.h"

#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "ui/properties/pages.h"

namespace {

// The play options the Options page edits, as fields of the copy and of the options;
// ApplyPropertiesCopy leaves them alone as the early commits of the cddb pages must not
// touch them.
struct PlayOptionField {
    std::int32_t PropertiesCopy::*copy;
    std::int32_t ProgramOptionsRecord::*option;
};
constexpr PlayOptionField PlayOptionFields[PlayOptionCount] = {
    {&PropertiesCopy::EjectAtEnd, &ProgramOptionsRecord::EjectAtEnd},
    {&PropertiesCopy::EjectAtExit, &ProgramOptionsRecord::EjectAtExit},
    {&PropertiesCopy::StopAtExit, &ProgramOptionsRecord::StopAtExit},
    {&PropertiesCopy::Shuffle, &ProgramOptionsRecord::Shuffle},
    {&PropertiesCopy::IntroPlayStart, &ProgramOptionsRecord::IntroPlayStart},
    {&PropertiesCopy::IntroPlayLength, &ProgramOptionsRecord::IntroPlayLength},
    {&PropertiesCopy::TimeDisplayMode, &ProgramOptionsRecord::TimeDisplayMode},
    {&PropertiesCopy::RepeatAll, &ProgramOptionsRecord::RepeatAll},
    {&PropertiesCopy::ControlsVisibleAtStart, &ProgramOptionsRecord::ControlsVisibleAtStart},
    {&PropertiesCopy::ControlsOnTop, &ProgramOptionsRecord::ControlsOnTop},
    {&PropertiesCopy::ResumeWhereStopped, &ProgramOptionsRecord::ResumeWhereStopped},
    {&PropertiesCopy::DigitalPlayback, &ProgramOptionsRecord::DigitalPlayback},
};

// Only what the pages changed is committed: an option the user switched from the menu
// or the panel while the sheet was open (Random Order, Repeat All) keeps that choice
// unless the sheet itself changed it too.
void CommitPlayOptions(const PropertiesCopy& copy, ProgramOptionsRecord& options) {
    for (std::size_t i = 0; i < PlayOptionCount; ++i) {
        const PlayOptionField& field = PlayOptionFields[i];
        if (copy.*field.copy != copy.playOptionsAtOpening[i]) options.*field.option = copy.*field.copy;
    }
}

void RememberPlayOptions(PropertiesCopy& copy) {
    for (std::size_t i = 0; i < PlayOptionCount; ++i) copy.playOptionsAtOpening[i] = copy.*PlayOptionFields[i].copy;
}

} // namespace

void OpenPropertiesCopy() {
    {
        DiscInfoHold hold;
        DiscInfo().propertiesCopy = CreatePropertiesCopy();
        RememberPlayOptions(*DiscInfo().propertiesCopy);
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
