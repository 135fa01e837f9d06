// The notification icon's events as each kind of shell sends them, and the keyboard's.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/desktoptheme.h"
#include "app/trayevents.h"
#include "app/trayicon.h"
#include "platform/memoryregistry.h"
#include "playerfixture.h"
#include "resources/resource.h"

namespace {

constexpr unsigned LeftDown = 0x0201, LeftUp = 0x0202, LeftDouble = 0x0203, RightDown = 0x0204, RightUp = 0x0205,
                   MouseMove = 0x0200;

// The second parameter at version 4: the event, and the icon's id in the high word.
std::intptr_t Version4Event(unsigned message) {
    return static_cast<std::intptr_t>(message | (TrayIconUid << 16));
}
std::uintptr_t Anchor(int x, int y) {
    return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16) | static_cast<std::uint16_t>(x);
}

TEST(TrayCallback, EachBehaviourReadsItsOwnFormAndOpensTheMenuOnce) {
    struct Case {
        int behaviour;
        unsigned message;
        TrayAction action;
    };
    // A right click brings the button messages and, from Windows 2000 on, WM_CONTEXTMENU
    // after them: the menu opens for exactly one of them.
    const Case cases[] = {
        {TrayFirstBehaviour, LeftDown, TrayAction::Click},
        {TrayFirstBehaviour, LeftDouble, TrayAction::Click},
        {TrayFirstBehaviour, LeftUp, TrayAction::None},
        {TrayFirstBehaviour, RightDown, TrayAction::Menu},
        {TrayFirstBehaviour, RightUp, TrayAction::None},
        {TrayFirstBehaviour, MouseMove, TrayAction::None},
        {TrayKeyboardBehaviour, LeftDown, TrayAction::Click},
        {TrayKeyboardBehaviour, LeftDouble, TrayAction::Click},
        {TrayKeyboardBehaviour, RightDown, TrayAction::None},
        {TrayKeyboardBehaviour, TrayContextMenu, TrayAction::Menu},
        {TrayKeyboardBehaviour, TraySelect, TrayAction::None}, // the click was heard already
        {TrayKeyboardBehaviour, TrayKeySelect, TrayAction::KeySelect},
        {TrayCurrentBehaviour, LeftDown, TrayAction::Click},
        {TrayCurrentBehaviour, LeftDouble, TrayAction::Click},
        {TrayCurrentBehaviour, RightDown, TrayAction::None},
        {TrayCurrentBehaviour, RightUp, TrayAction::None},
        {TrayCurrentBehaviour, TrayContextMenu, TrayAction::Menu},
        {TrayCurrentBehaviour, TraySelect, TrayAction::None},
        {TrayCurrentBehaviour, TrayKeySelect, TrayAction::KeySelect},
    };
    for (const Case& c : cases) {
        const bool current = c.behaviour == TrayCurrentBehaviour;
        const TrayEvent event = ReadTrayCallback(c.behaviour, current ? Anchor(900, 700) : TrayIconUid,
                                                 current ? Version4Event(c.message) : c.message);
        EXPECT_EQ(event.message, c.message) << c.behaviour << " " << c.message;
        EXPECT_EQ(event.action, c.action) << c.behaviour << " " << c.message;
    }
    // Version 0's shell sends no keyboard events; were they to come, they mean nothing.
    EXPECT_EQ(ReadTrayCallback(TrayFirstBehaviour, TrayIconUid, TrayKeySelect).action, TrayAction::None);
    EXPECT_EQ(ReadTrayCallback(TrayFirstBehaviour, TrayIconUid, TrayContextMenu).action, TrayAction::None);
}

TEST(TrayCallback, VersionFourCarriesTheMenusAnchorAnywhereOnTheDesktop) {
    TrayEvent event = ReadTrayCallback(TrayCurrentBehaviour, Anchor(1013, 757), Version4Event(TrayContextMenu));
    EXPECT_TRUE(event.anchored);
    EXPECT_EQ(event.x, 1013);
    EXPECT_EQ(event.y, 757);
    // A taskbar on a monitor left of and above the main one.
    event = ReadTrayCallback(TrayCurrentBehaviour, Anchor(-1800, -40), Version4Event(TrayContextMenu));
    EXPECT_EQ(event.x, -1800);
    EXPECT_EQ(event.y, -40);
    // Before version 4 the first parameter is the icon's id, not a point.
    EXPECT_FALSE(ReadTrayCallback(TrayKeyboardBehaviour, TrayIconUid, TrayContextMenu).anchored);
}

TEST(TrayCallback, TheRecordFollowsTheShellsVersion) {
    struct Case {
        unsigned major, minor, build;
        TrayRecord record;
    };
    for (const Case& c : {Case{4, 0, 950, TrayRecord::First}, Case{4, 72, 3110, TrayRecord::First},
                          Case{5, 0, 3900, TrayRecord::Second}, Case{6, 0, 2900, TrayRecord::Third},
                          Case{6, 0, 5999, TrayRecord::Third}, Case{6, 0, 6000, TrayRecord::Fourth},
                          Case{6, 1, 7601, TrayRecord::Fourth}, Case{10, 0, 19041, TrayRecord::Fourth}}) {
        EXPECT_EQ(TrayRecordFor(c.major, c.minor, c.build), c.record) << c.major << "." << c.minor << "." << c.build;
    }
}

TEST_F(PlayerTest, SpaceOrEnterOnTheIconPausesResumesAndStartsAtOnce) {
    LoadDisc(Album(3));
    Start(2);
    RunTrayKeySelect(10000, 500);
    EXPECT_EQ(Shell().playState, Paused);
    EXPECT_FALSE(view.clickTimerRunning) << "a key is no click: nothing waits for a second one";
    // Enter's second event for the same key.
    RunTrayKeySelect(10040, 500);
    EXPECT_EQ(Shell().playState, Paused);
    RunTrayKeySelect(11000, 500);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_EQ(Shell().currentTrack, 2);
    Shell().playState = StopPlay();
    RunTrayKeySelect(12000, 500);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_EQ(Shell().currentTrack, 1);
    // The tick count wraps after 49 days; a key just after is still a key.
    Shell().lastKeySelect = 0xFFFFFF00u;
    RunTrayKeySelect(0x00000400u, 500);
    EXPECT_EQ(Shell().playState, Paused);
}

class TaskbarThemeTest : public ::testing::Test {
protected:
    void SetUp() override { InstallRegistry(&registry); }
    void TearDown() override { InstallRegistry(nullptr); }
    void SetLight(const void* data, std::uint32_t size, std::uint32_t type = RegistryDword) {
        RegistryKeyHold key;
        ASSERT_EQ(registry.CreateKey(RegistryCurrentUser,
                                     "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                                     RegistryKeyWrite, key.Out()),
                  RegistrySuccess);
        ASSERT_EQ(registry.SetValue(key.Get(), "SystemUsesLightTheme", type, data, size), RegistrySuccess);
    }
    MemoryRegistry registry;
};

TEST_F(TaskbarThemeTest, OnlyAnExplicitDarkChoiceIsDark) {
    EXPECT_FALSE(TaskbarIsDark()) << "Windows before 10: no choice stored";
    const std::uint32_t dark = 0, light = 1;
    SetLight(&dark, 4);
    EXPECT_TRUE(TaskbarIsDark());
    SetLight(&light, 4);
    EXPECT_FALSE(TaskbarIsDark());
    SetLight("0", 2, RegistryText); // not a number the shell writes
    EXPECT_FALSE(TaskbarIsDark());
}

TEST(TaskbarTheme, EveryIconHasItsDarkTaskbarPicture) {
    struct Case {
        int icon, onDark;
    };
    for (const Case& c : {Case{TrayIconDisc, IDI_DISC_ON_DARK}, Case{TrayIconPlaying, IDI_DISC_NOTE_ON_DARK},
                          Case{TrayIconPaused, IDI_DISC_PAUSE_ON_DARK}, Case{TrayIconStopped, IDI_DISC_SQUARE_ON_DARK},
                          Case{TrayIconError, IDI_DISC_CROSS_ON_DARK}}) {
        EXPECT_EQ(TrayIconPicture(c.icon, false), c.icon);
        EXPECT_EQ(TrayIconPicture(c.icon, true), c.onDark);
    }
}

} // namespace
