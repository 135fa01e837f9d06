// The cddb Submit page and its dialog in the real sheet: the SMTP fields, the early
// commit, the category chosen in the dialog and the submission's status.
#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "cddb/submitstate.h"
#include "discinfo/submitstatus.h"
#include "resources/resource.h"
#include "sheetfixture.h"

namespace {

constexpr int SubmitTab = 3;
constexpr const char* DialogCaption = "Submit A New Entry";

class SubmitPageTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        InstallPropertyPageNotifier();
        ClearSubmitStatus();
        Submission().submitRunning = 0;
        Submission().submitCategoryIndex = 1;
        ProgramOptionsRecord& options = ProgramOptions();
        options.smtpReturnAddress = "me@example.org";
        options.smtpServerName = "mail.example.org";
        options.cddbCategoryList = {"blues - Blues Music", "classical - Classical Music", "rock - Rock and Pop"};
    }
    void TearDown() override {
        SetSubmitStatusListener(nullptr);
        ClearSubmitStatus();
        Submission().submitRunning = 0;
        Submission().submitCategoryIndex = 0;
        SheetTest::TearDown();
    }
};

HWND ShowSubmitPage(HWND sheet) {
    ShowTab(sheet, SubmitTab);
    return CurrentPage(sheet);
}

// Posted, so that the boxes' and the dialog's own modal loops run outside the step.
void ClickLater(HWND page, int id) {
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

std::vector<std::string> ComboLines(HWND dialog, int id) {
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) lines.push_back(ComboLineText(GetDlgItem(dialog, id), i));
    return lines;
}

TEST_F(SubmitPageTest, ThePageShowsAndStoresTheSmtpFieldsAndTheLatestStatus) {
    SetSubmitStatus("Stored before.");
    RunSheet({[](HWND sheet) {
        HWND page = ShowSubmitPage(sheet);
        EXPECT_EQ(PropertyPages().submitPage.load(), page);
        EXPECT_EQ(ItemText(page, IDC_SUBMIT_RETURN_ADDRESS), "me@example.org");
        EXPECT_EQ(ItemText(page, IDC_SUBMIT_SMTP_SERVER), "mail.example.org");
        EXPECT_EQ(ItemText(page, IDC_SUBMIT_STATUS), "Stored before.") << "the last submission's outcome";
        EXPECT_TRUE(Enabled(page, IDC_SUBMIT_NOW));
        RunElsewhere([] { SetSubmitStatus("Looking for SMTP Server."); });
        EXPECT_EQ(ItemText(page, IDC_SUBMIT_STATUS), "Looking for SMTP Server.");
        Type(page, IDC_SUBMIT_SMTP_SERVER, "smtp.example.net");
        ShowTab(sheet, 0);
        EXPECT_EQ(PropertyPages().submitPage.load(), nullptr);
        EXPECT_EQ(DiscInfo().propertiesCopy->smtpServerName, "smtp.example.net");
        RunElsewhere([] { SetSubmitStatus("Unable to locate server."); });
        page = ShowSubmitPage(sheet);
        EXPECT_EQ(ItemText(page, IDC_SUBMIT_SMTP_SERVER), "smtp.example.net");
        EXPECT_EQ(ItemText(page, IDC_SUBMIT_STATUS), "Unable to locate server.")
            << "a submission that ended while another page was active shows its end";
        return PressCancel(sheet);
    }});
    EXPECT_EQ(ProgramOptions().smtpServerName, "mail.example.org");
}

TEST_F(SubmitPageTest, WithoutAnSmtpServerTheErrorBoxIsShownAndNothingIsCommitted) {
    std::string text;
    RunSheet({
        [](HWND sheet) {
            const HWND page = ShowSubmitPage(sheet);
            Type(page, IDC_SUBMIT_RETURN_ADDRESS, "new@example.org");
            Type(page, IDC_SUBMIT_SMTP_SERVER, "");
            ClickLater(page, IDC_SUBMIT_NOW);
            return true;
        },
        [&](HWND) {
            EXPECT_EQ(FindWindowA(nullptr, DialogCaption), nullptr);
            return AnswerBox("Submit Error", IDOK, &text);
        },
        [](HWND sheet) {
            if (FindWindowA(nullptr, "Submit Error")) return false;
            EXPECT_EQ(FindWindowA(nullptr, DialogCaption), nullptr);
            return PressCancel(sheet);
        },
    });
    EXPECT_EQ(text, "You must specify both the return address and the SMTP server name.");
    EXPECT_EQ(ProgramOptions().smtpReturnAddress, "me@example.org");
    EXPECT_EQ(Submission().submitRunning, 0);
}

TEST_F(SubmitPageTest, TheDialogListsTheCategoriesAndCancelStartsNothingButKeepsTheCommit) {
    RunSheet({
        [](HWND sheet) {
            const HWND page = ShowSubmitPage(sheet);
            Type(page, IDC_SUBMIT_RETURN_ADDRESS, "new@example.org");
            ClickLater(page, IDC_SUBMIT_NOW);
            return true;
        },
        [](HWND) {
            const HWND dialog = FindWindowA(nullptr, DialogCaption);
            if (!dialog) return false;
            EXPECT_EQ(ComboLines(dialog, IDC_SUBMIT_CATEGORY),
                      (std::vector<std::string>{"Blues Music", "Classical Music", "Rock and Pop"}));
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SUBMIT_CATEGORY, CB_GETCURSEL, 0, 0), 1);
            SendDlgItemMessageA(dialog, IDC_SUBMIT_CATEGORY, CB_SETCURSEL, 2, 0);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
        [](HWND sheet) {
            if (FindWindowA(nullptr, DialogCaption)) return false;
            const HWND page = CurrentPage(sheet);
            EXPECT_EQ(Submission().submitRunning, 0);
            EXPECT_TRUE(Enabled(page, IDC_SUBMIT_NOW));
            return PressCancel(sheet);
        },
    });
    EXPECT_EQ(Submission().submitCategoryIndex, 1) << "a cancelled dialog keeps the last category";
    EXPECT_EQ(ProgramOptions().smtpReturnAddress, "new@example.org") << "committed before the dialog";
}

TEST_F(SubmitPageTest, AnIncompleteDiscIsConfirmedAndNoDropsTheSubmission) {
    std::string question;
    RunSheet({
        [](HWND sheet) {
            ClickLater(ShowSubmitPage(sheet), IDC_SUBMIT_NOW);
            return true;
        },
        [](HWND) {
            const HWND dialog = FindWindowA(nullptr, DialogCaption);
            if (!dialog) return false;
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return true;
        },
        [&](HWND) { return AnswerBox("Submit Confirmation", IDNO, &question); },
        [](HWND sheet) {
            if (FindWindowA(nullptr, "Submit Confirmation") || FindWindowA(nullptr, DialogCaption)) return false;
            EXPECT_EQ(Submission().submitRunning, 0);
            return PressCancel(sheet);
        },
    });
    EXPECT_EQ(question, "All CD Information fields have not been completed!\nDo you want to submit your entry as-is?");
    EXPECT_EQ(Submission().submitCategoryIndex, 1);
}

TEST_F(SubmitPageTest, SubmittingRunsTheThreadAndItsEndShowsInTheStatusAndReenablesTheButton) {
    DiscInfo().trackTitles[1] = "Two";  // complete: no question
    ProgramOptions().smtpServerName = "smtp.invalid";
    RunSheet({
        [](HWND sheet) {
            ClickLater(ShowSubmitPage(sheet), IDC_SUBMIT_NOW);
            return true;
        },
        [](HWND) {
            const HWND dialog = FindWindowA(nullptr, DialogCaption);
            if (!dialog) return false;
            SendDlgItemMessageA(dialog, IDC_SUBMIT_CATEGORY, CB_SETCURSEL, 2, 0);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return true;
        },
        [](HWND sheet) {
            if (FindWindowA(nullptr, DialogCaption)) return false;
            const HWND page = CurrentPage(sheet);
            if (!Enabled(page, IDC_SUBMIT_NOW)) return false;
            EXPECT_EQ(Submission().submitRunning, 0);
            EXPECT_EQ(ItemText(page, IDC_SUBMIT_STATUS), "Unable to locate server.");
            return PressCancel(sheet);
        },
    });
    EXPECT_EQ(Submission().submitCategoryIndex, 2);
    EXPECT_EQ(SubmitStatusText(), "Unable to locate server.");
}

} // namespace
