// The submission over real Windows Sockets, with the system's own HELO name, and its
// end message through SendMessageA to a real window.
#include <gtest/gtest.h>

#include <winsock.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cdaudio/cddevice.h"
#include "cddb/submit.h"
#include "cddb/submitstate.h"
#include "discinfo/submitstatus.h"
#include "cddb/submitthread.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/sockets.h"
#include "platform/virtualcd/virtualcd.h"
#include "tests/support/loopbackserver.h"
#include "ui/properties/pages.h"
#include "tests/support/filetext.h"
#include "tests/support/statusrecorder.h"

namespace {

using loopback::Step;

class WinsockSubmitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SocketStartup()); // the scripted server's own use of the layer
        InstallVirtualCdText(FileText(std::string(TUNOVA_SOURCE_DIR) + "/samples/discs/album.disc"));
        ASSERT_GT(OpenCdDevice("D:"), 0);
        DiscInfo().trackTitles.assign(12, std::nullopt);
        DiscInfo().title = "Tides";
        ProgramOptionsRecord& options = ProgramOptions();
        options.smtpServerName = "127.0.0.1";
        options.smtpReturnAddress = "me@home.example";
        options.smtpSubmitAddress = "db@there.example";
        options.cddbCategoryList = {"folk - Folk music"};
        ClearRecordedStatuses();
        SetSubmitStatusListener(RecordStatus);
    }
    void TearDown() override {
        SetSubmitStatusListener(nullptr);
        ProgramOptions() = ProgramOptionsRecord{};
        CloseCdDevice();
        ResetDiscInfo();
        SocketCleanup();
    }
};

TEST_F(WinsockSubmitTest, WholeExchangeWithTheSystemsHeloName) {
    SubmitRequest request;
    ASSERT_TRUE(CollectSubmitRequest(0, &request));
    const std::string entry = XmcdEntryText(request.disc);
    std::vector<Step> steps = {{Step::Send, "220 ready\r\n"}};
    for (const char* reply : {"250 hi\r\n", "250 ok\r\n", "250 ok\r\n", "354 go\r\n"}) {
        steps.push_back({Step::Expect, ""});
        steps.push_back({Step::Send, reply});
    }
    const std::size_t dataLines = 5 + static_cast<std::size_t>(std::count(entry.begin(), entry.end(), '\n')) + 1;
    for (std::size_t i = 0; i < dataLines; ++i) steps.push_back({Step::Expect, ""});
    steps.push_back({Step::Send, "250 queued\r\n"});
    steps.push_back({Step::Expect, ""});
    steps.push_back({Step::Send, "221 bye\r\n"});

    loopback::Server server(steps);
    request.port = server.Port();
    ConverseWithSmtpServer(request, SystemHeloNameSources());
    server.Finish();

    const std::vector<std::string> statuses = RecordedStatuses();
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back(), "Successfuly submitted entry.");
    const std::vector<std::string>& received = server.Transcript();
    ASSERT_EQ(received.size(), 4 + dataLines + 1);
    EXPECT_EQ(received[0].compare(0, 5, "HELO "), 0);
    EXPECT_GT(received[0].size(), std::string("HELO \r\n").size());
    EXPECT_NE(received[0], "HELO Unknown\r\n") << "gethostname works under Wine";
    char subject[64];
    std::snprintf(subject, sizeof subject, "Subject: cddb folk %08x\r\n", static_cast<unsigned>(request.disc.discId));
    EXPECT_EQ(received[6], subject);
    EXPECT_EQ(received[4 + dataLines - 1], ".\r\n");
    EXPECT_EQ(received.back(), "QUIT\r\n");
}

// Records the end message on the window's own thread.
UINT endMessages = 0;
LRESULT CALLBACK PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WorkEndedPageMessage) {
        ReplyMessage(0); // as the page does: the sender goes on at once
        ++endMessages;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(WinsockSubmitTest, ThreadEndsWithItsMessageToTheSubmitPage) {
    WNDCLASSA kind{};
    kind.lpfnWndProc = PageProcedure;
    kind.hInstance = GetModuleHandleA(nullptr);
    kind.lpszClassName = "TunovaSubmitPageTest";
    RegisterClassA(&kind);
    HWND page = CreateWindowA("TunovaSubmitPageTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, kind.hInstance,
                              nullptr);
    ASSERT_NE(page, nullptr);
    PropertyPages().submitPage = page;
    SetSubmitEndNotifier(NotifyPageOfSubmitEnd);
    ProgramOptions().smtpServerName.clear(); // ends at once, before any connection

    ASSERT_EQ(StartSubmitThread(), 1);
    const DWORD limit = GetTickCount() + 20000;
    MSG message;
    while (endMessages == 0 && GetTickCount() < limit) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_SENDMESSAGE);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    EXPECT_EQ(endMessages, 1u);
    EXPECT_EQ(Submission().submitRunning, 0);
    EXPECT_EQ(SubmitStatusText(), "Unable to locate server.");
    SetSubmitEndNotifier(nullptr);
    ClearActivePages();
    DestroyWindow(page);
}

} // namespace
