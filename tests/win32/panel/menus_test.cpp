// The pop-up menus and the Select Track dialog of the real main window.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/trayicon.h"
#include "discinfo/lifecycle.h"
#include "resources/messageids.h"
#include "tests/support/win32/panelfixture.h"

namespace {

struct Item {
    UINT id; // 0: separator; -1: the Select Track pop-up
    const char* text;
};
// The Select Track item of a track, 1 to 20.
constexpr UINT TrackItem(int track) { return static_cast<UINT>(IDM_TRACK_FIRST - 1 + track); }

constexpr UINT Separator = 0;
constexpr UINT SubMenu = static_cast<UINT>(-1);

void ExpectItems(HMENU menu, const std::vector<Item>& expected) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size()));
    for (int position = 0; position < static_cast<int>(expected.size()); ++position) {
        const Item& item = expected[static_cast<size_t>(position)];
        char text[100] = {};
        GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
        if (item.id == Separator) {
            EXPECT_TRUE(state & MF_SEPARATOR) << position;
        } else if (item.id == SubMenu) {
            EXPECT_NE(GetSubMenu(menu, position), nullptr) << position;
            EXPECT_EQ(std::string(text), item.text) << position;
        } else {
            EXPECT_EQ(GetMenuItemID(menu, position), item.id) << position;
            EXPECT_EQ(std::string(text), item.text) << position;
        }
    }
}

TEST_F(PanelWindowTest, BothMenusHoldEveryItemInOrder) {
    Start("album.disc");
    ExpectItems(TrayMenu(), {{IDM_PLAY, "Play"}, {IDM_PAUSE, "Pause"}, {IDM_STOP, "Stop"}, {IDM_EJECT, "Eject"},
                             {Separator, ""}, {IDM_NEXT_TRACK, "Next Track"},
                             {IDM_PREVIOUS_TRACK, "Previous Track"}, {SubMenu, "Select Track"}, {Separator, ""},
                             {IDM_RANDOM_ORDER, "Random Order"}, {IDM_INTRO_PLAY, "Introduction Play"},
                             {IDM_REPEAT_ALL, "Repeat All"}, {IDM_REPEAT_CURRENT, "Repeat Current"},
                             {IDM_SHOW_CONTROLS, "Show Controls"}, {Separator, ""},
                             {IDM_PROPERTIES, "Properties..."}, {Separator, ""}, {IDM_ABOUT, "About Tunova2..."},
                             {IDM_EXIT, "Exit Tunova2"}});
    ExpectItems(PanelMenu(), {{SubMenu, "Select Track"}, {Separator, ""}, {IDM_RANDOM_ORDER, "Random Order"},
                              {IDM_INTRO_PLAY, "Introduction Play"}, {IDM_REPEAT_ALL, "Repeat All"},
                              {IDM_REPEAT_CURRENT, "Repeat Current"}, {IDM_HIDE_CONTROLS, "Hide Controls"},
                              {Separator, ""}, {IDM_PROPERTIES, "Properties..."}, {Separator, ""},
                              {IDM_ABOUT, "About Tunova2..."}, {IDM_EXIT, "Exit Tunova2"}});
}

TEST_F(PanelWindowTest, AlbumTrackItemsShowNumberAndLength) {
    Start("album.disc");
    ASSERT_EQ(GetMenuItemCount(TrayTracks()), 12);
    EXPECT_EQ(GetMenuState(TrayTracks(), IDM_TRACK_PLACEHOLDER, MF_BYCOMMAND), static_cast<UINT>(-1))
        << "placeholder gone";
    EXPECT_EQ(MenuText(TrayTracks(), TrackItem(1)), "(1) 4:03");
    EXPECT_EQ(MenuText(TrayTracks(), TrackItem(12)), "(12) 3:40");
    const std::regex itemText(R"(\((\d+)\) \d+:\d\d)");
    for (int track = 1; track <= 12; ++track) {
        std::smatch match;
        const std::string text = MenuText(TrayTracks(), TrackItem(track));
        ASSERT_TRUE(std::regex_match(text, match, itemText)) << text;
        EXPECT_EQ(std::stoi(match[1]), track);
        EXPECT_EQ(GetMenuItemID(TrayTracks(), track - 1), TrackItem(track));
        EXPECT_EQ(Shell().trackMarks[static_cast<size_t>(track - 1)].menuCommand, static_cast<int>(TrackItem(track)));
    }
    EXPECT_EQ(GetMenuState(TrayTracks(), IDM_COMPLETE_TRACK_LIST, MF_BYCOMMAND), static_cast<UINT>(-1));
    // The panel's menu is brought up to date only while the panel is shown; showing it
    // makes its track texts as well.
    EXPECT_EQ(MenuText(PanelTracks(), TrackItem(1)), "");
    Command(IDM_SHOW_CONTROLS);
    EXPECT_EQ(MenuText(PanelTracks(), TrackItem(1)), "(1) 4:03");
    EXPECT_EQ(MenuText(PanelTracks(), TrackItem(12)), "(12) 3:40");
}

TEST_F(PanelWindowTest, TitlesArriveWithTheDiscInformationMessage) {
    Start("album.disc");
    Command(IDM_SHOW_CONTROLS);
    {
        DiscInfoHold hold;
        DiscInfo().trackTitles[0] = std::string("Overture");
        DiscInfo().trackTitles[2] = std::string("夜明けの歌");
        DiscInfo().trackTitles[3] = std::string("Песня о море");
        DiscInfo().trackTitles[4] = std::string("Ωδή στη θάλασσα 𝄞");
        DiscInfo().trackTitles[11] = std::string("Salt & Pepper");
    }
    SendMessageW(window_, DiscInfoChangedMessage, 0, 0);
    for (HMENU tracks : {TrayTracks(), PanelTracks()}) {
        EXPECT_EQ(MenuText(tracks, TrackItem(1)), "(1) 4:03 - Overture");
        EXPECT_EQ(MenuText(tracks, TrackItem(3)), "(3) 4:27 - 夜明けの歌");
        EXPECT_EQ(MenuText(tracks, TrackItem(4)), "(4) 3:12 - Песня о море");
        EXPECT_EQ(MenuText(tracks, TrackItem(5)), "(5) 5:01 - Ωδή στη θάλασσα 𝄞");
        EXPECT_EQ(MenuText(tracks, TrackItem(12)), "(12) 3:40 - Salt && Pepper");
        EXPECT_EQ(MenuText(tracks, TrackItem(2)), "(2) 3:51");
    }
}

TEST_F(PanelWindowTest, PlayItemsAndChecksFollowThePlayState) {
    Start("album.disc");
    struct Case {
        int command;
        PlayState state;
        bool play, pause, stop, eject, next, previous;
    };
    const Case cases[] = {
        {0, Playing, false, true, true, true, true, true},
        {IDM_PAUSE, Paused, true, true, true, true, false, false},
        {IDM_STOP, Stopped, true, false, false, true, false, false},
        {IDM_PLAY, Playing, false, true, true, true, true, true},
    };
    for (const Case& c : cases) {
        if (c.command) Command(c.command);
        ASSERT_EQ(Shell().playState, c.state) << c.command;
        EXPECT_EQ(Grey(TrayMenu(), IDM_PLAY), !c.play) << c.command;
        EXPECT_EQ(Grey(TrayMenu(), IDM_PAUSE), !c.pause) << c.command;
        EXPECT_EQ(Grey(TrayMenu(), IDM_STOP), !c.stop) << c.command;
        EXPECT_EQ(Grey(TrayMenu(), IDM_EJECT), !c.eject) << c.command;
        EXPECT_EQ(Grey(TrayMenu(), IDM_NEXT_TRACK), !c.next) << c.command;
        EXPECT_EQ(Grey(TrayMenu(), IDM_PREVIOUS_TRACK), !c.previous) << c.command;
    }

    // Checks: the icon's menu always, the panel's only while the panel is shown.
    for (UINT id : {40020u, 40041u, 40043u, 40044u}) {
        Command(static_cast<int>(id));
        EXPECT_TRUE(Checked(TrayMenu(), id)) << id;
        EXPECT_FALSE(Checked(PanelMenu(), id)) << id;
    }
    EXPECT_FALSE(Checked(TrayMenu(), IDM_SHOW_CONTROLS));
    Command(IDM_SHOW_CONTROLS);
    EXPECT_TRUE(Checked(TrayMenu(), IDM_SHOW_CONTROLS));
    for (UINT id : {40020u, 40041u, 40043u, 40044u}) EXPECT_TRUE(Checked(PanelMenu(), id)) << id;
    Command(IDM_REPEAT_ALL);
    EXPECT_FALSE(Checked(TrayMenu(), IDM_REPEAT_ALL));
    EXPECT_FALSE(Checked(PanelMenu(), IDM_REPEAT_ALL));
    Command(IDM_HIDE_CONTROLS);
    EXPECT_FALSE(Checked(TrayMenu(), IDM_SHOW_CONTROLS));
    EXPECT_FALSE(IsWindowVisible(window_));
}

TEST_F(PanelWindowTest, DataTrackIsNoAudioAndGreyFromTheStart) {
    Start("datatrack5.disc");
    Command(IDM_SHOW_CONTROLS);
    for (HMENU tracks : {TrayTracks(), PanelTracks()}) {
        EXPECT_EQ(MenuText(tracks, TrackItem(5)), "(5) No Audio");
        EXPECT_TRUE(Grey(tracks, TrackItem(5)));
        EXPECT_FALSE(Grey(tracks, TrackItem(6)));
    }
}

TEST_F(PanelWindowTest, PlayedTracksAreCheckedAndTheCurrentOneIsGrey) {
    Start("album.disc");
    Command(IDM_SHOW_CONTROLS);
    Command(TrackItem(2)); // track 2 from the menu: track 1 counts as played
    ASSERT_EQ(Shell().currentTrack, 2);
    Command(IDM_NEXT_TRACK); // Next Track
    ASSERT_EQ(Shell().currentTrack, 3);
    for (HMENU tracks : {TrayTracks(), PanelTracks()}) {
        EXPECT_TRUE(Checked(tracks, TrackItem(1)));
        EXPECT_TRUE(Checked(tracks, TrackItem(2)));
        EXPECT_FALSE(Checked(tracks, TrackItem(3)));
        EXPECT_TRUE(Grey(tracks, TrackItem(3)));
        EXPECT_FALSE(Grey(tracks, TrackItem(1)));
        EXPECT_FALSE(Checked(tracks, TrackItem(4)));
        EXPECT_FALSE(Grey(tracks, TrackItem(4)));
    }
}

// Lines of the open Select Track dialog, and its selection.
struct DialogSeen {
    std::vector<std::string> lines;
    int selected = -2;
};

DialogSeen ReadDialog(HWND dialog) {
    DialogSeen seen;
    HWND list = GetDlgItem(dialog, IDC_TRACK_LIST);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) seen.lines.push_back(ListLineText(list, i));
    seen.selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    return seen;
}

// Closes a Select Track dialog that should not have opened.
bool CancelDialog() {
    HWND dialog = FindWindowA(nullptr, "Select Track");
    if (!dialog) return false;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return true;
}

TEST_F(PanelWindowTest, LongDiscOffersTwentyItemsAndTheCompleteList) {
    Start("tracks25.disc");
    ASSERT_EQ(GetMenuItemCount(TrayTracks()), 21);
    EXPECT_EQ(GetMenuItemID(TrayTracks(), 19), 32888u);
    EXPECT_EQ(GetMenuItemID(TrayTracks(), 20), 32889u);
    EXPECT_EQ(MenuText(TrayTracks(), IDM_COMPLETE_TRACK_LIST), "Complete Track List...");
    EXPECT_EQ(MenuText(PanelTracks(), IDM_COMPLETE_TRACK_LIST), "Complete Track List...");
    EXPECT_EQ(Shell().trackMarks[20].menuCommand, 0) << "track 21 has no item";

    // Track 22 through the dialog, chosen with OK.
    DialogSeen seen;
    const bool chose = WhileModal(
        [&seen] {
            HWND dialog = FindWindowA(nullptr, "Select Track");
            if (!dialog || !Shell().selectDialogOpen) return false;
            seen = ReadDialog(dialog);
            SendDlgItemMessageA(dialog, IDC_TRACK_LIST, LB_SETCURSEL, 21, 0);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return true;
        },
        WM_COMMAND, IDM_COMPLETE_TRACK_LIST, 0);
    ASSERT_TRUE(chose);
    ASSERT_EQ(seen.lines.size(), 25u);
    EXPECT_EQ(seen.selected, 0) << "the current track's line";
    EXPECT_EQ(seen.lines[0], "(1) 1:00");
    EXPECT_EQ(seen.lines[21], "(22) 4:03");
    EXPECT_FALSE(Shell().selectDialogOpen);
    EXPECT_EQ(Shell().currentTrack, 22);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_TRUE(Checked(TrayTracks(), TrackItem(1))) << "track 1 was left, so it counts as played";

    // Cancel plays nothing; the dialog opens on the current track.
    seen = DialogSeen();
    ASSERT_TRUE(WhileModal(
        [&seen] {
            HWND dialog = FindWindowA(nullptr, "Select Track");
            if (!dialog) return false;
            seen = ReadDialog(dialog);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
        WM_COMMAND, IDM_COMPLETE_TRACK_LIST, 0));
    EXPECT_EQ(seen.selected, 21);
    EXPECT_EQ(Shell().currentTrack, 22);

    // A double click on a line chooses it.
    ASSERT_TRUE(WhileModal(
        [] {
            HWND dialog = FindWindowA(nullptr, "Select Track");
            if (!dialog) return false;
            SendDlgItemMessageA(dialog, IDC_TRACK_LIST, LB_SETCURSEL, 24, 0);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TRACK_LIST, LBN_DBLCLK),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_TRACK_LIST)));
            return true;
        },
        WM_COMMAND, IDM_COMPLETE_TRACK_LIST, 0));
    EXPECT_EQ(Shell().currentTrack, 25);

    // While one dialog is open a second is not opened.
    Shell().selectDialogOpen = true;
    EXPECT_FALSE(WhileModal(CancelDialog, WM_COMMAND, IDM_COMPLETE_TRACK_LIST, 0));
    Shell().selectDialogOpen = false;
}

// A data track offered in the complete list plays nothing: the music goes on.
TEST_F(PanelWindowTest, ADataTrackFromTheCompleteListLeavesTheMusicPlaying) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    const std::string path = std::string(folder) + "tunova_data22.disc";
    std::string text;
    for (int track = 1; track <= 25; ++track)
        text += std::string(track == 22 ? "track data " : "track audio ") + std::to_string(150 + (track - 1) * 4500) + "\n";
    text += "leadout " + std::to_string(150 + 25 * 4500) + "\n";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);

    StartOn(path);
    ASSERT_TRUE(WhileModal(
        [] {
            HWND dialog = FindWindowA(nullptr, "Select Track");
            if (!dialog || !Shell().selectDialogOpen) return false;
            SendDlgItemMessageA(dialog, IDC_TRACK_LIST, LB_SETCURSEL, 21, 0);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return true;
        },
        WM_COMMAND, IDM_COMPLETE_TRACK_LIST, 0));
    EXPECT_EQ(Shell().currentTrack, 1);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_FALSE(Checked(TrayTracks(), TrackItem(1))) << "track 1 was not left";
    Pump(1200); // a status tick finds the drive still playing
    EXPECT_EQ(GetDeviceMode(), Playing);
    EXPECT_EQ(Shell().playState, Playing);
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
    Pump(50);
    DeleteFileA(path.c_str());
}

TEST_F(PanelWindowTest, ShortDiscHasNoDialog) {
    Start("album.disc");
    EXPECT_FALSE(WhileModal(CancelDialog, WM_COMMAND, IDM_COMPLETE_TRACK_LIST, 0));
    EXPECT_EQ(Shell().currentTrack, 1);
}

// The open menu, seen from inside its modal loop.
struct MenuSeen {
    bool open = false;
    bool rightButtonDown = true;
};

bool CloseOpenMenu(MenuSeen& seen) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return false;
    seen.open = true;
    BYTE keys[256];
    GetKeyboardState(keys);
    seen.rightButtonDown = (keys[VK_RBUTTON] & 0x80) != 0;
    EndMenu();
    return true;
}

TEST_F(PanelWindowTest, RightButtonOpensTheMenus) {
    Start("album.disc");
    // The icon's menu opens with the right button's pressed bit cleared.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_RBUTTON] |= 0x80;
    SetKeyboardState(keys);
    MenuSeen tray;
    EXPECT_TRUE(WhileModal([&tray] { return CloseOpenMenu(tray); }, TrayCallbackMessage, 0, WM_RBUTTONDOWN));
    EXPECT_TRUE(tray.open);
    EXPECT_FALSE(tray.rightButtonDown);

    Command(IDM_SHOW_CONTROLS);
    for (UINT message : {static_cast<UINT>(WM_RBUTTONUP), static_cast<UINT>(WM_NCRBUTTONUP)}) {
        MenuSeen panel;
        EXPECT_TRUE(WhileModal([&panel] { return CloseOpenMenu(panel); }, message, 0, 0)) << message;
        EXPECT_TRUE(panel.open) << message;
    }
}

} // namespace
