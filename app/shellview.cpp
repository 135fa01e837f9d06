#include "app/shellview.h"

#include "app/shellstate.h"

namespace {

// Until a view is installed the shell's logic runs without windows.
class NoView : public ShellView {
public:
    void UpdateTrayIcon() override {}
    void SetTrayTip(const std::string&) override {}
    void RefreshMenus(bool) override {}
    void UpdatePanelButtons() override {}
    void SetStatusLine(const std::string&) override {}
    void EndProgram() override {}
    bool IsButtonHeld(int) override { return false; }
    void SetScanTimerPeriod(int) override {}
    void StartTrayClickTimer() override {}
    void StopTrayClickTimer() override {}
};

NoView noView;
ShellView* installedView = &noView;

} // namespace

void InstallShellView(ShellView* view) { installedView = view ? view : &noView; }
ShellView& View() { return *installedView; }

void EndProgram() {
    if (Shell().ending) return;
    Shell().ending = true;
    View().EndProgram();
}
