// The cddb Query page in the real sheet: it shows and stores the copy's settings, shows
// the status live from the lookup thread, and "Query cddb Now" commits the settings
// early and starts a lookup.
#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "discinfo/querystatus.h"
#include "cddb/submitstate.h"
#include "discinfo/lookup.h"
#include "resources/resource.h"
#include "sheetfixture.h"

namespace {

constexpr int QueryTab = 2;

class QueryPageTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        savedHooks_ = GetDiscLookupHooks();
        ClearQueryStatus();
        ProgramOptionsRecord& options = ProgramOptions();
        options.cddbServerList = {"freedb.example.org:8880 Somewhere", "cddb.example.net:888 Elsewhere"};
        options.cddbQueryLocal = 0;
        options.cddbQueryServerAtStartup = 1;
        options.cddbUseProxy = 0;
        options.cddbServerNum = 1;
        std::strcpy(options.cddbProxyName, "proxy.example");
        options.cddbProxyPort = 8080;
        options.MusicBrainzQuery = 1;
    }
    void TearDown() override {
        SetDiscLookupHooks(savedHooks_);
        SetQueryStatusListener(nullptr);
        ClearQueryStatus();
        Submission().submitRunning = 0;
        SheetTest::TearDown();
    }
    DiscLookupHooks savedHooks_;
};

HWND ShowQueryPage(HWND sheet) {
    ShowTab(sheet, QueryTab);
    return CurrentPage(sheet);
}

TEST_F(QueryPageTest, ThePageShowsAndStoresTheCopysSettings) {
    RunSheet({[](HWND sheet) {
        HWND page = ShowQueryPage(sheet);
        EXPECT_EQ(PropertyPages().queryPage.load(), page);
        EXPECT_FALSE(Checked(page, IDC_QUERY_LOCAL));
        EXPECT_TRUE(Checked(page, IDC_QUERY_SERVER));
        EXPECT_FALSE(Checked(page, IDC_QUERY_USE_PROXY));
        EXPECT_TRUE(Checked(page, IDC_QUERY_MUSICBRAINZ));
        EXPECT_EQ(SendDlgItemMessageA(page, IDC_QUERY_SERVERS, CB_GETCOUNT, 0, 0), 2);
        char line[100] = {};
        SendDlgItemMessageA(page, IDC_QUERY_SERVERS, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(line));
        EXPECT_STREQ(line, "freedb.example.org:8880 Somewhere");
        EXPECT_EQ(SendDlgItemMessageA(page, IDC_QUERY_SERVERS, CB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(ItemText(page, IDC_QUERY_PROXY_NAME), "proxy.example");
        EXPECT_EQ(ItemText(page, IDC_QUERY_PROXY_PORT), "8080");
        EXPECT_TRUE(Enabled(page, IDC_QUERY_SERVERS));
        EXPECT_FALSE(Enabled(page, IDC_QUERY_PROXY_NAME));
        EXPECT_FALSE(Enabled(page, IDC_QUERY_PROXY_PORT));
        EXPECT_TRUE(Enabled(page, IDC_QUERY_NOW));

        Click(page, IDC_QUERY_USE_PROXY);
        EXPECT_FALSE(Enabled(page, IDC_QUERY_SERVERS));
        EXPECT_TRUE(Enabled(page, IDC_QUERY_PROXY_NAME));
        EXPECT_TRUE(Enabled(page, IDC_QUERY_PROXY_PORT));
        Click(page, IDC_QUERY_LOCAL);
        Click(page, IDC_QUERY_MUSICBRAINZ);
        Type(page, IDC_QUERY_ROOT_DIRECTORY, "D:\\cddb");
        Type(page, IDC_QUERY_PROXY_NAME, "gate.example");
        Type(page, IDC_QUERY_PROXY_PORT, "80x");
        ShowTab(sheet, 0);
        EXPECT_EQ(PropertyPages().queryPage.load(), nullptr);
        const PropertiesCopy& copy = *DiscInfo().propertiesCopy;
        EXPECT_EQ(copy.cddbQueryLocal, 1);
        EXPECT_STREQ(copy.cddbRootDirectory, "D:\\cddb");
        EXPECT_EQ(copy.cddbUseProxy, 1);
        EXPECT_EQ(copy.cddbServerNum, 1);
        EXPECT_STREQ(copy.cddbProxyName, "gate.example");
        EXPECT_EQ(copy.cddbProxyPort, 80);
        EXPECT_EQ(copy.MusicBrainzQuery, 0);

        page = ShowQueryPage(sheet);
        EXPECT_FALSE(Checked(page, IDC_QUERY_MUSICBRAINZ));
        EXPECT_TRUE(Checked(page, IDC_QUERY_USE_PROXY));
        EXPECT_FALSE(Enabled(page, IDC_QUERY_SERVERS));
        EXPECT_TRUE(Enabled(page, IDC_QUERY_PROXY_PORT));
        EXPECT_EQ(ItemText(page, IDC_QUERY_PROXY_PORT), "80");
        // A text that names no port changes nothing, and the field says so.
        for (const char* typed : {"0", "-21", "70000"}) {
            Type(page, IDC_QUERY_PROXY_PORT, typed);
            ShowTab(sheet, 0);
            page = ShowQueryPage(sheet);
            EXPECT_EQ(ItemText(page, IDC_QUERY_PROXY_PORT), "80") << typed;
        }
        SetFocus(GetDlgItem(page, IDC_QUERY_PROXY_PORT));
        Type(page, IDC_QUERY_PROXY_PORT, "65536");
        SetFocus(GetDlgItem(page, IDC_QUERY_USE_PROXY));
        EXPECT_EQ(ItemText(page, IDC_QUERY_PROXY_PORT), "80") << "shown as the focus leaves";
        EXPECT_EQ(DiscInfo().propertiesCopy->cddbProxyPort, 80);
        return PressCancel(sheet);
    }});
    EXPECT_EQ(ProgramOptions().cddbQueryLocal, 0) << "Cancel commits nothing without a query";
    EXPECT_EQ(ProgramOptions().MusicBrainzQuery, 1);
    EXPECT_EQ(ProgramOptions().cddbProxyPort, 8080);
}

TEST_F(QueryPageTest, TheStatusShowsTheStoredTextAndFollowsTheLookupThreadWhileActive) {
    SetQueryStatus("Connecting to server...");
    RunSheet({[](HWND sheet) {
        HWND page = ShowQueryPage(sheet);
        EXPECT_EQ(ItemText(page, IDC_QUERY_STATUS), "Connecting to server...");
        RunElsewhere([] { SetQueryStatus("Querying the server."); });
        EXPECT_EQ(ItemText(page, IDC_QUERY_STATUS), "Querying the server.");
        ShowTab(sheet, 1);
        RunElsewhere([] { SetQueryStatus("No match found."); });
        EXPECT_EQ(ItemText(page, IDC_QUERY_STATUS), "Querying the server.") << "an inactive page is not told";
        page = ShowQueryPage(sheet);
        EXPECT_EQ(ItemText(page, IDC_QUERY_STATUS), "No match found.");
        return PressCancel(sheet);
    }});
    std::thread([] { SetQueryStatus("After the sheet."); }).join();
    EXPECT_EQ(QueryStatusText(), "After the sheet.");
}

TEST_F(QueryPageTest, WithoutASourceTheErrorBoxIsShownAndNothingStarts) {
    std::string text;
    RunSheet({
        [](HWND sheet) {
            const HWND page = ShowQueryPage(sheet);
            Click(page, IDC_QUERY_SERVER);
            Click(page, IDC_QUERY_MUSICBRAINZ);
            Type(page, IDC_QUERY_PROXY_PORT, "99");
            PostMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_QUERY_NOW, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_QUERY_NOW)));
            return true;
        },
        [&](HWND) { return AnswerBox("cddb Query Error", IDOK, &text); },
        [](HWND sheet) {
            const HWND page = CurrentPage(sheet);
            if (FindWindowA(nullptr, "cddb Query Error")) return false;
            EXPECT_FALSE(DiscInfo().lookupRunning);
            EXPECT_TRUE(Enabled(page, IDC_QUERY_NOW));
            return PressCancel(sheet);
        },
    });
    EXPECT_EQ(text,
              "No cddb sources selected.\nTo use a local copy of the database, select 'Query Local Database'.\nTo "
              "use an Internet cddb server, select 'Query Server'.\nIf both are selected, the local copy is "
              "checked, and then the Internet Server.");
    EXPECT_EQ(ProgramOptions().cddbQueryServerAtStartup, 1) << "nothing committed";
    EXPECT_EQ(ProgramOptions().MusicBrainzQuery, 1);
    EXPECT_EQ(ProgramOptions().cddbProxyPort, 8080);
}

// The lookup thread's search: what it found committed, and its status, which it reports
// only once the page's state right after the click has been seen (the thread would
// otherwise race the test's look at the emptied status).
std::atomic<int> searchedPort{0};
std::atomic<int> searchedLocal{0};
std::atomic<bool> searchMayReport{false};
void RecordingSearch() {
    {
        DiscInfoHold hold;
        searchedPort = ProgramOptions().cddbProxyPort;
        searchedLocal = ProgramOptions().cddbQueryLocal;
    }
    for (int waited = 0; !searchMayReport && waited < 20000; waited += 10) Sleep(10);
    SetQueryStatus("No cddb sources configured for querying.");
}

TEST_F(QueryPageTest, QueryNowCommitsTheSettingsStartsALookupAndCancelKeepsThem) {
    InstallPropertyPageNotifier();
    DiscLookupHooks hooks = GetDiscLookupHooks();
    hooks.search = RecordingSearch;
    SetDiscLookupHooks(hooks);
    searchedPort = 0;
    searchedLocal = 0;
    searchMayReport = false;
    SetQueryStatus("Old status");
    RunSheet({
        [](HWND sheet) {
            const HWND page = ShowQueryPage(sheet);
            Click(page, IDC_QUERY_LOCAL);
            Click(page, IDC_QUERY_USE_PROXY);
            Type(page, IDC_QUERY_PROXY_PORT, "3128");
            // The lookup ends only once the page has handed the user-interface thread
            // back, so the button is seen disabled first.
            Click(page, IDC_QUERY_NOW);
            EXPECT_FALSE(Enabled(page, IDC_QUERY_NOW));
            EXPECT_EQ(ItemText(page, IDC_QUERY_STATUS), "");
            EXPECT_EQ(QueryStatusText(), "");
            searchMayReport = true;
            return true;
        },
        [](HWND sheet) {
            const HWND page = CurrentPage(sheet);
            if (!Enabled(page, IDC_QUERY_NOW)) return false;
            EXPECT_FALSE(DiscInfo().lookupRunning);
            EXPECT_EQ(ItemText(page, IDC_QUERY_STATUS), "No cddb sources configured for querying.");
            return PressCancel(sheet);
        },
    });
    EXPECT_EQ(searchedPort, 3128) << "committed before the thread started";
    EXPECT_EQ(searchedLocal, 1);
    EXPECT_EQ(ProgramOptions().cddbQueryLocal, 1) << "Cancel keeps the early commit";
    EXPECT_EQ(ProgramOptions().cddbUseProxy, 1);
    EXPECT_EQ(ProgramOptions().cddbProxyPort, 3128);
}

// Searches of a lookup: one that finds nothing, one that finds an entry.
void FindingNothing() { SetQueryStatus("No match found."); }
void FindingAnEntry() {
    DiscInfoHold hold;
    DiscInfoRecord& disc = DiscInfo();
    disc.artist = "Found Artist";
    disc.title = "Found Title";
    disc.trackTitles = {std::string("Found One"), std::string("Found Two"), std::string("Found Three")};
}

struct ShownTexts {
    std::string artist;
    std::string firstItem;
};

class QueryTypedTextsTest : public QueryPageTest {
protected:
    // Types texts on the CD Information page, queries from the Query page and, once the
    // lookup has ended, returns the Artist field and the first track's item as shown.
    ShownTexts TypeThenQuery(void (*search)());
};

ShownTexts QueryTypedTextsTest::TypeThenQuery(void (*search)()) {
    InstallPropertyPageNotifier();
    DiscLookupHooks hooks = GetDiscLookupHooks();
    hooks.search = search;
    SetDiscLookupHooks(hooks);
    static ShownTexts shown;
    shown = {};
    RunSheet({
        [](HWND sheet) {
            ShowTab(sheet, 0);
            const HWND info = CurrentPage(sheet);
            Type(info, IDC_INFO_ARTIST, "Typed Artist");
            PickLine(info, IDC_INFO_TRACKS, 0);
            Type(info, IDC_INFO_NAME, "Typed One");
            const HWND page = ShowQueryPage(sheet);
            Click(page, IDC_QUERY_NOW);
            return true;
        },
        [](HWND sheet) {
            if (DiscInfo().lookupRunning || !Enabled(CurrentPage(sheet), IDC_QUERY_NOW)) return false;
            ShowTab(sheet, 0);
            const HWND info = CurrentPage(sheet);
            shown.artist = ItemText(info, IDC_INFO_ARTIST);
            shown.firstItem = ListLines(info, IDC_INFO_TRACKS).at(0);
            return PressCancel(sheet);
        },
    });
    return shown;
}

TEST_F(QueryTypedTextsTest, QueryNowKeepsTheTypedDiscTextsUnlessAnEntryIsFound) {
    const ShownTexts nothing = TypeThenQuery(FindingNothing);
    EXPECT_EQ(nothing.artist, "Typed Artist");
    EXPECT_EQ(nothing.firstItem, "1) 3:05 - Typed One");
    // The texts were committed with the settings before the lookup, so Cancel keeps them.
    EXPECT_EQ(DiscInfo().artist, "Typed Artist");
    EXPECT_EQ(DiscInfo().trackTitles[0], std::string("Typed One"));
    EXPECT_EQ(DiscInfo().title, "Old Title");

    const ShownTexts found = TypeThenQuery(FindingAnEntry);
    EXPECT_EQ(found.artist, "Found Artist");
    EXPECT_EQ(found.firstItem, "1) 3:05 - Found One");
    EXPECT_EQ(DiscInfo().artist, "Found Artist");
}

TEST_F(QueryPageTest, ARunningSubmissionDisablesQueryNowUntilItsEnd) {
    Submission().submitRunning = 1;
    RunSheet({[](HWND sheet) {
        const HWND page = ShowQueryPage(sheet);
        EXPECT_FALSE(Enabled(page, IDC_QUERY_NOW));
        RunElsewhere([] {
            Submission().submitRunning = 0;
            NotifyPageOfSubmitEnd();
        });
        EXPECT_TRUE(Enabled(page, IDC_QUERY_NOW));
        return PressCancel(sheet);
    }});
}

TEST_F(QueryPageTest, ARunningLookupDisablesBothCddbActionsUntilItsEndReachesTheActivePage) {
    InstallPropertyPageNotifier();
    DiscInfo().lookupRunning = true;
    RunSheet({[](HWND sheet) {
        HWND page = ShowQueryPage(sheet);
        EXPECT_FALSE(Enabled(page, IDC_QUERY_NOW));
        ShowTab(sheet, QueryTab + 1);
        const HWND submit = CurrentPage(sheet);
        EXPECT_FALSE(Enabled(submit, IDC_SUBMIT_NOW));
        RunElsewhere(FinishDiscLookup);
        EXPECT_TRUE(Enabled(submit, IDC_SUBMIT_NOW)) << "the active page is told";
        page = ShowQueryPage(sheet);
        EXPECT_TRUE(Enabled(page, IDC_QUERY_NOW));
        return PressCancel(sheet);
    }});
}

} // namespace
