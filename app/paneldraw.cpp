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

FacePlacement PlaceFace(int left, int top, int right, int bottom) {
    const int width = right - left;
    const int height = bottom - top;
    // Integer division truncates toward zero, so a button one pixel short stays at 0.
    const int dx = std::max((width - PanelFaceSize) / 2, 0);
    const int dy = std::max((height - PanelFaceSize) / 2, 0);
    return {left + dx, top + dy, std::clamp(width, 0, PanelFaceSize), std::clamp(height, 0, PanelFaceSize)};
}
