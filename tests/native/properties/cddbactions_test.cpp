// "Query cddb Now" and "Submit New Entry Now": what they commit, whom they tell and
// when they refuse, with the lookup thread really started.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "discinfo/querystatus.h"
#include "cddb/submitstate.h"
#include "propertiesfixture.h"
#include "ui/properties/cddbactions.h"
#include "ui/properties/sheetcommit.h"

namespace {

WindowHandle const MainWindow = reinterpret_cast<WindowHandle>(0x99);
constexpr unsigned ChangedMessage = 0xA711;

class MessageCounter : public WindowMessageSender {
public:
    std::intptr_t Send(WindowHandle window, unsigned message, std::uintptr_t, std::intptr_t) override {
        std::lock_guard<std::mutex> hold(mutex);
        if (window == MainWindow && message == ChangedMessage) ++told;
        return 0;
    }
    int Told() {
        std::lock_guard<std::mutex> hold(mutex);
        return told;
    }
    std::mutex mutex;
    int told = 0;
};

// The lookup's search: notes what it found in the record, then waits until the test
// lets it end.
struct HeldSearch {
    std::mutex mutex;
    std::condition_variable changed;
    bool searching = false;
    bool released = false;
    std::string artistSeen;
    std::int32_t queryLocalSeen = -1;
    std::string statusSeen;
};
HeldSearch* held = nullptr;

void HoldSearch() {
    std::unique_lock<std::mutex> hold(held->mutex);
    {
        DiscInfoHold record;
        held->artistSeen = DiscInfo().artist;
        held->queryLocalSeen = ProgramOptions().cddbQueryLocal;
    }
    held->statusSeen = QueryStatusText();
    held->searching = true;
    held->changed.notify_all();
    held->changed.wait(hold, [] { return held->released; });
}

class CddbActionsTest : public PropertiesTest {
protected:
    void SetUp() override {
        PropertiesTest::SetUp();
        DiscInfo().ownerWindow = MainWindow;
        DiscInfo().changedMessage = ChangedMessage;
        InstallWindowMessageSender(&counter);
        held = &search;
        SetDiscLookupHooks(DiscLookupHooks{HoldSearch, nullptr, nullptr});
        // No source at all until a test chooses one.
        ProgramOptions().MusicBrainzQuery = 0;
        OpenPropertiesCopy();
        Copy().artist = "Typed Artist";
    }
    void TearDown() override {
        {
            std::lock_guard<std::mutex> hold(search.mutex);
            search.released = true;
            search.changed.notify_all();
        }
        JoinDiscLookup(nullptr);
        held = nullptr;
        Submission().submitRunning = 0;
        ClearQueryStatus();
        PropertiesTest::TearDown();
    }
    bool WaitUntilSearching() {
        std::unique_lock<std::mutex> hold(search.mutex);
        return search.changed.wait_for(hold, std::chrono::seconds(20), [this] { return search.searching; });
    }

    MessageCounter counter;
    HeldSearch search;
};

TEST_F(CddbActionsTest, QueryCommitsTheTypedTextsBeforeItsLookupAndRefusesWithoutASourceOrWhileOneRuns) {
    // No source: nothing is committed or started, and no flag is left set that would
    // keep the button disabled.
    int shown = 0;
    const auto showStarting = [&shown] {
        // The page shows the start before the thread can report anything.
        EXPECT_FALSE(DiscInfo().lookupRunning);
        EXPECT_EQ(QueryStatusText(), "");
        ++shown;
    };
    EXPECT_EQ(QueryCddbNow(Copy(), showStarting), CddbActionOutcome::MissingSettings);
    EXPECT_EQ(DiscInfo().artist, "Old Artist");
    EXPECT_FALSE(DiscInfo().lookupRunning);
    EXPECT_EQ(counter.Told(), 0);
    EXPECT_EQ(shown, 0);

    Copy().cddbQueryLocal = 1;
    SetQueryStatus("Current CD not found on remote server.");
    EXPECT_EQ(QueryCddbNow(Copy(), showStarting), CddbActionOutcome::Started);
    EXPECT_EQ(shown, 1);
    ASSERT_TRUE(WaitUntilSearching());
    EXPECT_EQ(search.artistSeen, "Typed Artist") << "a lookup that finds nothing must keep what was typed";
    EXPECT_EQ(search.queryLocalSeen, 1);
    EXPECT_EQ(search.statusSeen, "");
    EXPECT_EQ(counter.Told(), 1);

    // A second click while the lookup runs neither commits nor starts another.
    Copy().artist = "Typed Later";
    EXPECT_EQ(QueryCddbNow(Copy(), showStarting), CddbActionOutcome::Busy);
    EXPECT_EQ(DiscInfo().artist, "Typed Artist");
    EXPECT_EQ(counter.Told(), 1);
    EXPECT_EQ(shown, 1);
}

TEST_F(CddbActionsTest, SubmissionCommitsWhatThePagesHoldAndRefusesWithoutSettingsOrWhileOneRuns) {
    std::strcpy(Copy().smtpReturnAddress, "me@example.net");
    EXPECT_EQ(PrepareSubmission(Copy()), CddbActionOutcome::MissingSettings);
    EXPECT_STREQ(ProgramOptions().smtpReturnAddress, "");
    EXPECT_EQ(DiscInfo().artist, "Old Artist");
    EXPECT_EQ(counter.Told(), 0);

    std::strcpy(Copy().smtpServerName, "smtp.example.net");
    EXPECT_EQ(PrepareSubmission(Copy()), CddbActionOutcome::Ready);
    EXPECT_STREQ(ProgramOptions().smtpReturnAddress, "me@example.net");
    EXPECT_STREQ(ProgramOptions().smtpServerName, "smtp.example.net");
    EXPECT_EQ(DiscInfo().artist, "Typed Artist") << "the entry is built from what the user sees";
    EXPECT_EQ(counter.Told(), 1);

    Submission().submitRunning = 1;
    std::strcpy(Copy().smtpServerName, "other.example.net");
    EXPECT_EQ(PrepareSubmission(Copy()), CddbActionOutcome::Busy);
    EXPECT_STREQ(ProgramOptions().smtpServerName, "smtp.example.net");
}

} // namespace
