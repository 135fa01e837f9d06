// Raw reads from a virtual drive, as the CD-ROM class driver answers them: the table
// from the drive's description, CDDA sectors from its image. A drive without an image,
// or one playing faster than life, cannot read audio (ERROR_INVALID_FUNCTION), as a
// drive whose raw reads fail; so does every raw request a "fail raw-open|raw-toc|
// raw-cdtext|raw-read CODE" directive names, with that Win32 code.
#pragma once

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/rawcd.h"
#include "platform/virtualcd/cuesheet.h"
#include "platform/virtualcd/discdescription.h"

// TUNOVA_VIRTUAL_TRACE, written from the drive's commands and from the raw reads of a
// digital player's thread alike.
class VirtualTrace {
public:
    explicit VirtualTrace(const std::string& path);
    ~VirtualTrace();
    VirtualTrace(const VirtualTrace&) = delete;
    VirtualTrace& operator=(const VirtualTrace&) = delete;
    void Line(const std::string& line);

private:
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
};

// What the raw reads of one drive know of it; the driver keeps it up to date.
struct VirtualRawDisc {
    std::string name; // "D:"
    DiscDescription disc;
    std::shared_ptr<const DiscImage> image;
    bool readsAudio = false;                // an image, played at its own speed
    std::atomic<bool> absent{false};        // no disc, or the door opened
    std::atomic<std::int64_t> readyAt{-1};  // the clock time the disc has settled
    MillisecondClock clock;
    std::shared_ptr<VirtualTrace> trace;
};

// Opens raw drives among these, by name.
RawCdOpener VirtualRawCdOpener(std::vector<std::shared_ptr<VirtualRawDisc>> discs);
