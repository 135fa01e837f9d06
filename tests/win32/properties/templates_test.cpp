// The pages' templates as the sheet creates them: every control in order with its
// id, kind, text, place and size.
#include <cstring>

#include "resources/resource.h"
#include "sheetfixture.h"

namespace {

struct Control {
    int id;
    const char* className;
    const char* text;
    int x, y, width, height;
    LONG kind;  // the low style bits that make the kind of a button or static; -1: not checked
};

constexpr LONG Right = SS_RIGHT, Centred = SS_CENTER, Left = SS_LEFT, Group = BS_GROUPBOX,
               Push = BS_PUSHBUTTON, Check = BS_AUTOCHECKBOX, Radio = BS_AUTORADIOBUTTON, Any = -1;

const std::vector<Control> CdInformation = {
    {-1, "Button", "General", 10, 5, 210, 47, Group},
    {-1, "Static", "Artist:", 12, 22, 24, 8, Right},
    {IDC_INFO_ARTIST, "Edit", nullptr, 38, 20, 178, 12, Any},
    {-1, "Static", "Title:", 12, 38, 24, 8, Right},
    {IDC_INFO_TITLE, "Edit", nullptr, 38, 35, 178, 12, Any},
    {-1, "Button", "Tracks", 10, 60, 210, 132, Group},
    {IDC_INFO_TRACKS, "ListBox", nullptr, 15, 75, 201, 97, Any},
    {-1, "Static", "Name:", 14, 178, 26, 8, Right},
    {IDC_INFO_NAME, "Edit", nullptr, 42, 176, 174, 12, Any},
    {IDC_INFO_CLEAR_ALL, "Button", "Clear All", 86, 200, 56, 14, Push},
};

const std::vector<Control> Programming = {
    {-1, "Button", "Disc Order", 10, 5, 208, 90, Group},
    {IDC_PROGRAM_DISC_ORDER, "ListBox", nullptr, 15, 20, 199, 70, Any},
    {-1, "Button", "Programmed Order", 10, 100, 208, 110, Group},
    {IDC_PROGRAM_ADD, "Button", "Add", 35, 116, 35, 14, Push},
    {IDC_PROGRAM_REMOVE, "Button", "Remove", 78, 116, 35, 14, Push},
    {IDC_PROGRAM_CLEAR, "Button", "Clear", 146, 116, 35, 14, Push},
    {IDC_PROGRAM_ORDER, "ListBox", nullptr, 15, 134, 191, 72, Any},
    {IDC_PROGRAM_UP, "Button", "", 206, 136, 8, 34, Push},
    {IDC_PROGRAM_DOWN, "Button", "", 206, 170, 8, 34, Push},
};

const std::vector<Control> CddbQuery = {
    {-1, "Button", "Local Database", 4, 4, 220, 56, Group},
    {IDC_QUERY_LOCAL, "Button", "Query Local Database", 12, 18, 92, 8, Check},
    {-1, "Static", "Database Root Directory:", 14, 34, 90, 8, Left},
    {IDC_QUERY_ROOT_DIRECTORY, "Edit", "", 12, 42, 204, 12, Any},
    {-1, "Button", "Internet Database Server", 4, 66, 220, 102, Group},
    {IDC_QUERY_SERVER, "Button", "Query Server", 12, 80, 64, 8, Check},
    {IDC_QUERY_USE_PROXY, "Button", "Use Proxy Host (To access a cddb server through a firewall)", 12, 92, 210, 8,
     Check},
    {-1, "Static", "cddb Servers - Select closest for fastest response:", 14, 108, 170, 8, Left},
    // A drop-down list's window is one line high, whatever the template's height: its
    // place is checked apart.
    {IDC_QUERY_SERVERS, "ComboBox", "", 0, 0, 0, 0, Any},
    {-1, "Static", "Proxy Host Name:", 6, 138, 60, 8, Right},
    {IDC_QUERY_PROXY_NAME, "Edit", "", 68, 136, 148, 12, Any},
    {-1, "Static", "Port Number:", 16, 152, 50, 8, Right},
    {IDC_QUERY_PROXY_PORT, "Edit", "0", 68, 150, 36, 12, Any},
    {-1, "Static", "cddb Query Status:", 14, 180, 90, 8, Left},
    {IDC_QUERY_STATUS, "Edit", "", 12, 188, 204, 12, Any},
    {IDC_QUERY_NOW, "Button", "Query cddb Now", 80, 206, 68, 12, Push},
};

const std::vector<Control> CddbSubmit = {
    {-1, "Button", "SMTP Configuration", 4, 6, 220, 72, Group},
    {-1, "Static", "Return Address (required):", 14, 22, 98, 8, Left},
    {IDC_SUBMIT_RETURN_ADDRESS, "Edit", "", 12, 30, 204, 12, Any},
    {-1, "Static", "SMTP Server (required):", 14, 50, 92, 8, Left},
    {IDC_SUBMIT_SMTP_SERVER, "Edit", "", 12, 58, 204, 12, Any},
    {-1, "Static", "cddb Submit Status:", 14, 90, 76, 8, Left},
    {IDC_SUBMIT_STATUS, "Edit", "", 12, 98, 204, 12, Any},
    {IDC_SUBMIT_NOW, "Button", "Submit New Entry Now", 76, 116, 76, 12, Push},
};

const std::vector<Control> SubmitEntry = {
    {-1, "Button", "Please Use The Following Guidelines For Submitting New Entries", 4, 6, 214, 108, Group},
    {-1, "Static", "Submit entries only after you verify they are not already in the database.", 14, 20, 196, 16,
     Left},
    {-1, "Static", "Do not submit entries that are not completely filled-out (i.e., empty track titles, etc.).", 14,
     42, 196, 16, Left},
    {-1, "Static",
     "Capitalize the first letter of each word only.  Do not use upper case for whole words unless it's absolutely "
     "necessary.",
     14, 64, 196, 16, Left},
    {-1, "Static", "Verify that all spelling is correct.", 14, 86, 196, 8, Left},
    {-1, "Static", "Submit the entry using the appropriate category.", 14, 100, 196, 8, Left},
    {-1, "Static", "Select Category For New Entry:", 16, 124, 132, 8, Left},
    {IDC_SUBMIT_CATEGORY, "ComboBox", nullptr, 0, 0, 0, 0, Any},
    {IDOK, "Button", "Submit", 32, 154, 50, 14, BS_DEFPUSHBUTTON},
    {IDCANCEL, "Button", "Cancel", 138, 154, 50, 14, Push},
};

// Each spin places itself inside its edit's right end and narrows the edit: their
// places are checked apart.
const std::vector<Control> Options = {
    {-1, "Button", "CD Control Panel", 8, 6, 100, 56, Group},
    {IDC_OPT_VISIBLE_AT_START, "Button", "Show at Startup", 18, 20, 70, 10, Check},
    {IDC_OPT_ON_TOP, "Button", "Always Visible", 18, 34, 70, 10, Check},
    {-1, "Button", "Play", 118, 6, 102, 56, Group},
    {IDC_OPT_SHUFFLE, "Button", "Random Track Order", 128, 20, 88, 10, Check},
    {IDC_OPT_REPEAT_ALL, "Button", "Repeat All Tracks", 128, 34, 88, 10, Check},
    {IDC_OPT_RESUME_WHERE_STOPPED, "Button", "Resume Where Stopped", 128, 48, 90, 10, Check},
    {-1, "Button", "Introduction Play", 8, 68, 212, 44, Group},
    {-1, "Static", "Start after", 18, 84, 40, 8, Right},
    {IDC_OPT_INTRO_START, "Edit", nullptr, 0, 0, 0, 0, Any},
    {IDC_OPT_INTRO_START_SPIN, "msctls_updown32", nullptr, 0, 0, 0, 0, Any},
    {-1, "Static", "seconds or", 86, 84, 46, 8, Centred},
    {IDC_OPT_AT_MIDDLE, "Button", "at middle of track", 134, 84, 72, 8, Check},
    {-1, "Static", "and play for", 46, 98, 54, 8, Right},
    {IDC_OPT_INTRO_LENGTH, "Edit", nullptr, 0, 0, 0, 0, Any},
    {IDC_OPT_INTRO_LENGTH_SPIN, "msctls_updown32", nullptr, 0, 0, 0, 0, Any},
    {-1, "Static", "seconds.", 132, 98, 40, 8, Left},
    {-1, "Button", "Time Display", 8, 118, 212, 42, Group},
    {IDC_OPT_TRACK_ELAPSED, "Button", "Track Time Elapsed", 18, 132, 94, 10, Radio},
    {IDC_OPT_TRACK_REMAINING, "Button", "Track Time Remaining", 18, 146, 94, 10, Radio},
    {IDC_OPT_DISC_ELAPSED, "Button", "Disc Time Elapsed", 118, 132, 98, 10, Radio},
    {IDC_OPT_DISC_REMAINING, "Button", "Disc Time Remaining", 118, 146, 98, 10, Radio},
    {-1, "Button", "Eject And Exit", 8, 166, 212, 56, Group},
    {IDC_OPT_EJECT_AT_END, "Button", "Eject at End of Track Play", 18, 180, 106, 10, Check},
    {IDC_OPT_EJECT_AT_EXIT, "Button", "Eject When Exiting Tunova", 18, 194, 110, 10, Check},
    {IDC_OPT_STOP_AT_EXIT, "Button", "Stop CD Player When Exiting Tunova", 18, 208, 148, 10, Check},
};

RECT DialogUnits(HWND page, int x, int y, int width, int height) {
    RECT origin{x, y, 0, 0}, size{width, height, 0, 0};
    MapDialogRect(page, &origin);
    MapDialogRect(page, &size);
    return RECT{origin.left, origin.top, origin.left + size.left, origin.top + size.top};
}

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
            EXPECT_EQ(TextOf(child), want.text) << "child " << index;
        }
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (want.kind != Any) {
            const LONG mask = std::string(want.className) == "Static" ? SS_TYPEMASK : 0x0F;
            EXPECT_EQ(style & mask, want.kind) << "child " << index;
        }
        if (want.width) {
            RECT actual;
            GetWindowRect(child, &actual);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&actual), 2);
            const RECT place = DialogUnits(page, want.x, want.y, want.width, want.height);
            EXPECT_TRUE(EqualRect(&actual, &place)) << "child " << index;
        }
    }
    EXPECT_EQ(index, expected.size());
}

RECT PlaceOf(HWND page, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(page, id), &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Together the edit and its spin fill the edit's place.
void ExpectSpinField(HWND page, int edit, int spin, int x, int y, int width, int height) {
    const RECT place = DialogUnits(page, x, y, width, height);
    const RECT field = PlaceOf(page, edit);
    const RECT arrows = PlaceOf(page, spin);
    EXPECT_EQ(field.left, place.left) << edit;
    EXPECT_EQ(field.top, place.top) << edit;
    EXPECT_EQ(field.bottom, place.bottom) << edit;
    EXPECT_NEAR(arrows.right, place.right, 2) << spin;  // it may overlap the edit's border
    EXPECT_LE(field.right, arrows.left + 2) << spin;
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
        const RECT serversPlace = DialogUnits(page, 12, 116, 204, 58);
        const RECT serversBox = PlaceOf(page, IDC_QUERY_SERVERS);
        EXPECT_EQ(serversBox.left, serversPlace.left);
        EXPECT_EQ(serversBox.top, serversPlace.top);
        EXPECT_EQ(serversBox.right, serversPlace.right);

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
        ExpectSpinField(page, IDC_OPT_INTRO_START, IDC_OPT_INTRO_START_SPIN, 62, 82, 24, 12);
        ExpectSpinField(page, IDC_OPT_INTRO_LENGTH, IDC_OPT_INTRO_LENGTH_SPIN, 104, 96, 24, 12);
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
    std::strcpy(ProgramOptions().smtpReturnAddress, "me@example.org");
    std::strcpy(ProgramOptions().smtpServerName, "mail.example.org");
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
            RECT client;
            GetClientRect(dialog, &client);
            const RECT size = DialogUnits(dialog, 0, 0, 222, 177);
            EXPECT_EQ(client.right, size.right);
            EXPECT_EQ(client.bottom, size.bottom);
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
