#include "app/paneldraw.h"

#include <algorithm>

#include "resources/resource.h"

namespace {

struct ButtonFaces {
    int controlId, normal, pushed, disabled;
};

constexpr ButtonFaces Faces[] = {
    {IDC_PLAY, IDB_PLAY, IDB_PLAY_PUSHED, IDB_PLAY_DISABLED},
    {IDC_PAUSE, IDB_PAUSE, IDB_PAUSE_PUSHED, IDB_PAUSE_DISABLED},
    {IDC_STOP, IDB_STOP, IDB_STOP_PUSHED, IDB_STOP_DISABLED},
    {IDC_PREVIOUS, IDB_PREVIOUS, IDB_PREVIOUS_PUSHED, IDB_PREVIOUS_DISABLED},
    {IDC_NEXT, IDB_NEXT, IDB_NEXT_PUSHED, IDB_NEXT_DISABLED},
    {IDC_EJECT, IDB_EJECT, IDB_EJECT_PUSHED, 0},
    {IDC_VOLUME_UP, IDB_VOLUME_UP, IDB_VOLUME_UP_PUSHED, IDB_VOLUME_UP_DISABLED},
    {IDC_VOLUME_DOWN, IDB_VOLUME_DOWN, IDB_VOLUME_DOWN_PUSHED, IDB_VOLUME_DOWN_DISABLED},
};

} // namespace

int PanelFaceFor(int controlId, bool selected, bool disabled) {
    for (const ButtonFaces& faces : Faces) {
        if (faces.controlId != controlId) continue;
        if (selected) return faces.pushed;
        if (disabled && faces.disabled) return faces.disabled;
        return faces.normal;
    }
    return 0;
}

namespace {

// One dimension: the destination's size, and the part of the face drawn into it.
struct Span {
    int offset, size, sourceOffset, sourceSize;
};

Span PlaceSpan(int available) {
    // Integer division truncates toward zero, so a button one pixel short stays at 0.
    const int offset = std::max((available - PanelFaceSize) / 2, 0);
    const int size = std::clamp(available, 0, PanelFaceSize);
    const int sourceSize = std::max(size, PanelFaceSize - 2 * PanelFaceMargin);
    return {offset, size, (PanelFaceSize - sourceSize) / 2, sourceSize};
}

} // namespace

FacePlacement PlaceFace(int left, int top, int right, int bottom) {
    const Span across = PlaceSpan(right - left);
    const Span down = PlaceSpan(bottom - top);
    return {left + across.offset, top + down.offset, across.size, down.size,
            across.sourceOffset, down.sourceOffset, across.sourceSize, down.sourceSize};
}
