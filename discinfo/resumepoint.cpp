#include "discinfo/resumepoint.h"

#include "discinfo/registryvalues.h"

namespace {
const char* const TrackValue = "ResumeTrack";
const char* const SecondsValue = "ResumeSeconds";
const char* const ProgramEntryValue = "ResumeProgramEntry";
} // namespace

ResumePoint ResumePointAtEnd(bool resumeWhereStopped, bool playingOrPaused, int track, int minute, int second,
                             int programPos) {
    if (!resumeWhereStopped || !playingOrPaused || track < 1) return ResumePoint();
    ResumePoint point;
    point.track = track;
    point.seconds = minute * 60 + second;
    point.programEntry = programPos > 0 ? programPos : 0;
    return point;
}

void ReadResumePoint(RegistryKey key, ResumePoint& point) {
    ResumePoint stored;
    ReadRegistryDword(key, TrackValue, &stored.track);
    ReadRegistryDword(key, SecondsValue, &stored.seconds);
    ReadRegistryDword(key, ProgramEntryValue, &stored.programEntry);
    // Stored values are checked against the disc when they are used; only nonsense
    // that no disc could hold is dropped here.
    if (stored.track < 1 || stored.seconds < 0 || stored.programEntry < 0) stored = ResumePoint();
    point = stored;
}

void WriteResumePoint(RegistryKey key, const ResumePoint& point) {
    if (!point.Set()) {
        Registry().DeleteValue(key, TrackValue);
        Registry().DeleteValue(key, SecondsValue);
        Registry().DeleteValue(key, ProgramEntryValue);
        return;
    }
    WriteRegistryDword(key, TrackValue, point.track);
    WriteRegistryDword(key, SecondsValue, point.seconds);
    if (point.programEntry > 0) WriteRegistryDword(key, ProgramEntryValue, point.programEntry);
    else Registry().DeleteValue(key, ProgramEntryValue);
}
