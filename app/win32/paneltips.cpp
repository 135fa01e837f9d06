// The tips of the panel's buttons: each button's name, and the key that does the same.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/panelnames.h"
#include "app/win32/panel.h"
#include "log/logmessage.h"
#include "platform/win32/widetext.h"
#include "resources/controlids.h"

namespace {

constexpr int TippedButtons[] = {IDC_PLAY,  IDC_PAUSE,     IDC_STOP,        IDC_PREVIOUS,  IDC_NEXT,
                                 IDC_EJECT, IDC_VOLUME_UP, IDC_VOLUME_DOWN, IDC_VOLUME_BAR};

// The tips' window. It has no owner: an owned window follows its owner in and out of
// the topmost band, and would take an Always Visible panel out of it.
HWND& TipsWindow() {
    static HWND tips = nullptr;
    return tips;
}

std::string ButtonName(HWND button) {
    const int length = GetWindowTextLengthW(button);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(button, &text[0], length + 1)));
    return WideToUtf8(text);
}

} // namespace

void AddPanelTips(HWND panel) {
    RemovePanelTips();
    HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    TipsWindow() = tips;
    if (!tips) {
        LogMessage("Unable to create the panel's button tips.");
        return;
    }
    for (int id : TippedButtons) {
        HWND button = GetDlgItem(panel, id);
        if (!button) continue;
        std::wstring tip = Utf8ToWide(PanelButtonTip(ButtonName(button), id));
        TOOLINFOW tool = {};
        // The first record's size: every version of the common controls takes it.
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = panel;
        tool.uId = reinterpret_cast<UINT_PTR>(button);
        tool.lpszText = &tip[0];
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void RemovePanelTips() {
    if (TipsWindow()) DestroyWindow(TipsWindow());
    TipsWindow() = nullptr;
}

HWND PanelTipsWindow() { return TipsWindow(); }
