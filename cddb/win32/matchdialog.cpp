// The Fuzzy Search Results dialog (138): the close matches of a server lookup, shown
// modally on the lookup thread and owned by the main window.
#include <windows.h>

#include <atomic>

#include "log/logmessage.h"
#include "cddb/matchchoice.h"
#include "discinfo/discinfo.h"
#include "platform/win32/sentmessages.h"
#include "platform/win32/windowtext.h"
#include "resources/messageids.h"
#include "resources/resource.h"

namespace {

// How long the shutdown waits for an ended dialog to go away.
constexpr DWORD AbandonWaitMs = 5000;

// The open dialog, or none.
std::atomic<HWND> matchDialog{nullptr};

void FillMatchList(HWND dialog, const std::vector<std::string>& titles) {
    const HWND list = GetDlgItem(dialog, IDC_MATCH_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& title : titles) AddListLine(list, title);
    SendMessageW(list, LB_SETCURSEL, 0, 0);
}

INT_PTR CALLBACK MatchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        matchDialog = dialog;
        FillMatchList(dialog, *reinterpret_cast<const std::vector<std::string>*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            const LRESULT row = SendDlgItemMessageW(dialog, IDC_MATCH_LIST, LB_GETCURSEL, 0, 0);
            EndDialog(dialog, row == LB_ERR ? 0 : row + 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            // "Current CD Not In List", Escape and the close box.
            EndDialog(dialog, 0);
        }
        return FALSE;
    case EndChoiceMessage:
        // The sender is the shutting-down user-interface thread: free it first.
        if (InSendMessage()) ReplyMessage(1);
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

class DialogMatchChooser : public MatchChooser {
public:
    int Choose(const std::vector<std::string>& titles) override {
        if (abandoned_) return 0;
        const INT_PTR row =
            DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MATCH_CHOICE),
                            static_cast<HWND>(DiscInfo().ownerWindow), MatchDialogProc,
                            reinterpret_cast<LPARAM>(&titles));
        matchDialog = nullptr;
        if (row == -1) {
            LogMessage("Unable to open the Fuzzy Search Results dialog.");
            return 0;
        }
        return static_cast<int>(row);
    }

    void Abandon() override {
        // A lookup that reaches its choice after this finds the program ending.
        abandoned_ = true;
        const HWND dialog = matchDialog;
        if (!dialog) return;
        SendMessageW(dialog, EndChoiceMessage, 0, 0);
        // Closing the dialog re-enables and activates this thread's windows, so the
        // messages the lookup thread sends meanwhile are handled while waiting.
        for (DWORD waited = 0; matchDialog.load() && waited < AbandonWaitMs; waited += 10) PumpSentMessages(10);
    }

private:
    std::atomic<bool> abandoned_{false};
};

} // namespace

MatchChooser& DefaultMatchChooser() {
    static DialogMatchChooser chooser;
    return chooser;
}
