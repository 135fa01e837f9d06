#!/usr/bin/env python3
"""Measures the processor time of tunova.exe playing a CD image against the least a
program can do to play the same samples (tunova_waveplayer.exe, the floor), and the same
program paused and stopped, once it has closed its wave stream. bench/run-imagecpu.sh
sets up Wine and the sound server.

Usage: imagecpu.py SHEET SECONDS"""
import os
import pathlib
import subprocess
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "tools" / "e2e"))
import tunova_ids as ids  # noqa: E402
from tunova_e2e import BUILD, MAIN_CAPTION, WINE, Tunova, driver, reset_registry, wine_env, \
    windows_path  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")
FLOOR_RATIO = 1.25           # playing, against the minimal player
IDLE_LIMIT_PERCENT = 0.1     # paused or stopped
CLOSE_WAIT = 5               # seconds a paused or stopped player gets to close its stream


def cpu_seconds(pid):
    """User and system time of the process so far."""
    fields = pathlib.Path("/proc/%d/stat" % pid).read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def measure_processes(pids, seconds):
    """Each process's share of one core over the same seconds."""
    before, started = [cpu_seconds(pid) for pid in pids], time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - started
    return [100.0 * (cpu_seconds(pid) - used) / elapsed for pid, used in zip(pids, before)]


def start_floor(sheet, seconds):
    """The minimal two-block waveOut player on the image's own samples, for a while."""
    samples = sheet.with_suffix(".bin")
    process = subprocess.Popen([WINE, str(BUILD / "tunova_waveplayer.exe"), windows_path(samples), str(seconds)],
                               env=wine_env(), stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    time.sleep(2)  # past start-up
    if process.poll() is not None:
        sys.exit("imagecpu: the minimal player ended: " + process.stderr.read().decode(errors="replace"))
    if b"tunova_waveplayer.exe" not in pathlib.Path("/proc/%d/cmdline" % process.pid).read_bytes():
        sys.exit("imagecpu: process %d is not tunova_waveplayer.exe" % process.pid)
    return process


def measure(sheet, seconds, mode):
    """tunova.exe's share of a core; playing, also the floor's over the same seconds, so
    that both meet the same load of the machine."""
    reset_registry()
    with Tunova(env={"TUNOVA_VIRTUAL_CD": windows_path(sheet)}) as tunova:
        lines = tunova.wait_for_log("Starting play on track:  1", timeout=60)
        if any("No audio output" in line for line in lines):
            sys.exit("imagecpu: no audio output: " + next(line for line in lines if "No audio output" in line))
        path = "digitally" if "Playing digitally from D:" in lines else "through the drive's own output"
        if mode != "playing":
            driver("wait", MAIN_CAPTION, 10)
            driver("command", MAIN_CAPTION, ids.IDM_PAUSE if mode == "paused" else ids.IDM_STOP)
            tunova.wait_for_log("Pausing CD player." if mode == "paused" else "Stopping play.")
        pid = tunova.process.pid
        if b"tunova.exe" not in pathlib.Path("/proc/%d/cmdline" % pid).read_bytes():
            sys.exit("imagecpu: process %d is not tunova.exe" % pid)
        time.sleep(2 if mode == "playing" else CLOSE_WAIT)  # past start-up, or the stream's close
        floor = start_floor(sheet, seconds + 6) if mode == "playing" else None
        percents = measure_processes([pid] + ([floor.pid] if floor else []), seconds)
        if floor and floor.wait(timeout=30) != 0:
            sys.exit("imagecpu: the minimal player failed: " + floor.stderr.read().decode(errors="replace"))
        if not tunova.running():
            sys.exit("imagecpu: tunova.exe ended during the measurement")
        if mode == "playing" and "Stopping play." in tunova.log_lines():
            sys.exit("imagecpu: the player was not playing at the end of the measurement")
        driver("command", MAIN_CAPTION, ids.IDM_EXIT)
        tunova.wait_exit(30)
    return percents + [None] * (2 - len(percents)), path


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sheet, seconds = pathlib.Path(sys.argv[1]).resolve(), float(sys.argv[2])
    (playing, floor), path = measure(sheet, seconds, "playing")
    (paused, _), _ = measure(sheet, seconds, "paused")
    (stopped, _), _ = measure(sheet, seconds, "stopped")
    cost, ratio = playing - stopped, playing / floor if floor > 0 else float("inf")
    # Playing is judged against the floor, not against a fixed share of a core: on a
    # loaded machine the minimal player alone can cost more than 2%.
    print("tunova.exe over %.0f s, playing %s: playing %.2f%% (the minimal player beside it %.2f%%: %.2fx, "
          "limit %.2fx), paused %.2f%%, stopped %.2f%% of one core (limit %.1f%%); playback costs %.2f%% above "
          "stopped" % (seconds, path, playing, floor, ratio, FLOOR_RATIO, paused, stopped, IDLE_LIMIT_PERCENT, cost))
    ok = ratio <= FLOOR_RATIO and paused <= IDLE_LIMIT_PERCENT and stopped <= IDLE_LIMIT_PERCENT
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
