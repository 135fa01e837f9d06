#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "discfixture.h"
#include "discinfo/discinfo.h"
#include "discinfo/discregistry.h"

namespace {

class ResumePointRecordTest : public DiscInfoTest {
protected:
    void SetUp() override {
        DiscInfoTest::SetUp();
        registry.PutKey(CurrentDiscKey);
        PrepareEmptyRecord();
    }
    bool Stored(std::string name) const {
        const std::vector<std::string> names = registry.ValueNames(RecordPath(CurrentDiscKey));
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        return std::find(names.begin(), names.end(), name) != names.end();
    }
};

TEST_F(ResumePointRecordTest, APointAloneIsStoredAndReadBackInTheDiscsRecord) {
    // A disc nobody named is still worth a record when it has a point to resume at.
    DiscInfo().resumePoint = ResumePoint{3, 70, 0};
    SaveDiscToRegistry();
    ASSERT_TRUE(Stored("ResumeTrack"));
    EXPECT_FALSE(Stored("ResumeProgramEntry"));
    PrepareEmptyRecord();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().resumePoint.track, 3);
    EXPECT_EQ(DiscInfo().resumePoint.seconds, 70);
}

TEST_F(ResumePointRecordTest, NoPointRemovesTheValuesButKeepsTheRestOfTheRecord) {
    DiscInfo().title = "Lectures";
    DiscInfo().resumePoint = ResumePoint{2, 5, 1};
    DiscInfo().program = {2, 1};
    SaveDiscToRegistry();
    ASSERT_TRUE(Stored("ResumeProgramEntry"));
    DiscInfo().resumePoint = ResumePoint();
    SaveDiscToRegistry();
    EXPECT_FALSE(Stored("ResumeTrack"));
    EXPECT_FALSE(Stored("ResumeSeconds"));
    EXPECT_FALSE(Stored("ResumeProgramEntry"));
    EXPECT_EQ(StoredText(RecordPath(CurrentDiscKey), "Title"), "Lectures");
}

TEST_F(ResumePointRecordTest, NonsenseStoredByHandIsNotUsed) {
    DiscInfo().resumePoint = ResumePoint{3, -5, 0};
    DiscInfo().title = "Lectures";
    SaveDiscToRegistry();
    PrepareEmptyRecord();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_FALSE(DiscInfo().resumePoint.Set());
}

} // namespace
