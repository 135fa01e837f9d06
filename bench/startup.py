#!/usr/bin/env python3
"""Measures how long tunova.exe takes to start under Wine: from the process's launch to
the main window's creation (its initialisation logs "Starting general initialization.")
and to the first track playing ("Starting play on track:  1"), on the sample disc.
bench/run-startup.sh sets up Wine.

Usage: startup.py RUNS EXE [EXE ...]
Each program runs RUNS times, the programs taking turns, after one warm-up run each;
prints the median and the quartiles of both times for each."""
import os
import pathlib
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tools" / "e2e"))
from tunova_e2e import WINE, sample_disc, wine_env, windows_path  # noqa: E402

WINDOW_LINE = "Starting general initialization."
PLAYING_LINE = "Starting play on track:  1"


def one_start(exe):
    """(seconds to the main window, seconds to play) of one run of exe."""
    with tempfile.TemporaryDirectory(prefix="tunova-startup-") as directory:
        log = pathlib.Path(directory) / "tunova.log"
        env = wine_env({"TUNOVA_LOG": windows_path(log), "TUNOVA_VIRTUAL_CD": sample_disc("album.disc")})
        started = time.monotonic()
        process = subprocess.Popen([WINE, str(exe)], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True)
        window = playing = None
        try:
            while playing is None:
                if time.monotonic() - started > 60 or process.poll() is not None:
                    sys.exit(f"startup: {exe} did not start playing")
                text = log.read_bytes().decode("utf-8", "replace") if log.exists() else ""
                now = time.monotonic() - started
                if window is None and WINDOW_LINE in text:
                    window = now
                if PLAYING_LINE in text:
                    playing = now
                time.sleep(0.002)
        finally:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait(timeout=10)
    return window, playing


def describe(times):
    quartiles = statistics.quantiles(times, n=4)
    return f"median {statistics.median(times) * 1000:.0f} ms (quartiles {quartiles[0] * 1000:.0f}-{quartiles[2] * 1000:.0f})"


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    runs = int(sys.argv[1])
    exes = [pathlib.Path(name).resolve() for name in sys.argv[2:]]
    for exe in exes:
        one_start(exe)  # warm-up: the page cache, Wine's own start
    results = {exe: [] for exe in exes}
    for _ in range(runs):
        for exe in exes:
            results[exe].append(one_start(exe))
    for exe, samples in results.items():
        print(f"{exe}: {runs} runs; main window {describe([w for w, _ in samples])}; "
              f"playing {describe([p for _, p in samples])}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
