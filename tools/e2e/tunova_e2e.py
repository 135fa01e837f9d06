"""Runs tunova.exe under Wine for end-to-end tests and drives it like a user.

Assumes the project's Wine prefix and a running wineserver (tunova.sh prepares both);
every path handed to the program is turned into its Windows form.
"""
import os
import pathlib
import shutil
import signal
import subprocess
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
# TUNOVA_BUILD_DIR points the tests at another build's programs.
BUILD = pathlib.Path(os.environ.get("TUNOVA_BUILD_DIR", ROOT / "build" / "win64"))
WINE = "/usr/lib/wine/wine64"
MAIN_CAPTION = "Tunova2"
DIAGNOSTICS_CAPTION = "Tunova2 Diagnostics"


def wine_env(extra=None):
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", str(ROOT / "build" / "wineprefix"))
    env.setdefault("WINEDEBUG", "-all")
    env["WINELOADER"] = WINE
    env["PATH"] = "/usr/lib/wine:" + env.get("PATH", "")
    if extra:
        env.update(extra)
    return env


def windows_path(path):
    """Z:\\... for a Linux path: Wine maps the root file system to Z:."""
    return "Z:" + str(pathlib.Path(path).resolve()).replace("/", "\\")


def driver(*args, timeout=30):
    """Runs tunova_driver.exe with the arguments; returns (exit code, output). The
    driver prints window texts as UTF-8."""
    result = subprocess.run([WINE, str(BUILD / "tunova_driver.exe"), *map(str, args)],
                            env=wine_env(), capture_output=True, timeout=timeout)
    return result.returncode, result.stdout.decode("utf-8", errors="replace").replace("\r", "")


class Tunova:
    """One run of the player. Use as a context manager: the process never outlives it."""

    def __init__(self, *args, env=None, workdir=None):
        self.tmp = tempfile.TemporaryDirectory(prefix="tunova-e2e-")
        self.dir = pathlib.Path(self.tmp.name)
        self.log_path = self.dir / "tunova.log"
        self.trace_path = self.dir / "trace.txt"
        extra = {"TUNOVA_LOG": windows_path(self.log_path),
                 "TUNOVA_VIRTUAL_TRACE": windows_path(self.trace_path)}
        extra.update(env or {})
        self.process = subprocess.Popen([WINE, str(BUILD / "tunova.exe"), *args],
                                        env=wine_env(extra), cwd=workdir or ROOT,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        start_new_session=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.kill()
        self.tmp.cleanup()

    def kill(self):
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait(timeout=10)

    def log_lines(self):
        if not self.log_path.exists():
            return []
        return self.log_path.read_bytes().decode("latin-1").split("\r\n")[:-1]

    def trace_lines(self):
        if not self.trace_path.exists():
            return []
        return self.trace_path.read_text(errors="replace").splitlines()

    def wait_for_log(self, line, timeout=20, count=1):
        """Waits until the log holds the line (exactly) count times; returns the lines."""
        deadline = time.monotonic() + timeout
        while True:
            lines = self.log_lines()
            if lines.count(line) >= count:
                return lines
            if time.monotonic() > deadline or self.process.poll() is not None and lines.count(line) < count:
                if self.process.poll() is not None:
                    lines = self.log_lines()
                    if lines.count(line) >= count:
                        return lines
                raise AssertionError(f"log never showed {line!r}; log was:\n" + "\n".join(lines))
            time.sleep(0.05)

    def wait_exit(self, timeout=20):
        """Waits for the program to end; returns its exit code."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("tunova.exe did not end; log was:\n" + "\n".join(self.log_lines()))

    def running(self):
        return self.process.poll() is None


SAMPLES = ROOT / "samples"
TUNOVA_KEY = r"HKLM\SOFTWARE\Kestrow Software\Tunova"
OPTIONS_KEY = TUNOVA_KEY + r"\2.20\Tunova"


def sample_disc(name):
    """The Windows path of a sample disc description."""
    return windows_path(SAMPLES / "discs" / name)


def write_disc(directory, name, text):
    """A disc description of the test's own; returns its Windows path."""
    path = pathlib.Path(directory) / name
    path.write_text(text)
    return windows_path(path)


def reg(*args):
    result = subprocess.run([WINE, "reg", *args], env=wine_env(), capture_output=True, timeout=60)
    return result.returncode, result.stdout.decode("latin-1").replace("\r", "")


def reset_registry():
    """Back to what the installation creates: the sample registry data, no disc records,
    and no per-user options or records (read before the machine's)."""
    reg("delete", TUNOVA_KEY, "/f")
    reg("delete", TUNOVA_KEY.replace("HKLM\\", "HKCU\\", 1), "/f")
    installation = SAMPLES / "tunova.reg"
    if installation.exists():
        subprocess.run([WINE, "regedit", "/S", windows_path(installation)], env=wine_env(),
                       capture_output=True, timeout=60)
    else:
        reg("add", OPTIONS_KEY, "/f")
    # No test reaches the real MusicBrainz: the tests of that lookup point the server at
    # the fake service and turn the lookup on themselves.
    set_option("MusicBrainzQuery", 0)


def set_option(name, value):
    reg("add", OPTIONS_KEY, "/v", name, "/t", "REG_DWORD", "/d", str(value), "/f")


def played_tracks(tunova):
    """Track numbers from the log's "Starting play on track: " lines, in order."""
    prefix = "Starting play on track:  "
    return [int(line[len(prefix):]) for line in tunova.log_lines() if line.startswith(prefix)]


def wait_until(predicate, timeout=20, interval=0.05):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(interval)
    return predicate()


WINESERVER = "/usr/lib/wine/wineserver64"


def restart_wineserver():
    """Stops the server and starts a warm one, as tools/wine/prefix.sh does. No pipes: the
    server and Wine's services outlive the call and would hold them open."""
    quiet = {"env": wine_env(), "stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL,
             "stderr": subprocess.DEVNULL, "timeout": 60}
    subprocess.run([WINESERVER, "-k"], **quiet)
    subprocess.run([WINESERVER, "-w"], **quiet)
    subprocess.run([WINESERVER, "-p"], **quiet)
    subprocess.run([WINE, "cmd", "/c", "exit"], **quiet)


class X11Graphics:
    """Runs Wine with its X11 driver on the display for a while (the tests otherwise use
    the null driver, which has no keyboard), then puts the null driver back. The same
    switch as wine_set_graphics in tools/wine/prefix.sh."""

    def __enter__(self):
        reg("delete", r"HKCU\Software\Wine\Drivers", "/v", "Graphics", "/f")
        reg("add", r"HKCU\Software\Wine\Explorer", "/v", "Desktop", "/d", "Default", "/f")
        reg("add", r"HKCU\Software\Wine\Explorer\Desktops", "/v", "Default", "/d", "1024x768", "/f")
        restart_wineserver()
        return self

    def __exit__(self, *exc):
        reg("add", r"HKCU\Software\Wine\Drivers", "/v", "Graphics", "/d", "null", "/f")
        reg("delete", r"HKCU\Software\Wine\Explorer", "/v", "Desktop", "/f")
        restart_wineserver()


class ScreenDpi:
    """Wine's screen at another DPI for a while (the user's LogPixels, as the display
    settings set it), with a fresh server before and after, so that Wine's desktop and
    every program started meanwhile take it."""

    KEY = r"HKCU\Control Panel\Desktop"

    def __init__(self, dpi):
        self.dpi = dpi

    def __enter__(self):
        reg("add", self.KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(self.dpi), "/f")
        restart_wineserver()
        return self

    def __exit__(self, *exc):
        reg("delete", self.KEY, "/v", "LogPixels", "/f")
        restart_wineserver()


class OwnDisplay:
    """The X display to use: DISPLAY as it is, else an Xvfb of its own for the while (the
    test runner starts none). Sets DISPLAY for Wine and X tools; None-valued when there is
    no display and no Xvfb."""

    def __enter__(self):
        self.server = None
        self.previous = os.environ.get("DISPLAY")
        if self.previous or not shutil.which("Xvfb"):
            self.display = self.previous
            return self
        number = 131
        while os.path.exists(f"/tmp/.X11-unix/X{number}") or os.path.exists(f"/tmp/.X{number}-lock"):
            number += 1
        self.server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_until(lambda: os.path.exists(f"/tmp/.X11-unix/X{number}"), timeout=10):
            self.__exit__()
            self.display = None
            return self
        self.display = f":{number}"
        os.environ["DISPLAY"] = self.display
        return self

    def __exit__(self, *exc):
        if self.server:
            if self.previous is None:
                os.environ.pop("DISPLAY", None)
            self.server.terminate()
            self.server.wait()
            self.server = None
