// Every control of every window the program shows has a name a screen reader can say:
// buttons and check boxes by their texts, lists, edits, drop-downs and spins by the
// label before them (Windows' rule), and through Wine's accessibility layer as far as
// it goes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "resources/resource.h"
#include "tests/support/win32/accessible.h"

namespace {

INT_PTR CALLBACK TemplateOnly(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::wstring ClassOf(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return name;
}

bool Is(HWND control, const wchar_t* className) { return lstrcmpiW(ClassOf(control).c_str(), className) == 0; }

struct Window {
    int templateId;
    const char* what;
    std::map<int, std::string> names; // by control id
};

const Window Windows[] = {
    {IDD_PANEL, "control panel",
     {{IDC_PLAY, "Play"}, {IDC_PAUSE, "Pause"}, {IDC_STOP, "Stop"}, {IDC_PREVIOUS, "Previous Track"},
      {IDC_NEXT, "Next Track"}, {IDC_EJECT, "Eject"}, {IDC_VOLUME_UP, "Volume Up"},
      {IDC_VOLUME_DOWN, "Volume Down"}, {IDC_VOLUME_BAR, "Mute"}}},
    {IDD_CD_INFORMATION, "CD Information page",
     {{IDC_INFO_ARTIST, "Artist:"}, {IDC_INFO_TITLE, "Title:"}, {IDC_INFO_TRACKS, "Tracks:"},
      {IDC_INFO_NAME, "Name:"}, {IDC_INFO_CLEAR_ALL, "Clear All"}}},
    {IDD_PROGRAMMING, "Programming page",
     {{IDC_PROGRAM_DISC_ORDER, "Disc Order:"}, {IDC_PROGRAM_ADD, "Add"}, {IDC_PROGRAM_REMOVE, "Remove"},
      {IDC_PROGRAM_CLEAR, "Clear"}, {IDC_PROGRAM_ORDER, "Programmed Order:"}, {IDC_PROGRAM_UP, "Move Up"},
      {IDC_PROGRAM_DOWN, "Move Down"}}},
    {IDD_CDDB_QUERY, "cddb Query page",
     {{IDC_QUERY_LOCAL, "Query Local Database"}, {IDC_QUERY_ROOT_DIRECTORY, "Database Root Directory:"},
      {IDC_QUERY_SERVER, "Query Server"},
      {IDC_QUERY_USE_PROXY, "Use Proxy Host (To access a cddb server through a firewall)"},
      {IDC_QUERY_SERVERS, "cddb Servers - Select closest for fastest response:"},
      {IDC_QUERY_PROXY_NAME, "Proxy Host Name:"}, {IDC_QUERY_PROXY_PORT, "Port Number:"},
      {IDC_QUERY_STATUS, "cddb Query Status:"}, {IDC_QUERY_NOW, "Query cddb Now"},
      {IDC_QUERY_MUSICBRAINZ, "Query MusicBrainz"}, {IDC_QUERY_SUBMIT_MUSICBRAINZ, "Submit to MusicBrainz"}}},
    {IDD_CDDB_SUBMIT, "cddb Submit page",
     {{IDC_SUBMIT_RETURN_ADDRESS, "Return Address (required):"}, {IDC_SUBMIT_SMTP_SERVER, "SMTP Server (required):"},
      {IDC_SUBMIT_STATUS, "cddb Submit Status:"}, {IDC_SUBMIT_NOW, "Submit New Entry Now"}}},
    {IDD_SUBMIT_ENTRY, "submit dialog",
     {{IDC_SUBMIT_CATEGORY, "Select Category For New Entry:"}, {IDOK, "Submit"}, {IDCANCEL, "Cancel"}}},
    {IDD_OPTIONS, "Options page",
     {{IDC_OPT_VISIBLE_AT_START, "Show at Startup"}, {IDC_OPT_ON_TOP, "Always Visible"},
      {IDC_OPT_SHUFFLE, "Random Track Order"}, {IDC_OPT_REPEAT_ALL, "Repeat All Tracks"},
      {IDC_OPT_RESUME_WHERE_STOPPED, "Resume Where Stopped"}, {IDC_OPT_INTRO_START, "Start after"},
      {IDC_OPT_INTRO_START_SPIN, "Start after"}, {IDC_OPT_AT_MIDDLE, "at middle of track"},
      {IDC_OPT_INTRO_LENGTH, "and play for"}, {IDC_OPT_INTRO_LENGTH_SPIN, "and play for"},
      {IDC_OPT_TRACK_ELAPSED, "Track Time Elapsed"}, {IDC_OPT_TRACK_REMAINING, "Track Time Remaining"},
      {IDC_OPT_DISC_ELAPSED, "Disc Time Elapsed"}, {IDC_OPT_DISC_REMAINING, "Disc Time Remaining"},
      {IDC_OPT_EJECT_AT_END, "Eject at End of Track Play"}, {IDC_OPT_EJECT_AT_EXIT, "Eject When Exiting Tunova"},
      {IDC_OPT_STOP_AT_EXIT, "Stop CD Player When Exiting Tunova"},
      {IDC_OPT_DIGITAL_PLAYBACK, "Digital playback"}}},
    {IDD_ABOUT, "About box", {{IDOK, "OK"}}},
    {IDD_MATCH_CHOICE, "Fuzzy Search Results",
     {{IDC_MATCH_LIST, "Possible Matches For Current CD:"}, {IDOK, "Get Information For Selected Title"},
      {IDCANCEL, "Current CD Not In List"}}},
    {IDD_SELECT_TRACK, "Select Track", {{IDC_TRACK_LIST, "Tracks:"}, {IDOK, "OK"}, {IDCANCEL, "Cancel"}}},
    {IDD_DIAGNOSTICS, "diagnostics window", {{IDC_LOG_TEXT, "Log:"}}},
};

// Static texts are read as they stand and group boxes are frames: every other control
// has a name of its own.
bool NeedsAName(HWND control) {
    if (Is(control, L"Static")) return false;
    return !(Is(control, L"Button") && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX);
}

// Named by the label before them on Windows; by their own texts on Wine, except
// drop-downs, whose text there is the chosen line.
bool NamedByLabel(HWND control) {
    return Is(control, L"Edit") || Is(control, L"ListBox") || Is(control, L"ComboBox") || Is(control, UPDOWN_CLASSW);
}

TEST(ControlNames, EveryControlAScreenReaderReachesHasItsName) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    HWND host = CreateWindowExW(0, L"Static", L"host", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    for (const Window& window : Windows) {
        HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(window.templateId), host,
                                         TemplateOnly, 0);
        ASSERT_NE(dialog, nullptr) << window.what;
        int named = 0;
        for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
            if (!NeedsAName(control)) continue;
            const int id = GetDlgCtrlID(control);
            const auto expected = window.names.find(id);
            ASSERT_NE(expected, window.names.end()) << window.what << ": control " << id << " has no name to check";
            ++named;
            const std::string& name = expected->second;
            const std::string what = std::string(window.what) + ", control " + std::to_string(id);
            if (NamedByLabel(control)) {
                EXPECT_EQ(WindowsLabelOf(control), name) << what << ": Windows' label";
                if (Is(control, L"ComboBox")) continue;
            }
            EXPECT_EQ(AccessibleName(control), name) << what << ": the accessibility layer";
        }
        EXPECT_EQ(named, static_cast<int>(window.names.size())) << window.what;
        DestroyWindow(dialog);
    }
    DestroyWindow(host);
}

} // namespace
