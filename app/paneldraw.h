// The panel buttons' faces: which picture a button shows in which state, and where it
// goes in the button.
#pragma once

// Faces are square pictures of this many pixels.
constexpr int PanelFaceSize = 14;
// Every face keeps this many pixels of button colour on each side (a pushed face moves
// its picture one pixel into the right and bottom margins).
constexpr int PanelFaceMargin = 2;

// The face's resource id for a button's control id: pushed when selected, else grey
// when disabled (Eject has no grey face), else normal. 0 for a control without faces.
int PanelFaceFor(int controlId, bool selected, bool disabled);

// Where a face is copied into an item rectangle, and which part of it. In a larger
// button the whole face is centred. A smaller button gets the face at its top-left
// corner: first its margins are left out, which keeps the picture pixel for pixel, and
// only a button smaller than the picture itself gets it scaled down.
struct FacePlacement {
    int x, y, width, height;                      // in the button
    int sourceX, sourceY, sourceWidth, sourceHeight; // in the face
};
FacePlacement PlaceFace(int left, int top, int right, int bottom);
