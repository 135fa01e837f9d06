#!/usr/bin/env python3
"""Measures the processor time of tunova.exe playing a CD image against the same program
idle: stopped (nothing to play, the wave device closed or never busy) and paused (the
wave device held open). bench/run-imagecpu.sh sets up Wine and the sound server.

Usage: imagecpu.py SHEET SECONDS"""
import os
import pathlib
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "tools" / "e2e"))
import tunova_ids as ids  # noqa: E402
from tunova_e2e import MAIN_CAPTION, Tunova, driver, reset_registry, windows_path  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")
LIMIT_PERCENT = 2.0


def cpu_seconds(pid):
    """User and system time of the process so far."""
    fields = pathlib.Path("/proc/%d/stat" % pid).read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def measure(sheet, seconds, mode):
    reset_registry()
    with Tunova(env={"TUNOVA_VIRTUAL_CD": windows_path(sheet)}) as tunova:
        lines = tunova.wait_for_log("Starting play on track:  1", timeout=60)
        if any("No audio output" in line for line in lines):
            sys.exit("imagecpu: no audio output: " + next(line for line in lines if "No audio output" in line))
        if mode != "playing":
            driver("wait", MAIN_CAPTION, 10)
            driver("command", MAIN_CAPTION, ids.IDM_PAUSE if mode == "paused" else ids.IDM_STOP)
            tunova.wait_for_log("Pausing CD player." if mode == "paused" else "Stopping play.")
        pid = tunova.process.pid
        if b"tunova.exe" not in pathlib.Path("/proc/%d/cmdline" % pid).read_bytes():
            sys.exit("imagecpu: process %d is not tunova.exe" % pid)
        time.sleep(2)  # past start-up
        before, started = cpu_seconds(pid), time.monotonic()
        time.sleep(seconds)
        used, elapsed = cpu_seconds(pid) - before, time.monotonic() - started
        if not tunova.running():
            sys.exit("imagecpu: tunova.exe ended during the measurement")
        if mode == "playing" and not any(l.startswith("D: status-mode -> 0 526") for l in tunova.trace_lines()[-20:]):
            sys.exit("imagecpu: the drive was not playing at the end of the measurement")
        driver("command", MAIN_CAPTION, ids.IDM_EXIT)
        tunova.wait_exit(30)
    return 100.0 * used / elapsed


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sheet, seconds = pathlib.Path(sys.argv[1]).resolve(), float(sys.argv[2])
    playing = measure(sheet, seconds, "playing")
    paused = measure(sheet, seconds, "paused")
    stopped = measure(sheet, seconds, "stopped")
    cost = playing - stopped
    print("tunova.exe over %.0f s: playing %.2f%%, paused %.2f%%, stopped %.2f%% of one core; "
          "playback costs %.2f%% above stopped (limit %.1f%%)"
          % (seconds, playing, paused, stopped, cost, LIMIT_PERCENT))
    return 0 if cost < LIMIT_PERCENT else 1


if __name__ == "__main__":
    sys.exit(main())
