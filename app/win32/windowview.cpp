// The shell's views as the real windows: the icon, the menus, the panel and its timers.
#include <windows.h>

#include "app/shellstate.h"
#include "app/shellview.h"
#include "app/trayicon.h"
#include "app/win32/panel.h"
#include "app/win32/shell.h"
#include "app/win32/timers.h"
#include "platform/win32/windowtext.h"
#include "resources/resource.h"

namespace {

class WindowView : public ShellView {
public:
    void UpdateTrayIcon() override { ::UpdateTrayIcon(); }
    void SetTrayTip(const std::string& tip) override { ::SetTrayTip(tip); }
    void RefreshMenus(bool rebuildTitles) override { ::RefreshMenus(rebuildTitles); }
    void UpdatePanelButtons() override { ::UpdatePanelButtons(); }
    void SetStatusLine(const std::string& text) override {
        SetItemTextUtf8(MainWindow(), IDC_STATUS, text);
    }
    void EndProgram() override { DestroyWindow(MainWindow()); }
    bool IsButtonHeld(int controlId) override {
        const LRESULT state = SendDlgItemMessageW(MainWindow(), controlId, BM_GETSTATE, 0, 0);
        return (state & BST_PUSHED) != 0;
    }
    void SetScanTimerPeriod(int milliseconds) override { StartScanTimer(milliseconds); }
    void StartTrayClickTimer() override { ::StartTrayClickTimer(); }
    void StopTrayClickTimer() override { ::StopTrayClickTimer(); }
};

} // namespace

void InstallWindowView() {
    static WindowView view;
    InstallShellView(&view);
}
