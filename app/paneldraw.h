// The panel buttons' faces: which picture a button shows in which state, and where it
// goes in the button.
#pragma once

// Faces are square pictures of this many pixels at 96 DPI.
constexpr int PanelFaceSize = 14;
// Every face keeps this many pixels of button colour on each side (a pushed face moves
// its picture one pixel into the right and bottom margins).
constexpr int PanelFaceMargin = 2;
// The faces are drawn at 1, 2 and 3 times their size too (resources/art, tools/resgen).
constexpr int PanelFaceLargestArt = 3;
// The DPI at which a face is drawn pixel for pixel.
constexpr int StandardDpi = 96;

// The face's resource id for a button's control id: pushed when selected, else grey
// when disabled (Eject has no grey face), else normal. 0 for a control without faces.
int PanelFaceFor(int controlId, bool selected, bool disabled);

// A length of 96 DPI at dpi, rounded to the nearest pixel (a dpi below 1 counts as 96).
int ScaledToDpi(int pixels, int dpi);

// Which drawing of the faces a screen of dpi takes: the smallest at least as large as
// the face is there (1 up to 96 DPI, 2 up to 192, else 3), so that a face is only ever
// shrunk, or enlarged beyond 288 DPI, by whole pixels (nearest neighbour).
int PanelFaceArtScale(int dpi);
// The resource id of face (a 96 DPI id) in the drawing of artScale.
int PanelFaceResource(int face, int artScale);

// Where a face is copied into an item rectangle, and which part of it, on a screen of
// dpi. The face is as large as its 96 DPI size scaled to the screen. In a larger
// button the whole face is centred. A smaller button gets the face at its top-left
// corner: first its margins are left out, which keeps the picture at its size, and
// only a button smaller than the picture itself gets it scaled down.
struct FacePlacement {
    int x, y, width, height;                         // in the button, screen pixels
    int sourceX, sourceY, sourceWidth, sourceHeight; // in the drawing of artScale
    int artScale;
};
FacePlacement PlaceFace(int left, int top, int right, int bottom, int dpi = StandardDpi);
