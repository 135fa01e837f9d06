// Draws the panel's owner-drawn buttons from their faces, at the screen's scale, in the
// art's colours or, under a high-contrast theme, in the system's.
#include <windows.h>

#include <map>

#include "log/logmessage.h"
#include "app/paneldraw.h"
#include "app/shellstate.h"
#include "app/win32/panel.h"
#include "app/win32/shell.h"
#include "platform/win32/scoped.h"
#include "resources/resource.h"

namespace {

// The faces are loaded when first drawn and kept until the panel ends, each drawing of
// each face by its own resource id.
std::map<int, ScopedGdiObject<HBITMAP>>& FaceBitmaps() {
    static std::map<int, ScopedGdiObject<HBITMAP>> faces;
    return faces;
}

HBITMAP Face(int id) {
    std::map<int, ScopedGdiObject<HBITMAP>>& faces = FaceBitmaps();
    const auto found = faces.find(id);
    if (found != faces.end()) return found->second.Get();
    HBITMAP bitmap = LoadBitmapW(AppInstance(), MAKEINTRESOURCEW(id));
    if (!bitmap) LogMessageInt("Unable to load button bitmap: ", id);
    faces[id].Reset(bitmap); // a failed load is not tried again on every paint
    return bitmap;
}

constexpr COLORREF FaceBackground = RGB(0xC0, 0xC0, 0xC0); // the art's '.', silver

// The face's picture alone, in the button text's colour (grey text when disabled) on the
// button's colour: a mask of the face, one bit a pixel, set where the face is background.
void CopyInSystemColours(HDC target, const FacePlacement& place, HDC face, int faceSize, bool disabled) {
    const ScopedGdiObject<HBITMAP> mask(CreateBitmap(faceSize, faceSize, 1, 1, nullptr));
    const ScopedMemoryDc maskDc(CreateCompatibleDC(target));
    if (!mask.Get() || !maskDc) return;
    const ScopedSelection maskSelected(maskDc.Get(), mask.Get());
    const COLORREF faceBackground = SetBkColor(face, FaceBackground);
    BitBlt(maskDc.Get(), 0, 0, faceSize, faceSize, face, 0, 0, SRCCOPY);
    SetBkColor(face, faceBackground);
    // A one-bit source takes the target's text colour for 0 and its background for 1.
    const COLORREF text = SetTextColor(target, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    const COLORREF background = SetBkColor(target, GetSysColor(COLOR_BTNFACE));
    StretchBlt(target, place.x, place.y, place.width, place.height, maskDc.Get(), place.sourceX, place.sourceY,
               place.sourceWidth, place.sourceHeight, SRCCOPY);
    SetTextColor(target, text);
    SetBkColor(target, background);
}

} // namespace

void DrawPanelFocus(const DRAWITEMSTRUCT& item) {
    if (!(item.itemState & ODS_FOCUS) || (item.itemState & ODS_NOFOCUSRECT)) return;
    RECT frame = item.rcItem;
    InflateRect(&frame, -1, -1);
    if (frame.right > frame.left && frame.bottom > frame.top) DrawFocusRect(item.hDC, &frame);
}

void LoadPanelFaces() {
    const int artScale = PanelFaceArtScale(Shell().panelDpi);
    for (int control : {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_NEXT, IDC_PREVIOUS, IDC_EJECT, IDC_VOLUME_UP, IDC_VOLUME_DOWN}) {
        for (int state = 0; state < 3; ++state) {
            Face(PanelFaceResource(PanelFaceFor(control, state == 1, state == 2), artScale));
        }
    }
}

bool DrawPanelButton(const DRAWITEMSTRUCT& item) {
    const ShellState& shell = Shell();
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    // In the system's colours a disabled button shows its normal picture in grey text:
    // the grey faces' shading would turn into a blot.
    const int faceId = PanelFaceFor(static_cast<int>(item.CtlID), selected, disabled && !shell.highContrast);
    if (!faceId) return false;
    const FacePlacement place =
        PlaceFace(item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom, shell.panelDpi);
    HBITMAP bitmap = Face(PanelFaceResource(faceId, place.artScale));
    const ScopedMemoryDc memory(CreateCompatibleDC(item.hDC));
    if (bitmap && memory) {
        const ScopedSelection face(memory.Get(), bitmap);
        // Whole rows and columns are repeated or dropped, so the pixel art stays crisp;
        // the default mode would blend them into black.
        const int previousMode = SetStretchBltMode(item.hDC, COLORONCOLOR);
        if (shell.highContrast) {
            CopyInSystemColours(item.hDC, place, memory.Get(), PanelFaceSize * place.artScale, disabled);
        } else {
            StretchBlt(item.hDC, place.x, place.y, place.width, place.height, memory.Get(), place.sourceX,
                       place.sourceY, place.sourceWidth, place.sourceHeight, SRCCOPY);
        }
        SetStretchBltMode(item.hDC, previousMode);
    }
    DrawPanelFocus(item);
    return true;
}

void FreePanelFaces() { FaceBitmaps().clear(); }
