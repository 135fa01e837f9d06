// Where a disc was when the program ended or the disc was ejected, kept in the disc's
// record so that the next run can start there. Older versions ignore the values.
#pragma once

#include <cstdint>

#include "platform/registry.h"

struct ResumePoint {
    std::int32_t track = 0;        // 1-based; 0: no point, play starts at the beginning
    std::int32_t seconds = 0;      // position within the track
    std::int32_t programEntry = 0; // 1-based entry of the programmed order, 0 without one
    bool Set() const { return track >= 1; }
};

// The point to keep from the play state at the end of a run: none unless the option is
// on and a track is playing or paused. A disc stopped (by the user, or at its end) starts
// from the beginning next time.
ResumePoint ResumePointAtEnd(bool resumeWhereStopped, bool playingOrPaused, int track, int minute, int second,
                             int programPos);

// The values in the disc's key: a point not set removes them.
void ReadResumePoint(RegistryKey key, ResumePoint& point);
void WriteResumePoint(RegistryKey key, const ResumePoint& point);
