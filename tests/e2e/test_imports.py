"""The programs still load on the Windows they were first made for: a call that later
Windows added (the DPI of a monitor or window, the version-4 notification icon's helpers,
the shell's version) is looked up while running, never imported, since a missing import
stops Windows 95 or NT 4 from starting the program at all."""
import pathlib
import re
import shutil
import subprocess
import unittest

from tunova_e2e import BUILD, ROOT

PROGRAMS = {
    "64-bit": (BUILD / "tunova.exe", "x86_64-w64-mingw32-objdump"),
    "32-bit": (ROOT / "build" / "win32" / "tunova.exe", "i686-w64-mingw32-objdump"),
}
# What the first systems have, and what the program may import from them.
FIRST_SYSTEMS_DLLS = {"advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "shell32.dll",
                      "user32.dll", "winmm.dll", "wsock32.dll"}
# Calls the program makes only where Windows has them.
LATER_CALLS = {
    "GetDpiForWindow", "GetDpiForSystem", "GetSystemMetricsForDpi", "GetDpiForMonitor", "MonitorFromPoint",
    "MonitorFromWindow", "SetThreadDpiAwarenessContext", "SetProcessDpiAwarenessContext",
    "GetWindowDpiAwarenessContext", "AdjustWindowRectExForDpi", "LoadIconMetric", "DllGetVersion",
    "SystemParametersInfoForDpi", "EnableNonClientDpiScaling",
}


def imports(program, objdump):
    """{dll name in lower case: [function names]} of a program's import table."""
    text = subprocess.run([objdump, "-p", str(program)], capture_output=True, text=True, check=True).stdout
    table, dll = {}, None
    for line in text.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1).lower()
            table[dll] = []
            continue
        call = re.match(r"\s+[0-9a-f]+\s+\d+\s+(\S+)$", line)
        if dll and call:
            table[dll].append(call.group(1))
    return table


class ImportTest(unittest.TestCase):
    def test_nothing_later_windows_added_is_imported(self):
        checked = 0
        for name, (program, objdump) in PROGRAMS.items():
            if not program.exists() or not shutil.which(objdump):
                continue
            checked += 1
            table = imports(program, objdump)
            self.assertIn("user32.dll", table, name)
            self.assertLessEqual(set(table), FIRST_SYSTEMS_DLLS, name)
            imported = {call for calls in table.values() for call in calls}
            self.assertFalse(imported & LATER_CALLS, f"{name}: {sorted(imported & LATER_CALLS)}")
        self.assertGreater(checked, 0, "no program to check")


if __name__ == "__main__":
    unittest.main()
