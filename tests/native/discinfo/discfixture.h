// Shared set-up of the disc information tests: an in-memory registry, a disc in the
// device record, empty records and the log captured to a file.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/memoryregistry.h"
#include "tests/support/insertdisc.h"

extern const char* const CurrentDiscKey;  // the 2.20 "CD Information" key
extern const char* const Disc210Key;
extern const char* const Disc200Key;


class DiscInfoTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The log written since SetUp, every line followed by "\r\n".
    std::string LogText() const;
    // The record key path of the inserted disc under one of the version keys.
    std::string RecordPath(const char* versionKey) const;
    // Text of a REG_SZ value, up to its first NUL; "<missing>" when absent.
    std::string StoredText(const std::string& path, const std::string& name) const;
    // Fresh record sized for the inserted disc, as StartDiscInfo leaves it.
    void PrepareEmptyRecord();

    MemoryRegistry registry;
    std::string logPath;
    // With a writable machine key nothing may appear under HKEY_CURRENT_USER; tests of
    // the per-user store clear this.
    bool userKeysForbidden = true;
};
