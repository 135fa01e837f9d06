// Every file in tests/data/cddb/protocol is one behaviour of the server conversation.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cddb/server.h"
#include "tests/support/protocolrunner.h"

namespace {

const std::string CaseDir = std::string(TUNOVA_SOURCE_DIR) + "/tests/data/cddb/protocol";

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(CaseDir)) {
        if (entry.path().extension() == ".case") names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ProtocolCaseTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ProtocolCaseTest, ConversationGoesAsWritten) {
    const ProtocolCase c = ParseProtocolCase(CaseDir + "/" + GetParam() + ".case", GetParam());
    ASSERT_EQ(c.error, "");
    const ProtocolOutcome outcome = RunProtocolCase(c, ::testing::TempDir());

    EXPECT_EQ(outcome.transcript, ExpectedTranscript(c)) << "what the client sent";
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.statuses, c.statuses);
    if (c.fileIsStart) {
        EXPECT_EQ(outcome.file.substr(0, c.file.size()), c.file) << "the start of the output file";
        // The "#FILENAME=" line and at most a data reply's worth of bytes.
        EXPECT_LE(outcome.file.size(), static_cast<std::size_t>(DataReplyLimit) + 19);
    } else {
        EXPECT_EQ(outcome.file, c.file) << "the output file";
    }
    if (c.checkLog) {
        EXPECT_EQ(outcome.log, c.log);
    }
    if (c.instantTimeout) {
        EXPECT_EQ(outcome.waits, 30) << "one full round of waits";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProtocolCaseTest, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
