#include "ui/properties/programming.h"

#include <utility>

#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"

namespace {

bool IsEntry(const PropertiesCopy& copy, int position) {
    return position >= 0 && position < CountProgramEntries(copy);
}

} // namespace

int CountProgramEntries(const PropertiesCopy& copy) { return static_cast<int>(copy.program.size()); }

bool CanProgramTrack(int track) {
    const CdDeviceRecord& device = CdDevice();
    return track >= 1 && track <= device.trackCount && static_cast<std::size_t>(track) < device.toc.size() &&
           device.toc[track - 1].type == TrackAudio;
}

bool AppendProgramTrack(PropertiesCopy& copy, int track) {
    if (!CanProgramTrack(track)) return false;
    copy.program.push_back(track);
    copy.programChanged = 1;
    return true;
}

bool RemoveProgramAt(PropertiesCopy& copy, int position) {
    if (!IsEntry(copy, position)) return false;
    copy.program.erase(copy.program.begin() + position);
    copy.programChanged = 1;
    return true;
}

bool MoveProgramUp(PropertiesCopy& copy, int position) {
    if (!IsEntry(copy, position) || !IsEntry(copy, position - 1)) return false;
    std::swap(copy.program[position - 1], copy.program[position]);
    copy.programChanged = 1;
    return true;
}

bool MoveProgramDown(PropertiesCopy& copy, int position) {
    if (!IsEntry(copy, position) || !IsEntry(copy, position + 1)) return false;
    std::swap(copy.program[position], copy.program[position + 1]);
    copy.programChanged = 1;
    return true;
}

bool ClearProgram(PropertiesCopy& copy) {
    if (copy.program.empty()) return false;
    copy.program.clear();
    copy.programChanged = 1;
    return true;
}

ArrowStates ArrowsFor(int position, int count) {
    ArrowStates arrows;
    if (position < 0 || position >= count) return arrows;
    arrows.up = position >= 1;
    arrows.down = position < count - 1;
    return arrows;
}
