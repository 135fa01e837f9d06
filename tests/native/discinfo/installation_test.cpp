// The installation's registry data gives the program its server and category lists.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "cddb/serverentry.h"
#include "discfixture.h"
#include "discinfo/discregistry.h"
#include "discinfo/options.h"

namespace {

// Reads the REGEDIT4 subset the installation file uses: key lines and "name"="text"
// lines with \\ and \" escapes.
void ImportRegFile(const std::string& path, MemoryRegistry& registry) {
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    std::string line;
    std::getline(file, line);
    ASSERT_EQ(line, "REGEDIT4\r");
    const std::string root = "HKEY_LOCAL_MACHINE\\";
    std::string key;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[') {
            ASSERT_EQ(line.compare(1, root.size(), root), 0) << line;
            key = line.substr(1 + root.size(), line.size() - root.size() - 2);
            registry.PutKey(key);
            continue;
        }
        const std::size_t equals = line.find("\"=\"");
        ASSERT_NE(equals, std::string::npos) << line;
        std::string text;
        for (std::size_t i = equals + 3; i + 1 < line.size(); ++i) {
            if (line[i] == '\\') ++i;
            text += line[i];
        }
        registry.PutText(key, line.substr(1, equals - 1), text);
    }
}

class InstallationTest : public DiscInfoTest {};

TEST_F(InstallationTest, SampleDataGivesServersCategoriesAndTheRecordKeys) {
    ImportRegFile(std::string(TUNOVA_SOURCE_DIR) + "/samples/tunova.reg", registry);
    LoadProgramOptions();
    const ProgramOptionsRecord& o = ProgramOptions();
    ASSERT_EQ(o.cddbServerList.size(), 2u);
    // Each entry read as the lookup reads it: "host:port", then a description that
    // does not start with what was meant as the port.
    for (const std::string& entry : o.cddbServerList) {
        CddbTarget target;
        ASSERT_TRUE(ParseServerEntry(entry, &target)) << entry;
        const std::size_t description = entry.find(' ');
        ASSERT_NE(description, std::string::npos) << entry;
        EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(entry[description + 1]))) << entry;
    }
    CddbTarget local;
    ASSERT_TRUE(ParseServerEntry(o.cddbServerList[0], &local));
    EXPECT_EQ(local.host, "127.0.0.1");
    EXPECT_EQ(local.port, 8880) << "the local test server's port";
    EXPECT_EQ(o.cddbCategoryList,
              (std::vector<std::string>{"blues - Blues", "classical - Classical music",
                                        "country - Country and western", "data - Data and mixed-mode discs",
                                        "folk - Folk", "jazz - Jazz", "misc - Miscellaneous", "newage - New age",
                                        "reggae - Reggae", "rock - Rock and pop",
                                        "soundtrack - Film and stage soundtracks"}));
    EXPECT_NE(o.smtpSubmitAddress, "");
    // The options keep their defaults: the installation sets none.
    EXPECT_EQ(o.StopAtExit, 1);
    EXPECT_EQ(o.cddbRootDirectory, "");
    for (const char* key : DiscKeyTable) EXPECT_TRUE(registry.HasKey(key)) << key;
    EXPECT_EQ(SaveProgramOptions(), 1);
}

} // namespace
