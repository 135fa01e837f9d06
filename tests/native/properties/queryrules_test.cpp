// The cddb Query page's fill and store rules and the cddb buttons' states.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "propertiesfixture.h"
#include "tests/support/insertdisc.h"
#include "ui/properties/query.h"
#include "ui/properties/sheetcommit.h"

namespace {

class QueryRulesTest : public PropertiesTest {
protected:
    void SetUp() override {
        PropertiesTest::SetUp();
        ProgramOptionsRecord& options = ProgramOptions();
        options.cddbQueryLocal = 1;
        std::strcpy(options.cddbRootDirectory, "C:\\CDDB");
        options.cddbQueryServerAtStartup = 0;
        options.cddbUseProxy = 1;
        options.cddbServerNum = 2;
        std::strcpy(options.cddbProxyName, "proxy.example");
        options.cddbProxyPort = 8080;
        options.MusicBrainzQuery = 0;
        OpenPropertiesCopy();
    }
};

TEST_F(QueryRulesTest, ThePageShowsTheCopysSettings) {
    const QueryPageValues page = QueryPageFromCopy(Copy());
    EXPECT_TRUE(page.queryLocal);
    EXPECT_EQ(page.rootDirectory, "C:\\CDDB");
    EXPECT_FALSE(page.queryServer);
    EXPECT_TRUE(page.useProxy);
    EXPECT_EQ(page.serverIndex, 2);
    EXPECT_EQ(page.proxyName, "proxy.example");
    EXPECT_EQ(page.proxyPortText, "8080");
    EXPECT_FALSE(page.queryMusicBrainz);
    Copy().cddbProxyPort = -3;
    EXPECT_EQ(QueryPageFromCopy(Copy()).proxyPortText, "-3");
}

TEST_F(QueryRulesTest, StoringWritesEveryFieldAndCutsTextsToWhatTheCopyKeeps) {
    QueryPageValues page;
    page.queryLocal = false;
    page.rootDirectory = std::string(300, 'd');
    page.queryServer = true;
    page.useProxy = false;
    page.serverIndex = -1;
    page.proxyName = std::string(45, 'p');
    page.proxyPortText = "80x";
    page.queryMusicBrainz = true;
    StoreQueryPage(page, Copy());
    EXPECT_EQ(Copy().cddbQueryLocal, 0);
    EXPECT_EQ(std::string(Copy().cddbRootDirectory), std::string(255, 'd'));
    EXPECT_EQ(Copy().cddbQueryServerAtStartup, 1);
    EXPECT_EQ(Copy().cddbUseProxy, 0);
    EXPECT_EQ(Copy().cddbServerNum, -1) << "nothing selected in the server list";
    EXPECT_EQ(std::string(Copy().cddbProxyName), std::string(39, 'p'));
    EXPECT_EQ(Copy().cddbProxyPort, 80);
    EXPECT_EQ(Copy().MusicBrainzQuery, 1);
    EXPECT_EQ(ProgramOptions().cddbProxyPort, 8080) << "only the copy changes";
    EXPECT_EQ(ProgramOptions().MusicBrainzQuery, 0);
}

TEST_F(QueryRulesTest, APortFieldThatNamesNoPortKeepsTheStoredPort) {
    QueryPageValues page = QueryPageFromCopy(Copy());
    for (const char* typed : {"0", "-80", "65536", "99999999999", "", "proxy"}) {
        page.proxyPortText = typed;
        StoreQueryPage(page, Copy());
        EXPECT_EQ(Copy().cddbProxyPort, 8080) << typed;
    }
    for (const int port : {1, 3128, 65535}) {
        page.proxyPortText = std::to_string(port);
        StoreQueryPage(page, Copy());
        EXPECT_EQ(Copy().cddbProxyPort, port);
    }
    EXPECT_EQ(ProxyPortFor("65536", 25), 25);
    EXPECT_EQ(ProxyPortFor("8080 ", 25), 8080);
}

TEST(QueryPortTest, ThePortIsTheLeadingDecimalNumber) {
    EXPECT_EQ(ReadPortNumber("80"), 80);
    EXPECT_EQ(ReadPortNumber("80a"), 80);
    EXPECT_EQ(ReadPortNumber(""), 0);
    EXPECT_EQ(ReadPortNumber("abc"), 0);
    EXPECT_EQ(ReadPortNumber("  +3128"), 3128);
    EXPECT_EQ(ReadPortNumber(" -12 5"), -12);
    EXPECT_EQ(ReadPortNumber("-"), 0);
    EXPECT_EQ(ReadPortNumber("99999999999"), INT_MAX);
    EXPECT_EQ(ReadPortNumber("-99999999999"), INT_MIN);
}

TEST(QueryButtonsTest, ProxyFieldsAndTheServerListTakeTurns) {
    EXPECT_TRUE(ProxyFieldsFor(true).proxyFields);
    EXPECT_FALSE(ProxyFieldsFor(true).serverList);
    EXPECT_FALSE(ProxyFieldsFor(false).proxyFields);
    EXPECT_TRUE(ProxyFieldsFor(false).serverList);
}

TEST(QueryButtonsTest, TheCddbActionsWaitForLookupAndSubmission) {
    EXPECT_TRUE(CddbActionEnabled(false, false));
    EXPECT_FALSE(CddbActionEnabled(true, false));
    EXPECT_FALSE(CddbActionEnabled(false, true));
    EXPECT_FALSE(CddbActionEnabled(true, true));
}

TEST_F(QueryRulesTest, AQueryNeedsASource) {
    EXPECT_TRUE(HasQuerySource(Copy()));
    Copy().cddbQueryLocal = 0;
    EXPECT_FALSE(HasQuerySource(Copy()));
    Copy().MusicBrainzQuery = 1;
    EXPECT_TRUE(HasQuerySource(Copy()));
    Copy().MusicBrainzQuery = 0;
    Copy().cddbQueryServerAtStartup = 1;
    EXPECT_TRUE(HasQuerySource(Copy()));
}

TEST_F(QueryRulesTest, SubmittingToMusicBrainzOpensItsPageForTheDiscInTheDrive) {
    // The documented example disc, at a mirror named in the registry.
    InsertDisc({150, 22767, 41887, 58317, 72102, 91375, 104652, 115380, 132165, 143932, 159870, 174597}, 267257, 1);
    ProgramOptions().MusicBrainzServer = "https://mirror.example.org/";
    EXPECT_EQ(DiscSubmissionUrl(),
              "https://mirror.example.org/cdtoc/attach?id=I5l9cCSFccLKFEKS.7wqSZAorPU-&tracks=12&toc=1+12+267257+150+"
              "22767+41887+58317+72102+91375+104652+115380+132165+143932+159870+174597");
}

} // namespace
