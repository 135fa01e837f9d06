// The panel buttons' faces: which picture a button shows in which state, and where it
// goes in the button.
#pragma once

// Faces are square pictures of this many pixels.
constexpr int PanelFaceSize = 14;

// The face's resource id for a button's control id: pushed when selected, else grey
// when disabled (Eject has no grey face), else normal. 0 for a control without faces.
int PanelFaceFor(int controlId, bool selected, bool disabled);

// Where the face is copied into an item rectangle: centred when the button is larger,
// from the top-left corner and scaled down to fit when it is smaller.
struct FacePlacement {
    int x, y, width, height;
};
FacePlacement PlaceFace(int left, int top, int right, int bottom);
