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

int ScaledToDpi(int pixels, int dpi) {
    if (dpi < 1) dpi = StandardDpi;
    return (pixels * dpi + StandardDpi / 2) / StandardDpi;
}

int PanelFaceArtScale(int dpi) {
    if (dpi < 1) dpi = StandardDpi;
    return std::clamp((dpi + StandardDpi - 1) / StandardDpi, 1, PanelFaceLargestArt);
}

int PanelFaceResource(int face, int artScale) {
    switch (artScale) {
    case 2:
        return IDB_FACE_2X(face);
    case 3:
        return IDB_FACE_3X(face);
    default:
        return face;
    }
}

namespace {

// One dimension: the destination's size, and the part of the face drawn into it.
struct Span {
    int offset, size, sourceOffset, sourceSize;
};

Span PlaceSpan(int available, int dpi, int artScale) {
    const int face = ScaledToDpi(PanelFaceSize, dpi);
    const int picture = ScaledToDpi(PanelFaceSize - 2 * PanelFaceMargin, dpi);
    // Integer division truncates toward zero, so a button one pixel short stays at 0.
    const int offset = std::max((available - face) / 2, 0);
    const int size = std::clamp(available, 0, face);
    // The part of the face shown, in the screen's pixels of the face, then in the
    // drawing's pixels.
    const int shown = std::max(size, picture);
    const int shownOffset = (face - shown) / 2;
    const int drawing = PanelFaceSize * artScale;
    return {offset, size, shownOffset * drawing / face, shown * drawing / face};
}

} // namespace

FacePlacement PlaceFace(int left, int top, int right, int bottom, int dpi) {
    const int artScale = PanelFaceArtScale(dpi);
    const Span across = PlaceSpan(right - left, dpi, artScale);
    const Span down = PlaceSpan(bottom - top, dpi, artScale);
    return {left + across.offset, top + down.offset, across.size, down.size,
            across.sourceOffset, down.sourceOffset, across.sourceSize, down.sourceSize, artScale};
}
