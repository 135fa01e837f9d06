// A three-track disc in the device record, fresh records and no working copy.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "discinfo/lookup.h"
#include "discinfo/options.h"
#include "platform/uinotify.h"
#include "ui/properties/pages.h"

inline TrackToc TrackOfLength(int number, int minutes, int seconds) {
    TrackToc entry{};
    entry.type = TrackAudio;
    entry.number = number;
    entry.lengthMinutes = minutes;
    entry.lengthSeconds = seconds;
    return entry;
}

class PropertiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallWindowMessageSender(nullptr);
        SetDiscLookupHooks(DiscLookupHooks{});
        ResetDiscInfo();
        ClearActivePages();
        PropertyPages().sheetAccepted = 0;
        ProgramOptions() = ProgramOptionsRecord{};
        CdDeviceRecord& device = CdDevice();
        device.trackCount = 3;
        device.toc = {TrackOfLength(1, 3, 5), TrackOfLength(2, 12, 59), TrackOfLength(3, 4, 7), TrackToc{}};
        DiscInfoRecord& disc = DiscInfo();
        disc.artist = "Old Artist";
        disc.title = "Old Title";
        disc.trackTitles = {std::string("One"), std::nullopt, std::string("Blue Water")};
    }
    void TearDown() override {
        ResetDiscInfo();
        ClearActivePages();
        CdDevice() = CdDeviceRecord{};
        InstallWindowMessageSender(nullptr);
        SetDiscLookupHooks(DiscLookupHooks{});
    }
    PropertiesCopy& Copy() { return *DiscInfo().propertiesCopy; }
};
