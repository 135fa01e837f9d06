// The Options page: the ten play options of the copy. It takes no lock (the workers
// never touch these fields) and has no active-page slot.
#include <windows.h>
#include <commctrl.h>

#include "discinfo/discinfo.h"
#include "resources/resource.h"
#include "ui/properties/options.h"
#include "ui/properties/win32/pagewindow.h"

namespace {

struct CheckBox {
    int id;
    bool OptionsPageValues::*value;
};

constexpr CheckBox CheckBoxes[] = {
    {IDC_OPT_EJECT_AT_END, &OptionsPageValues::ejectAtEnd},
    {IDC_OPT_EJECT_AT_EXIT, &OptionsPageValues::ejectAtExit},
    {IDC_OPT_STOP_AT_EXIT, &OptionsPageValues::stopAtExit},
    {IDC_OPT_SHUFFLE, &OptionsPageValues::shuffle},
    {IDC_OPT_REPEAT_ALL, &OptionsPageValues::repeatAll},
    {IDC_OPT_VISIBLE_AT_START, &OptionsPageValues::visibleAtStart},
    {IDC_OPT_ON_TOP, &OptionsPageValues::onTop},
    {IDC_OPT_RESUME_WHERE_STOPPED, &OptionsPageValues::resumeWhereStopped},
    {IDC_OPT_DIGITAL_PLAYBACK, &OptionsPageValues::digitalPlayback},
};

void SetSpin(HWND page, int spin, int edit, int low, int high, const std::string& text) {
    SendDlgItemMessageA(page, spin, UDM_SETRANGE, 0, MAKELPARAM(high, low));
    SendDlgItemMessageA(page, spin, UDM_SETPOS, 0, MAKELPARAM(std::stoi(text), 0));
    // The spin writes its buddy too; the page's own text makes the value plain.
    SetDlgItemTextA(page, edit, text.c_str());
}

void EnableStartField(HWND page, bool enable) {
    EnableControl(page, IDC_OPT_INTRO_START, enable);
    EnableControl(page, IDC_OPT_INTRO_START_SPIN, enable);
}

void ShowCopy(HWND page, const PropertiesCopy& copy) {
    const OptionsPageValues values = OptionsPageFromCopy(copy);
    for (const CheckBox& box : CheckBoxes) SetChecked(page, box.id, values.*box.value);
    SetSpin(page, IDC_OPT_INTRO_START_SPIN, IDC_OPT_INTRO_START, IntroStartLow, IntroStartHigh,
            values.introStartText);
    SetChecked(page, IDC_OPT_AT_MIDDLE, values.atMiddle);
    EnableStartField(page, !values.atMiddle);
    for (int radio : TimeDisplayRadios) SetChecked(page, radio, radio == values.timeRadio);
    SetSpin(page, IDC_OPT_INTRO_LENGTH_SPIN, IDC_OPT_INTRO_LENGTH, IntroLengthLow, IntroLengthHigh,
            values.introLengthText);
}

void StorePage(HWND page, PropertiesCopy& copy) {
    OptionsPageValues values;
    for (const CheckBox& box : CheckBoxes) values.*box.value = IsChecked(page, box.id);
    values.atMiddle = IsChecked(page, IDC_OPT_AT_MIDDLE);
    values.introStartText = ControlText(page, IDC_OPT_INTRO_START);
    values.introLengthText = ControlText(page, IDC_OPT_INTRO_LENGTH);
    for (int radio : TimeDisplayRadios) {
        if (IsChecked(page, radio)) {
            values.timeRadio = radio;
            break;
        }
    }
    StoreOptionsPage(values, copy);
}

void OnAtMiddleClicked(HWND page, PropertiesCopy& copy) {
    if (IsChecked(page, IDC_OPT_AT_MIDDLE)) {
        EnableStartField(page, false);
        return;
    }
    EnableStartField(page, true);
    const std::string start = std::to_string(StartAfterMiddleCleared(copy));
    SetSpin(page, IDC_OPT_INTRO_START_SPIN, IDC_OPT_INTRO_START, IntroStartLow, IntroStartHigh, start);
}

// A spin field left by the keyboard focus takes its value at once and shows it, so that
// what the user sees is what a later mistyped text falls back to.
void TakeSpinValue(HWND page, int edit, PropertiesCopy& copy) {
    if (edit == IDC_OPT_INTRO_START) {
        copy.IntroPlayStart =
            ReadSpinValue(ControlText(page, edit), IntroStartLow, IntroStartHigh, copy.IntroPlayStart);
        SetSpin(page, IDC_OPT_INTRO_START_SPIN, edit, IntroStartLow, IntroStartHigh,
                std::to_string(copy.IntroPlayStart));
    } else {
        copy.IntroPlayLength =
            ReadSpinValue(ControlText(page, edit), IntroLengthLow, IntroLengthHigh, copy.IntroPlayLength);
        SetSpin(page, IDC_OPT_INTRO_LENGTH_SPIN, edit, IntroLengthLow, IntroLengthHigh,
                std::to_string(copy.IntroPlayLength));
    }
}

void Activated(HWND page, PageContext& context) { ShowCopy(page, context.copy); }

void Store(HWND page, PageContext& context) {
    StorePage(page, context.copy);
    ShowCopy(page, context.copy); // what was stored, should the sheet stay open
}

bool Command(HWND page, PageContext& context, int id, int code) {
    if (id == IDC_OPT_AT_MIDDLE && code == BN_CLICKED) {
        OnAtMiddleClicked(page, context.copy);
        return true;
    }
    if ((id == IDC_OPT_INTRO_START || id == IDC_OPT_INTRO_LENGTH) && code == EN_KILLFOCUS) {
        TakeSpinValue(page, id, context.copy);
        return true;
    }
    return false;
}

} // namespace

const PageHandlers OptionsPage = [] {
    PageHandlers page;
    page.activated = Activated;
    page.store = Store;
    page.command = Command;
    return page;
}();
