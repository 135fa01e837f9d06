// The pages' templates as the sheet creates them: every control in order with its id,
// kind and text, each inside the page and clear of the others.
#include <cstring>

#include "resources/resource.h"
#include "sheetfixture.h"
#include "tests/support/win32/layout.h"

namespace {

struct Control {
    int id;
    const char* className;
    const char* text;
    LONG kind;  // the low style bits that make the kind of a button or static; -1: not checked
};

constexpr LONG Right = SS_RIGHT, Centred = SS_CENTER, Left = SS_LEFT, Group = BS_GROUPBOX,
               Push = BS_PUSHBUTTON, Check = BS_AUTOCHECKBOX, Radio = BS_AUTORADIOBUTTON, Any = -1;

const std::vector<Control> CdInformation = {
    {-1, "Button", "General", Group},
    {-1, "Static", "Artist:", Right},
    {IDC_INFO_ARTIST, "Edit", nullptr, Any},
    {-1, "Static", "Title:", Right},
    {IDC_INFO_TITLE, "Edit", nullptr, Any},
    {-1, "Button", "Tracks", Group},
    {-1, "Static", "Tracks:", Left}, // the list's name for screen readers, of no size and hidden
    {IDC_INFO_TRACKS, "ListBox", "Tracks:", Any},
    {-1, "Static", "Name:", Right},
    {IDC_INFO_NAME, "Edit", nullptr, Any},
    {IDC_INFO_CLEAR_ALL, "Button", "Clear All", Push},
};

const std::vector<Control> Programming = {
    {-1, "Button", "Disc Order", Group},
    {-1, "Static", "Disc Order:", Left},
    {IDC_PROGRAM_DISC_ORDER, "ListBox", "Disc Order:", Any},
    {-1, "Button", "Programmed Order", Group},
    {IDC_PROGRAM_ADD, "Button", "Add", Push},
    {IDC_PROGRAM_REMOVE, "Button", "Remove", Push},
    {IDC_PROGRAM_CLEAR, "Button", "Clear", Push},
    {-1, "Static", "Programmed Order:", Left},
    {IDC_PROGRAM_ORDER, "ListBox", "Programmed Order:", Any},
    {IDC_PROGRAM_UP, "Button", "Move Up", Push},
    {IDC_PROGRAM_DOWN, "Button", "Move Down", Push},
};

const std::vector<Control> CddbQuery = {
    {-1, "Button", "Local Database", Group},
    {IDC_QUERY_LOCAL, "Button", "Query Local Database", Check},
    {-1, "Static", "Database Root Directory:", Left},
    {IDC_QUERY_ROOT_DIRECTORY, "Edit", "", Any},
    {-1, "Button", "Internet Database Server", Group},
    {IDC_QUERY_SERVER, "Button", "Query Server", Check},
    {IDC_QUERY_USE_PROXY, "Button", "Use Proxy Host (To access a cddb server through a firewall)", Check},
    {-1, "Static", "cddb Servers - Select closest for fastest response:", Left},
    {IDC_QUERY_SERVERS, "ComboBox", "", Any},
    {-1, "Static", "Proxy Host Name:", Right},
    {IDC_QUERY_PROXY_NAME, "Edit", "", Any},
    {-1, "Static", "Port Number:", Right},
    {IDC_QUERY_PROXY_PORT, "Edit", "0", Any},
    {IDC_QUERY_MUSICBRAINZ, "Button", "Query MusicBrainz", Check},
    {-1, "Static", "cddb Query Status:", Left},
    {IDC_QUERY_STATUS, "Edit", "", Any},
    {IDC_QUERY_NOW, "Button", "Query cddb Now", Push},
    {IDC_QUERY_SUBMIT_MUSICBRAINZ, "Button", "Submit to MusicBrainz", Push},
};

const std::vector<Control> CddbSubmit = {
    {-1, "Button", "SMTP Configuration", Group},
    {-1, "Static", "Return Address (required):", Left},
    {IDC_SUBMIT_RETURN_ADDRESS, "Edit", "", Any},
    {-1, "Static", "SMTP Server (required):", Left},
    {IDC_SUBMIT_SMTP_SERVER, "Edit", "", Any},
    {-1, "Static", "cddb Submit Status:", Left},
    {IDC_SUBMIT_STATUS, "Edit", "", Any},
    {IDC_SUBMIT_NOW, "Button", "Submit New Entry Now", Push},
};

const std::vector<Control> SubmitEntry = {
    {-1, "Button", "Please Use The Following Guidelines For Submitting New Entries", Group},
    {-1, "Static", "Submit entries only after you verify they are not already in the database.", Left},
    {-1, "Static", "Do not submit entries that are not completely filled-out (i.e., empty track titles, etc.).", Left},
    {-1, "Static",
     "Capitalize the first letter of each word only.  Do not use upper case for whole words unless it's absolutely "
     "necessary.",
     Left},
    {-1, "Static", "Verify that all spelling is correct.", Left},
    {-1, "Static", "Submit the entry using the appropriate category.", Left},
    {-1, "Static", "Select Category For New Entry:", Left},
    {IDC_SUBMIT_CATEGORY, "ComboBox", nullptr, Any},
    {IDOK, "Button", "Submit", BS_DEFPUSHBUTTON},
    {IDCANCEL, "Button", "Cancel", Push},
};

const std::vector<Control> Options = {
    {-1, "Button", "CD Control Panel", Group},
    {IDC_OPT_VISIBLE_AT_START, "Button", "Show at Startup", Check},
    {IDC_OPT_ON_TOP, "Button", "Always Visible", Check},
    {IDC_OPT_DIGITAL_PLAYBACK, "Button", "Digital playback", Check},
    {-1, "Button", "Play", Group},
    {IDC_OPT_SHUFFLE, "Button", "Random Track Order", Check},
    {IDC_OPT_REPEAT_ALL, "Button", "Repeat All Tracks", Check},
    {IDC_OPT_RESUME_WHERE_STOPPED, "Button", "Resume Where Stopped", Check},
    {-1, "Button", "Introduction Play", Group},
    {-1, "Static", "Start after", Right},
    {IDC_OPT_INTRO_START, "Edit", nullptr, Any},
    {IDC_OPT_INTRO_START_SPIN, "msctls_updown32", nullptr, Any},
    {-1, "Static", "seconds or", Centred},
    {IDC_OPT_AT_MIDDLE, "Button", "at middle of track", Check},
    {-1, "Static", "and play for", Right},
    {IDC_OPT_INTRO_LENGTH, "Edit", nullptr, Any},
    {IDC_OPT_INTRO_LENGTH_SPIN, "msctls_updown32", nullptr, Any},
    {-1, "Static", "seconds.", Left},
    {-1, "Button", "Time Display", Group},
    {IDC_OPT_TRACK_ELAPSED, "Button", "Track Time Elapsed", Radio},
    {IDC_OPT_TRACK_REMAINING, "Button", "Track Time Remaining", Radio},
    {IDC_OPT_DISC_ELAPSED, "Button", "Disc Time Elapsed", Radio},
    {IDC_OPT_DISC_REMAINING, "Button", "Disc Time Remaining", Radio},
    {-1, "Button", "Eject And Exit", Group},
    {IDC_OPT_EJECT_AT_END, "Button", "Eject at End of Track Play", Check},
    {IDC_OPT_EJECT_AT_EXIT, "Button", "Eject When Exiting Tunova", Check},
    {IDC_OPT_STOP_AT_EXIT, "Button", "Stop CD Player When Exiting Tunova", Check},
};

void ExpectTemplate(HWND page, const std::vector<Control>& expected) {
    size_t index = 0;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++index) {
        ASSERT_LT(index, expected.size());
        const Control& want = expected[index];
        EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), want.id) << "child " << index;
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        EXPECT_STRCASEEQ(className, want.className) << "child " << index;
        if (want.text) {
            EXPECT_EQ(WindowText(child), want.text) << "child " << index;
        }
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (want.kind != Any) {
            const LONG mask = std::string(want.className) == "Static" ? SS_TYPEMASK : 0x0F;
            EXPECT_EQ(style & mask, want.kind) << "child " << index;
        }
    }
    EXPECT_EQ(index, expected.size());
    ExpectLaidOutApart(page);
}

// The spin sits at the right end of its edit's line, and the edit gives it room.
void ExpectSpinAtEditsEnd(HWND page, int edit, int spin) {
    const RECT field = PlaceOf(page, edit);
    const RECT arrows = PlaceOf(page, spin);
    EXPECT_NEAR(arrows.left, field.right, 2) << spin;  // it may overlap the edit's border
    EXPECT_GE(arrows.top, field.top - 2) << spin;
    EXPECT_LE(arrows.bottom, field.bottom + 2) << spin;
    EXPECT_GT(field.right - field.left, arrows.right - arrows.left) << edit;
}

LONG StyleOf(HWND page, int id) { return GetWindowLongA(GetDlgItem(page, id), GWL_STYLE); }

TEST_F(SheetTest, PagesAreLaidOutAsTheirTemplates) {
    RunSheet({[](HWND sheet) {
        HWND page = CurrentPage(sheet);
        ExpectTemplate(page, CdInformation);
        const LONG name = StyleOf(page, IDC_INFO_NAME);
        EXPECT_EQ(name & (ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL), ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL);
        EXPECT_TRUE(StyleOf(page, IDC_INFO_ARTIST) & ES_AUTOHSCROLL);
        const LONG list = StyleOf(page, IDC_INFO_TRACKS);
        EXPECT_EQ(list & (LBS_NOTIFY | LBS_SORT | LBS_MULTIPLESEL), LBS_NOTIFY);

        ShowTab(sheet, 1);
        page = CurrentPage(sheet);
        ExpectTemplate(page, Programming);
        EXPECT_TRUE(StyleOf(page, IDC_PROGRAM_UP) & BS_ICON);
        EXPECT_TRUE(StyleOf(page, IDC_PROGRAM_DOWN) & BS_ICON);
        EXPECT_NE(SendDlgItemMessageA(page, IDC_PROGRAM_DOWN, BM_GETIMAGE, IMAGE_ICON, 0), 0);

        ShowTab(sheet, 2);
        page = CurrentPage(sheet);
        ExpectTemplate(page, CddbQuery);
        EXPECT_TRUE(StyleOf(page, IDC_QUERY_STATUS) & ES_READONLY);
        const LONG servers = StyleOf(page, IDC_QUERY_SERVERS);
        EXPECT_EQ(servers & (CBS_DROPDOWNLIST | CBS_SORT), CBS_DROPDOWNLIST);

        ShowTab(sheet, 3);
        page = CurrentPage(sheet);
        ExpectTemplate(page, CddbSubmit);
        EXPECT_TRUE(StyleOf(page, IDC_SUBMIT_STATUS) & ES_READONLY);

        ShowTab(sheet, 4);
        page = CurrentPage(sheet);
        ExpectTemplate(page, Options);
        for (auto [spin, edit] : {std::pair{IDC_OPT_INTRO_START_SPIN, IDC_OPT_INTRO_START},
                                  std::pair{IDC_OPT_INTRO_LENGTH_SPIN, IDC_OPT_INTRO_LENGTH}}) {
            EXPECT_EQ(reinterpret_cast<HWND>(SendDlgItemMessageA(page, spin, UDM_GETBUDDY, 0, 0)),
                      GetDlgItem(page, edit));
            const LONG style = StyleOf(page, spin);
            EXPECT_EQ(style & (UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ARROWKEYS | UDS_ALIGNRIGHT),
                      UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ARROWKEYS | UDS_ALIGNRIGHT);
        }
        ExpectSpinAtEditsEnd(page, IDC_OPT_INTRO_START, IDC_OPT_INTRO_START_SPIN);
        ExpectSpinAtEditsEnd(page, IDC_OPT_INTRO_LENGTH, IDC_OPT_INTRO_LENGTH_SPIN);
        int low = 0, high = 0;
        SendDlgItemMessageA(page, IDC_OPT_INTRO_LENGTH_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                            reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(low, 2);
        EXPECT_EQ(high, 1000);
        SendDlgItemMessageA(page, IDC_OPT_INTRO_START_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                            reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(low, 0);
        EXPECT_EQ(high, 1000);
        return PressCancel(sheet);
    }});
}

} // namespace

namespace {

TEST_F(SheetTest, TheSubmitDialogIsLaidOutAsItsTemplate) {
    ProgramOptions().smtpReturnAddress = "me@example.org";
    ProgramOptions().smtpServerName = "mail.example.org";
    RunSheet({
        [](HWND sheet) {
            ShowTab(sheet, 3);
            const HWND page = CurrentPage(sheet);
            // Posted: the dialog's own modal loop must not run inside this step.
            PostMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_SUBMIT_NOW, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_SUBMIT_NOW)));
            return true;
        },
        [](HWND) {
            const HWND dialog = FindWindowA(nullptr, "Submit A New Entry");
            if (!dialog) return false;
            ExpectTemplate(dialog, SubmitEntry);
            const LONG style = GetWindowLongA(dialog, GWL_STYLE);
            EXPECT_FALSE(style & WS_SYSMENU);
            EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
            EXPECT_EQ(StyleOf(dialog, IDC_SUBMIT_CATEGORY) & (CBS_DROPDOWNLIST | CBS_SORT), CBS_DROPDOWNLIST);
            // Escape counts as Cancel.
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
        [](HWND sheet) {
            if (FindWindowA(nullptr, "Submit A New Entry")) return false;
            return PressCancel(sheet);
        },
    });
}

} // namespace
