// Shared set-up of the disc information tests: an in-memory registry, a disc in the
// device record, empty records and the log captured to a file.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/memoryregistry.h"

extern const char* const CurrentDiscKey;  // the 2.20 "CD Information" key
extern const char* const Disc210Key;
extern const char* const Disc200Key;

// Puts a disc of the given absolute track starts (frames) and lead-out into CdDevice.
void InsertDisc(const std::vector<std::int32_t>& startFrames, std::int32_t leadOutFrames, std::int32_t identity);
// The one-track disc of 13500 frames whose disc id is 0200b201; identity 0x3A5B1C02.
void InsertOneTrackDisc();
// A disc of trackCount tracks of about four minutes each; identity 0x3A5B1C02.
void InsertDiscOfTracks(int trackCount);

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
