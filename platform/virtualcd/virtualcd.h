// The virtual CD drives: disc description files that stand in for the machine's CD-ROM
// drives (TUNOVA_VIRTUAL_CD), served through the CD audio driver seam.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/cdaudiodriver.h"
#include "platform/clock.h"
#include "platform/rawcd.h"
#include "platform/soundoutput.h"

// Milliseconds of a monotonic clock; the drives measure play against it.
using VirtualCdClock = MillisecondClock;

// Receives the drives' lines for the diagnostics log (an image that cannot be read, no
// audio output).
using VirtualCdNotice = std::function<void(const std::string& line)>;

// True when TUNOVA_VIRTUAL_CD names at least one description file (or CUE sheet: a
// name ending in ".cue" stands for a description holding only "image NAME").
bool VirtualCdEnabled();

// The drive names ("D:", "E:", ...) of the descriptions TUNOVA_VIRTUAL_CD names, in
// the order drive discovery must try them (the order of the variable). Empty when it
// is unset. Drive discovery uses these instead of the machine's CD-ROM drives.
std::vector<std::string> VirtualCdDriveNames();

// A driver over the drives TUNOVA_VIRTUAL_CD names, playing against the steady clock
// scaled by TUNOVA_VIRTUAL_SPEED and tracing to TUNOVA_VIRTUAL_TRACE.
// rawOpener, when given, receives the raw reads of the same drives.
std::unique_ptr<CdAudioDriver> CreateVirtualCdDriverFromEnvironment(VirtualCdNotice notice = nullptr,
                                                                    RawCdOpener* rawOpener = nullptr);

// For tests: a driver holding one drive per description text, letters assigned as for
// files (image paths relative to the working folder); clock null means the steady
// clock; speed scales it.
// notice gets the log lines; openSound makes an image drive's sound output (null: the
// system's wave device).
std::unique_ptr<CdAudioDriver> CreateVirtualCdDriver(const std::vector<std::string>& descriptionTexts,
                                                     VirtualCdClock clock = nullptr, double speed = 1.0,
                                                     const std::string& tracePath = std::string(),
                                                     VirtualCdNotice notice = nullptr,
                                                     SoundOutputOpener openSound = nullptr,
                                                     RawCdOpener* rawOpener = nullptr);

// Installs CreateVirtualCdDriver({text}, clock) as the CD audio driver and its raw
// reads as the raw CD opener, so that
// OpenCdDevice("D:") (or the description's own letter) reads that disc.
void InstallVirtualCdText(const std::string& descriptionText, VirtualCdClock clock = nullptr);
