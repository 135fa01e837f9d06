// The Programming page's list operations inside the real sheet.
#include "resources/resource.h"
#include "sheetfixture.h"

namespace {

constexpr int ProgrammingTab = 1;

std::vector<bool> ButtonStates(HWND page) {
    return {Enabled(page, IDC_PROGRAM_ADD), Enabled(page, IDC_PROGRAM_REMOVE), Enabled(page, IDC_PROGRAM_CLEAR),
            Enabled(page, IDC_PROGRAM_UP), Enabled(page, IDC_PROGRAM_DOWN)};
}

bool IsDefaultButton(HWND page, int id) {
    return (GetWindowLongA(GetDlgItem(page, id), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

TEST_F(SheetTest, ProgrammingPageAddsMovesAndRemovesEntriesAndOkRestartsWithTheNewOrder) {
    DiscInfo().program = {2};
    const int result = RunSheet({[](HWND sheet) {
        ShowTab(sheet, ProgrammingTab);
        const HWND page = CurrentPage(sheet);
        EXPECT_EQ(PropertyPages().programmingPage.load(), page);
        EXPECT_EQ(PropertyPages().cdInfoPage.load(), nullptr);
        EXPECT_EQ(ListLines(page, IDC_PROGRAM_DISC_ORDER),
                  (std::vector<std::string>{"1) 3:05 - One", "2) 12:59 - ", "3) 4:07 - Blue Water"}));
        EXPECT_EQ(ListLines(page, IDC_PROGRAM_ORDER), (std::vector<std::string>{"2) 12:59 - "}));
        EXPECT_EQ(ListSelection(page, IDC_PROGRAM_DISC_ORDER), -1);
        EXPECT_EQ(ButtonStates(page), (std::vector<bool>{false, false, true, false, false}));
        EXPECT_NE(SendDlgItemMessageA(page, IDC_PROGRAM_UP, BM_GETIMAGE, IMAGE_ICON, 0), 0);

        // Nothing picked: Add and Remove do nothing.
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PROGRAM_ADD, BN_CLICKED), 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PROGRAM_REMOVE, BN_CLICKED), 0);
        EXPECT_EQ(DiscInfo().propertiesCopy->programChanged, 0);

        Click(page, IDC_PROGRAM_REMOVE);
        PickLine(page, IDC_PROGRAM_ORDER, 0);
        EXPECT_TRUE(IsDefaultButton(page, IDC_PROGRAM_REMOVE));
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_PROGRAM_REMOVE));
        EXPECT_EQ(ButtonStates(page), (std::vector<bool>{false, true, true, false, false})) << "a single entry";
        Click(page, IDC_PROGRAM_REMOVE);
        EXPECT_TRUE(ListLines(page, IDC_PROGRAM_ORDER).empty());
        EXPECT_EQ(ButtonStates(page), (std::vector<bool>{false, false, false, false, false}));

        PickLine(page, IDC_PROGRAM_DISC_ORDER, 2);
        EXPECT_TRUE(Enabled(page, IDC_PROGRAM_ADD));
        EXPECT_TRUE(IsDefaultButton(page, IDC_PROGRAM_ADD));
        EXPECT_FALSE(IsDefaultButton(page, IDC_PROGRAM_REMOVE));
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_PROGRAM_ADD));
        Click(page, IDC_PROGRAM_ADD);
        DoubleClickLine(page, IDC_PROGRAM_DISC_ORDER, 2);
        DoubleClickLine(page, IDC_PROGRAM_DISC_ORDER, 0);
        EXPECT_EQ(ListLines(page, IDC_PROGRAM_ORDER),
                  (std::vector<std::string>{"3) 4:07 - Blue Water", "3) 4:07 - Blue Water", "1) 3:05 - One"}));
        EXPECT_TRUE(Enabled(page, IDC_PROGRAM_CLEAR));

        PickLine(page, IDC_PROGRAM_ORDER, 0);
        EXPECT_EQ(ButtonStates(page), (std::vector<bool>{true, true, true, false, true}));
        PickLine(page, IDC_PROGRAM_ORDER, 2);
        EXPECT_EQ(ButtonStates(page), (std::vector<bool>{true, true, true, true, false}));
        Click(page, IDC_PROGRAM_UP);
        EXPECT_EQ(ListSelection(page, IDC_PROGRAM_ORDER), 1);
        EXPECT_EQ(ListLines(page, IDC_PROGRAM_ORDER),
                  (std::vector<std::string>{"3) 4:07 - Blue Water", "1) 3:05 - One", "3) 4:07 - Blue Water"}));
        EXPECT_EQ(ButtonStates(page), (std::vector<bool>{true, true, true, true, true}));
        Click(page, IDC_PROGRAM_UP);
        EXPECT_EQ(ListSelection(page, IDC_PROGRAM_ORDER), 0);
        EXPECT_FALSE(Enabled(page, IDC_PROGRAM_UP));
        Click(page, IDC_PROGRAM_DOWN);
        Click(page, IDC_PROGRAM_DOWN);
        EXPECT_EQ(ListSelection(page, IDC_PROGRAM_ORDER), 2);
        EXPECT_FALSE(Enabled(page, IDC_PROGRAM_DOWN));
        EXPECT_EQ(DiscInfo().propertiesCopy->program, (std::vector<std::int32_t>{3, 3, 1}));

        // Double-click removes; the state survives leaving and coming back.
        DoubleClickLine(page, IDC_PROGRAM_ORDER, 1);
        EXPECT_EQ(DiscInfo().propertiesCopy->program, (std::vector<std::int32_t>{3, 1}));
        ShowTab(sheet, 0);
        EXPECT_EQ(PropertyPages().programmingPage.load(), nullptr);
        ShowTab(sheet, ProgrammingTab);
        EXPECT_EQ(ListLines(CurrentPage(sheet), IDC_PROGRAM_ORDER),
                  (std::vector<std::string>{"3) 4:07 - Blue Water", "1) 3:05 - One"}));
        return PressOk(sheet);
    }});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(DiscInfo().program, (std::vector<std::int32_t>{3, 1}));
}

// The drive refuses to play a data track: the page will not put one into the order.
TEST_F(SheetTest, ProgrammingPageLeavesAddDisabledForADataTrack) {
    CdDevice().toc[1].type = TrackOther;
    const int result = RunSheet({[](HWND sheet) {
        ShowTab(sheet, ProgrammingTab);
        const HWND page = CurrentPage(sheet);
        EXPECT_EQ(ListLines(page, IDC_PROGRAM_DISC_ORDER).size(), 3u) << "every track is listed";
        PickLine(page, IDC_PROGRAM_DISC_ORDER, 0);
        EXPECT_TRUE(Enabled(page, IDC_PROGRAM_ADD));
        PickLine(page, IDC_PROGRAM_DISC_ORDER, 1);
        EXPECT_FALSE(Enabled(page, IDC_PROGRAM_ADD));
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PROGRAM_ADD, BN_CLICKED), 0);
        DoubleClickLine(page, IDC_PROGRAM_DISC_ORDER, 1);
        EXPECT_TRUE(ListLines(page, IDC_PROGRAM_ORDER).empty());
        EXPECT_EQ(DiscInfo().propertiesCopy->programChanged, 0);
        EXPECT_FALSE(Enabled(page, IDC_PROGRAM_CLEAR));
        DoubleClickLine(page, IDC_PROGRAM_DISC_ORDER, 2);
        EXPECT_EQ(ListLines(page, IDC_PROGRAM_ORDER), (std::vector<std::string>{"3) 4:07 - Blue Water"}));
        return PressOk(sheet);
    }});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(DiscInfo().program, (std::vector<std::int32_t>{3}));
}

TEST_F(SheetTest, ProgrammingPageClearAsksAndNoKeepsTheOrderUnchanged) {
    DiscInfo().program = {1, 2};
    std::string question;
    const int result = RunSheet({
        [](HWND sheet) {
            ShowTab(sheet, ProgrammingTab);
            PostMessageA(GetDlgItem(CurrentPage(sheet), IDC_PROGRAM_CLEAR), BM_CLICK, 0, 0);
            return true;
        },
        [&](HWND) { return AnswerBox("Clear Confirmation", IDNO, &question); },
        [](HWND sheet) {
            if (FindWindowA(nullptr, "Clear Confirmation")) return false;
            const HWND page = CurrentPage(sheet);
            EXPECT_EQ(ListLines(page, IDC_PROGRAM_ORDER).size(), 2u);
            EXPECT_EQ(DiscInfo().propertiesCopy->programChanged, 0);
            PostMessageA(GetDlgItem(page, IDC_PROGRAM_CLEAR), BM_CLICK, 0, 0);
            return true;
        },
        [](HWND) { return AnswerBox("Clear Confirmation", IDYES); },
        [](HWND sheet) {
            if (FindWindowA(nullptr, "Clear Confirmation")) return false;
            const HWND page = CurrentPage(sheet);
            EXPECT_TRUE(ListLines(page, IDC_PROGRAM_ORDER).empty());
            EXPECT_EQ(ButtonStates(page), (std::vector<bool>{false, false, false, false, false}));
            return PressOk(sheet);
        },
    });
    EXPECT_EQ(question, "Current program list will be cleared.\nDo you want to continue?");
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(DiscInfo().program.empty());
}

TEST_F(SheetTest, ProgrammingPageEditsAreDroppedByCancelAndTheLookupsEndRetitlesBothLists) {
    DiscInfo().program = {2};
    const int result = RunSheet({[](HWND sheet) {
        ShowTab(sheet, ProgrammingTab);
        const HWND page = CurrentPage(sheet);
        DoubleClickLine(page, IDC_PROGRAM_DISC_ORDER, 0);
        PickLine(page, IDC_PROGRAM_ORDER, 1);
        {
            DiscInfoHold hold;
            DiscInfo().trackTitles[1] = "Found Two";
            RefreshPropertiesCopyTexts();
        }
        SendMessageA(page, WorkEndedPageMessage, 0, 0);
        EXPECT_EQ(ListLines(page, IDC_PROGRAM_ORDER)[0], "2) 12:59 - Found Two");
        EXPECT_EQ(ListLines(page, IDC_PROGRAM_DISC_ORDER)[1], "2) 12:59 - Found Two");
        // The selections stay, so the buttons that kept their states still act on them.
        EXPECT_EQ(ListSelection(page, IDC_PROGRAM_DISC_ORDER), 0);
        EXPECT_EQ(ListSelection(page, IDC_PROGRAM_ORDER), 1);
        EXPECT_TRUE(Enabled(page, IDC_PROGRAM_REMOVE)) << "the buttons keep their states";
        Click(page, IDC_PROGRAM_REMOVE);
        EXPECT_EQ(ListLines(page, IDC_PROGRAM_ORDER),
                  (std::vector<std::string>{"2) 12:59 - Found Two"})) << "the selected entry is removed";
        return PressCancel(sheet);
    }});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(DiscInfo().program, (std::vector<std::int32_t>{2}));
}

} // namespace
