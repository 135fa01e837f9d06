#!/usr/bin/env python3
"""Pictures of the running program for the README: the control panel playing the sample
disc with its titles, the notification tip and the notification-area menu; then the tip
and the Select Track menu of a disc with Japanese titles.

    tools/screenshot/screenshot.py [--dpi 144] [--out docs]

Runs build/win64/tunova.exe under Wine on a private Xvfb screen, with the registry data a
run of ./tunova.sh gets (the sample local cddb copy switched on). --dpi 144 shows the
screen at 150 % (restored afterwards). Needs the packages ./tunova.sh installs (the
prefix links Wine's UI fonts to a CJK font, tools/wine/prefix.sh).
"""
import argparse
import os
import pathlib
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools" / "e2e"))

import tunova_ids as ids  # noqa: E402
from tunova_e2e import (MAIN_CAPTION, OPTIONS_KEY, SAMPLES, Tunova, driver, reg,  # noqa: E402
                        reset_registry, sample_disc, wait_until, windows_path)

SHOW_CONTROLS = ids.IDM_SHOW_CONTROLS
EXIT = ids.IDM_EXIT
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"


def start_screen():
    """A private Xvfb display; returns (process, display name)."""
    n = 120
    while pathlib.Path(f"/tmp/.X11-unix/X{n}").exists() or pathlib.Path(f"/tmp/.X{n}-lock").exists():
        n += 1
    xvfb = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if not wait_until(lambda: pathlib.Path(f"/tmp/.X11-unix/X{n}").exists(), timeout=10):
        raise SystemExit("Xvfb did not start")
    return xvfb, f":{n}"


def wine_shell(script):
    """Runs one step of the project's Wine helpers (tools/wine/prefix.sh)."""
    subprocess.run(["bash", "-c", f'ROOT="{ROOT}"; source "$ROOT/tools/wine/prefix.sh"; {script}'],
                   check=True, stdout=subprocess.DEVNULL)


def snap(path, crop):
    """A picture of part of the screen: crop is ImageMagick's WxH+X+Y."""
    subprocess.run(["import", "-window", "root", "-crop", crop, "+repage", str(path)], check=True)
    print(f"wrote {path.relative_to(ROOT) if path.is_relative_to(ROOT) else path}")


def scale(pixels, dpi):
    return min(pixels * dpi // 96, 760)


def use_sample_copy():
    reset_registry()
    reg("add", OPTIONS_KEY, "/v", "cddbQueryLocal", "/t", "REG_DWORD", "/d", "1", "/f")
    reg("add", OPTIONS_KEY, "/v", "cddbRootDirectory", "/d", windows_path(SAMPLES / "cddb"), "/f")


def started_on(disc, disc_id):
    """The player on a sample disc, once the sample copy has given its titles."""
    tunova = Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc(disc)})
    tunova.wait_for_log("Found CD in local cddb:  " + disc_id, timeout=60)
    if driver("wait", MAIN_CAPTION, 20)[0] != 0:
        raise SystemExit("the main window never appeared")
    return tunova


def show_tip(path):
    """The tip of the notification icon, at the right end of Wine's taskbar."""
    subprocess.run(["xdotool", "mousemove", "1013", "757"], check=True)
    time.sleep(3)
    snap(path, "420x90+604+678")


def take(out, suffix, dpi):
    use_sample_copy()
    with started_on("album.disc", "9c0b330c") as tunova:
        driver("command", MAIN_CAPTION, SHOW_CONTROLS)
        time.sleep(2)
        # The panel sits at the top left corner of the screen: its client area, the frame
        # round it and a little of the desktop.
        _, _, right, bottom = (int(n) for n in driver("place", MAIN_CAPTION, 0)[1].split())
        margin = 1 + 6 * dpi // 96
        snap(out / f"panel{suffix}.png", f"{right + margin}x{bottom + margin}+0+0")

        show_tip(out / f"tip{suffix}.png")

        # A right click on the notification icon: the menu as the shell brings it, at
        # whichever behaviour the icon asked of it.
        subprocess.run(["xdotool", "click", "3"], check=True)
        time.sleep(2)
        snap(out / f"tray-menu{suffix}.png", f"{scale(200, dpi)}x{scale(330, dpi)}+{1024 - scale(200, dpi)}+{768 - scale(330, dpi)}")
        subprocess.run(["xdotool", "key", "Escape"], check=True)
        time.sleep(0.5)
        driver("command", MAIN_CAPTION, EXIT)
        tunova.wait_exit()
    reset_registry()


def take_japanese(out):
    """The tip and the Select Track menu of minato.disc, whose titles are Japanese."""
    use_sample_copy()
    with started_on("minato.disc", "a40b220c") as tunova:
        show_tip(out / "tip-japanese.png")
        # The menu opens at the mouse, over the icon; the keyboard walks down to Select
        # Track (the seventh item), opens it to the left and lights its second item (the
        # first, playing, is grey).
        driver("post", MAIN_CAPTION, TRAY_MESSAGE, 0, WM_RBUTTONDOWN)
        time.sleep(2)
        subprocess.run(["xdotool", "key", "--delay", "150", *["Down"] * 7, "Right", "Down"], check=True)
        time.sleep(1)
        snap(out / "select-track-japanese.png", "430x380+594+388")
        subprocess.run(["xdotool", "key", "Escape", "Escape"], check=True)
        time.sleep(0.5)
        driver("command", MAIN_CAPTION, EXIT)
        tunova.wait_exit()
    reset_registry()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--dpi", type=int, default=96)
    parser.add_argument("--out", type=pathlib.Path, default=ROOT / "docs")
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)

    xvfb, display = start_screen()
    os.environ["DISPLAY"] = display
    try:
        # A fresh server, so that Wine's desktop starts on this screen.
        wine_shell("wine_prepare_prefix; wine_stop_server; wine_set_graphics x11; wine_stop_server")
        if args.dpi != 96:
            reg("add", DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(args.dpi), "/f")
        try:
            wine_shell("wine_start_server")
            take(args.out, "" if args.dpi == 96 else f"-{args.dpi}dpi", args.dpi)
            if args.dpi == 96:
                take_japanese(args.out)
        finally:
            if args.dpi != 96:
                reg("delete", DESKTOP_KEY, "/v", "LogPixels", "/f")
    finally:
        wine_shell("wine_stop_server")
        xvfb.kill()
        xvfb.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main())
