#include "app/win32/mixerwindow.h"

#include "app/mixer.h"
#include "app/shellstate.h"
#include "app/win32/panel.h"
#include "app/win32/shell.h"
#include "resources/resource.h"

namespace {

class PanelVolumeView : public VolumeView {
public:
    void RedrawVolumeBar() override {
        RedrawWindow(GetDlgItem(MainWindow(), IDC_VOLUME_BAR), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    void DisableVolumeControls() override {
        for (int id : {IDC_VOLUME_UP, IDC_VOLUME_DOWN, IDC_VOLUME_BAR}) EnableWindow(GetDlgItem(MainWindow(), id), FALSE);
    }
    bool IsButtonHeld(int controlId) override {
        return (SendDlgItemMessageW(MainWindow(), controlId, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    }
};

static_assert(IDC_VOLUME_UP == VolumeUpButton && IDC_VOLUME_DOWN == VolumeDownButton && IDC_VOLUME_BAR == VolumeBar,
              "volume control ids");

} // namespace

void StartMixer(HWND window) {
    static PanelVolumeView view;
    InstallVolumeView(&view);
    DiscoverMixer(reinterpret_cast<std::uintptr_t>(window));
}

bool DrawVolumeBar(const DRAWITEMSTRUCT& item) {
    const MixerRecord& mixer = MixerState();
    if (item.CtlID != IDC_VOLUME_BAR || !mixer.mixerHandle) return false;
    const VolumeBarFill fill = VolumeBarFor(mixer, item.rcItem.top, item.rcItem.bottom);
    if (fill.visible) {
        const RECT filled{item.rcItem.left, fill.top, item.rcItem.right, item.rcItem.bottom};
        // A high-contrast theme's colours: a white bar would vanish on a white theme.
        HBRUSH brush = Shell().highContrast ? GetSysColorBrush(fill.grey ? COLOR_GRAYTEXT : COLOR_BTNTEXT)
                                            : static_cast<HBRUSH>(GetStockObject(fill.grey ? GRAY_BRUSH : WHITE_BRUSH));
        FillRect(item.hDC, &filled, brush);
    }
    DrawPanelFocus(item);
    return true;
}
