// The sheet itself and its CD Information page, driven inside the real modal sheet.
#include <thread>

#include "discinfo/lookup.h"
#include "resources/resource.h"
#include "sheetfixture.h"

namespace {

std::vector<std::string> TabTitles(HWND sheet) {
    const HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    std::vector<std::string> titles;
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[100] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        titles.push_back(text);
    }
    return titles;
}

TEST_F(SheetTest, OpensWithThePagesAsTabsNoOwnerNoApplyAndTheCdInformationPageActive) {
    const int result = RunSheet({[](HWND sheet) {
        EXPECT_EQ(TabTitles(sheet), (std::vector<std::string>{"CD Information", "Programming", "cddb Query", "cddb Submit", "Options"}));
        EXPECT_EQ(GetWindow(sheet, GW_OWNER), nullptr);
        const HWND apply = GetDlgItem(sheet, 0x3021);
        EXPECT_TRUE(apply == nullptr || !IsWindowVisible(apply)) << "no Apply button";
        EXPECT_EQ(WindowText(GetDlgItem(sheet, IDOK)), "OK");
        EXPECT_EQ(WindowText(GetDlgItem(sheet, IDCANCEL)), "Cancel");
        const HWND page = CurrentPage(sheet);
        EXPECT_EQ(PropertyPages().cdInfoPage.load(), page);
        EXPECT_NE(GetDlgItem(page, IDC_INFO_ARTIST), nullptr);
        EXPECT_NE(SendMessageA(sheet, WM_GETICON, ICON_BIG, 0) | SendMessageA(sheet, WM_GETICON, ICON_SMALL, 0), 0);
        EXPECT_NE(DiscInfo().propertiesCopy, nullptr);
        return PressOk(sheet);
    }});
    EXPECT_EQ(result, 0) << "the program was not edited";
}

TEST_F(SheetTest, CdInformationPageShowsTheCopyAndOkCommitsTheTypedTexts) {
    const int result = RunSheet({[](HWND sheet) {
        const HWND page = CurrentPage(sheet);
        EXPECT_EQ(ItemText(page, IDC_INFO_ARTIST), "Old Artist");
        EXPECT_EQ(ItemText(page, IDC_INFO_TITLE), "Old Title");
        EXPECT_EQ(ListLines(page, IDC_INFO_TRACKS),
                  (std::vector<std::string>{"1) 3:05 - One", "2) 12:59 - ", "3) 4:07 - Blue Water"}));
        EXPECT_EQ(ListSelection(page, IDC_INFO_TRACKS), 0);
        EXPECT_EQ(ItemText(page, IDC_INFO_NAME), "One");

        Type(page, IDC_INFO_ARTIST, std::string(300, 'a').c_str());
        Type(page, IDC_INFO_TITLE, "New Title");
        PickLine(page, IDC_INFO_TRACKS, 1);
        EXPECT_EQ(ItemText(page, IDC_INFO_NAME), "");
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_INFO_NAME));
        Type(page, IDC_INFO_NAME, "Red");
        EXPECT_EQ(ListLines(page, IDC_INFO_TRACKS)[1], "2) 12:59 - Red") << "stored keystroke by keystroke";
        EXPECT_EQ(ListSelection(page, IDC_INFO_TRACKS), 1);
        // Enter moves on to the next track and stores nothing of the line break.
        Type(page, IDC_INFO_NAME, "Red\r\n");
        EXPECT_EQ(ListSelection(page, IDC_INFO_TRACKS), 2);
        EXPECT_EQ(ItemText(page, IDC_INFO_NAME), "Blue Water");
        EXPECT_EQ(ListLines(page, IDC_INFO_TRACKS)[1], "2) 12:59 - Red");
        // From the last track to the first.
        Type(page, IDC_INFO_NAME, "pasted\r\ntext");
        EXPECT_EQ(ListSelection(page, IDC_INFO_TRACKS), 0);
        EXPECT_EQ(ItemText(page, IDC_INFO_NAME), "One");
        EXPECT_EQ(ListLines(page, IDC_INFO_TRACKS)[2], "3) 4:07 - Blue Water");
        return PressOk(sheet);
    }});
    EXPECT_EQ(result, 0);
    const DiscInfoRecord& disc = DiscInfo();
    EXPECT_EQ(std::string(disc.artist), std::string(256, 'a'));
    EXPECT_EQ(disc.title, "New Title");
    EXPECT_EQ(disc.trackTitles[1], std::optional<std::string>("Red"));
    EXPECT_EQ(disc.trackTitles[2], std::optional<std::string>("Blue Water"));
}

TEST_F(SheetTest, CdInformationEditsHoldExactlyWhatTheRecordKeeps) {
    DiscInfo().title = std::string(256, 'T');
    RunSheet({[](HWND sheet) {
        const HWND page = CurrentPage(sheet);
        EXPECT_EQ(ItemText(page, IDC_INFO_TITLE), std::string(256, 'T'));
        // A title longer than the record keeps shows, and stores, what is kept.
        PickLine(page, IDC_INFO_TRACKS, 1);
        Type(page, IDC_INFO_NAME, std::string(300, 'n').c_str());
        EXPECT_EQ(ItemText(page, IDC_INFO_NAME), std::string(256, 'n'));
        EXPECT_EQ(ListLines(page, IDC_INFO_TRACKS)[1], "2) 12:59 - " + std::string(256, 'n'));
        // Enter still moves on from a title of full length.
        SendDlgItemMessageA(page, IDC_INFO_NAME, EM_SETSEL, 256, 256);
        SendDlgItemMessageA(page, IDC_INFO_NAME, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\r\n"));
        EXPECT_EQ(ListSelection(page, IDC_INFO_TRACKS), 2);
        // Leaving the page unchanged keeps the full title.
        ShowTab(sheet, 1);
        ShowTab(sheet, 0);
        return PressOk(sheet);
    }});
    EXPECT_EQ(std::string(DiscInfo().title), std::string(256, 'T'));
    EXPECT_EQ(DiscInfo().trackTitles[1], std::optional<std::string>(std::string(256, 'n')));
}

// Titles in any script show on the CD Information and Programming pages and reach the
// record letter for letter; the edits count letters, so 256 Japanese ones fit.
TEST_F(SheetTest, TitlesInEveryScriptShowAndAreStoredWhole) {
    DiscInfo().artist = "Мумий Тролль";
    DiscInfo().title = "夜明けの歌";
    DiscInfo().trackTitles = {std::string("Ωδή στη θάλασσα"), std::nullopt, std::string("海へ 𝄞")};
    std::string kana;
    for (int i = 0; i < 300; ++i) kana += "の";
    RunSheet({[&kana](HWND sheet) {
        const HWND page = CurrentPage(sheet);
        EXPECT_EQ(ItemText(page, IDC_INFO_ARTIST), "Мумий Тролль");
        EXPECT_EQ(ItemText(page, IDC_INFO_TITLE), "夜明けの歌");
        EXPECT_EQ(ListLines(page, IDC_INFO_TRACKS),
                  (std::vector<std::string>{"1) 3:05 - Ωδή στη θάλασσα", "2) 12:59 - ", "3) 4:07 - 海へ 𝄞"}));
        EXPECT_EQ(ItemText(page, IDC_INFO_NAME), "Ωδή στη θάλασσα");

        PickLine(page, IDC_INFO_TRACKS, 1);
        Type(page, IDC_INFO_NAME, "Песня о море");
        EXPECT_EQ(ListLines(page, IDC_INFO_TRACKS)[1], "2) 12:59 - Песня о море");
        Type(page, IDC_INFO_ARTIST, "Σωκράτης");
        Type(page, IDC_INFO_TITLE, kana);
        EXPECT_EQ(ItemText(page, IDC_INFO_TITLE), kana.substr(0, 256 * 3)) << "the edit takes 256 letters";

        ShowTab(sheet, 1);
        const HWND programming = CurrentPage(sheet);
        EXPECT_EQ(ListLines(programming, IDC_PROGRAM_DISC_ORDER),
                  (std::vector<std::string>{"1) 3:05 - Ωδή στη θάλασσα", "2) 12:59 - Песня о море",
                                            "3) 4:07 - 海へ 𝄞"}));
        return PressOk(sheet);
    }});
    const DiscInfoRecord& disc = DiscInfo();
    EXPECT_EQ(disc.artist, "Σωκράτης");
    EXPECT_EQ(disc.title, kana.substr(0, 256 * 3));
    EXPECT_EQ(disc.trackTitles[0], std::optional<std::string>("Ωδή στη θάλασσα"));
    EXPECT_EQ(disc.trackTitles[1], std::optional<std::string>("Песня о море"));
    EXPECT_EQ(disc.trackTitles[2], std::optional<std::string>("海へ 𝄞"));
}

TEST_F(SheetTest, CancelCommitsNothing) {
    RunSheet({[](HWND sheet) {
        const HWND page = CurrentPage(sheet);
        Type(page, IDC_INFO_ARTIST, "Typed Artist");
        Type(page, IDC_INFO_NAME, "Typed Title");
        return PressCancel(sheet);
    }});
    EXPECT_EQ(DiscInfo().artist, "Old Artist");
    EXPECT_EQ(DiscInfo().trackTitles[0], std::optional<std::string>("One"));
}

TEST_F(SheetTest, ClearAllAsksAndOnYesBlanksTheTextsButNotTheProgram) {
    DiscInfo().program = {3, 1};
    std::string question;
    RunSheet({
        [](HWND sheet) {
            PostMessageA(GetDlgItem(CurrentPage(sheet), IDC_INFO_CLEAR_ALL), BM_CLICK, 0, 0);
            return true;
        },
        [&](HWND sheet) {
            if (!AnswerBox("Clear All Confirmation", IDNO, &question)) return false;
            (void)sheet;
            return true;
        },
        [](HWND sheet) {
            if (FindWindowA(nullptr, "Clear All Confirmation")) return false;
            const HWND page = CurrentPage(sheet);
            EXPECT_EQ(ItemText(page, IDC_INFO_ARTIST), "Old Artist") << "No changes nothing";
            EXPECT_EQ(ListLines(page, IDC_INFO_TRACKS)[0], "1) 3:05 - One");
            PostMessageA(GetDlgItem(page, IDC_INFO_CLEAR_ALL), BM_CLICK, 0, 0);
            return true;
        },
        [](HWND) { return AnswerBox("Clear All Confirmation", IDYES); },
        [](HWND sheet) {
            if (FindWindowA(nullptr, "Clear All Confirmation")) return false;
            const HWND page = CurrentPage(sheet);
            EXPECT_EQ(ItemText(page, IDC_INFO_ARTIST), "");
            EXPECT_EQ(ItemText(page, IDC_INFO_TITLE), "");
            EXPECT_EQ(ItemText(page, IDC_INFO_NAME), "");
            EXPECT_EQ(ListLines(page, IDC_INFO_TRACKS),
                      (std::vector<std::string>{"1) 3:05 - ", "2) 12:59 - ", "3) 4:07 - "}));
            EXPECT_EQ(ListSelection(page, IDC_INFO_TRACKS), 0);
            return PressOk(sheet);
        },
    });
    EXPECT_EQ(question, "All CD and track information will be reset.\nDo you want to continue?");
    EXPECT_EQ(DiscInfo().artist, "");
    EXPECT_EQ(DiscInfo().title, "");
    EXPECT_FALSE(DiscInfo().trackTitles[0].has_value());
    EXPECT_EQ(DiscInfo().program, (std::vector<std::int32_t>{3, 1}));
}

TEST_F(SheetTest, DuringALookupThePageIsReadOnlyUntilTheLookupsEndShowsItsResult) {
    InstallPropertyPageNotifier();
    DiscInfo().lookupRunning = true;
    std::thread lookup;
    RunSheet({
        [&](HWND sheet) {
            const HWND page = CurrentPage(sheet);
            for (int id : {IDC_INFO_ARTIST, IDC_INFO_TITLE, IDC_INFO_TRACKS, IDC_INFO_NAME, IDC_INFO_CLEAR_ALL})
                EXPECT_FALSE(Enabled(page, id)) << id;
            EXPECT_EQ(ItemText(page, IDC_INFO_ARTIST), "Old Artist");
            // Leaving the page while the lookup runs stores nothing.
            Type(page, IDC_INFO_ARTIST, "Not Stored");
            ShowTab(sheet, 1);
            EXPECT_EQ(DiscInfo().propertiesCopy->artist, "Old Artist");
            ShowTab(sheet, 0);
            lookup = std::thread([] {
                {
                    DiscInfoHold hold;
                    DiscInfo().artist = "Found Artist";
                    DiscInfo().trackTitles[1] = "Found Two";
                }
                FinishDiscLookup();
            });
            return true;
        },
        [](HWND sheet) {
            const HWND page = CurrentPage(sheet);
            if (!Enabled(page, IDC_INFO_ARTIST)) return false;
            for (int id : {IDC_INFO_TITLE, IDC_INFO_TRACKS, IDC_INFO_NAME, IDC_INFO_CLEAR_ALL})
                EXPECT_TRUE(Enabled(page, id)) << id;
            EXPECT_EQ(ItemText(page, IDC_INFO_ARTIST), "Found Artist");
            EXPECT_EQ(ListLines(page, IDC_INFO_TRACKS)[1], "2) 12:59 - Found Two");
            return PressOk(sheet);
        },
    });
    lookup.join();
    EXPECT_EQ(DiscInfo().artist, "Found Artist");
}

} // namespace
