// Draws the panel's owner-drawn buttons from their 14 x 14 faces.
#include <windows.h>

#include <map>

#include "log/logmessage.h"
#include "app/paneldraw.h"
#include "app/win32/panel.h"
#include "app/win32/shell.h"
#include "platform/win32/scoped.h"
#include "resources/resource.h"

namespace {

// The faces are loaded once and kept until the panel ends.
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

} // namespace

void LoadPanelFaces() {
    for (int control : {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_NEXT, IDC_PREVIOUS, IDC_EJECT, IDC_VOLUME_UP, IDC_VOLUME_DOWN}) {
        for (int state = 0; state < 3; ++state) Face(PanelFaceFor(control, state == 1, state == 2));
    }
}

bool DrawPanelButton(const DRAWITEMSTRUCT& item) {
    const int faceId = PanelFaceFor(static_cast<int>(item.CtlID), (item.itemState & ODS_SELECTED) != 0,
                                    (item.itemState & ODS_DISABLED) != 0);
    if (!faceId) return false;
    HBITMAP bitmap = Face(faceId);
    const FacePlacement place = PlaceFace(item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom);
    const ScopedMemoryDc memory(CreateCompatibleDC(item.hDC));
    if (!bitmap || !memory) return true;
    const ScopedSelection face(memory.Get(), bitmap);
    // Dropping whole rows and columns keeps a shrunk face crisp; the default mode
    // would blend them into black.
    const int previousMode = SetStretchBltMode(item.hDC, COLORONCOLOR);
    StretchBlt(item.hDC, place.x, place.y, place.width, place.height, memory.Get(), place.sourceX, place.sourceY,
               place.sourceWidth, place.sourceHeight, SRCCOPY);
    SetStretchBltMode(item.hDC, previousMode);
    return true;
}

void FreePanelFaces() { FaceBitmaps().clear(); }
