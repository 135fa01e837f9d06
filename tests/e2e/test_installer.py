"""The setup program installs the player, the installed player runs, the uninstaller
removes what setup put in place.

Wine here has no 32-bit half, so the test installs tunova-setup-x64.exe, built from the
same script as tunova-setup.exe; both install the 64-bit program on 64-bit Windows.
"""
import pathlib
import subprocess
import tempfile
import unittest

import tunova_ids as ids
from tunova_e2e import (BUILD, MAIN_CAPTION, SAMPLES, TUNOVA_KEY, WINE, Tunova, driver, reg, reset_registry,
                        sample_disc, wait_until, wine_env, windows_path)

SETUP = BUILD / "tunova-setup-x64.exe"
PREFIX = pathlib.Path(wine_env()["WINEPREFIX"])
INSTALL_DIR = PREFIX / "drive_c" / "Program Files" / "Tunova"
START_MENU = PREFIX / "drive_c" / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Tunova"
SETTINGS_KEY = TUNOVA_KEY + r"\2.20"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tunova"
RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
ALBUM_KEY = "1062D1F"  # the album's media identity
CATEGORIES = ["blues", "classical", "country", "data", "folk", "jazz", "misc", "newage", "reggae",
              "rock", "soundtrack"]


class InstalledTunova(Tunova):
    """A run of the installed program instead of the build's."""

    def __init__(self, program, env):  # pylint: disable=super-init-not-called
        self.tmp = tempfile.TemporaryDirectory(prefix="tunova-e2e-")
        self.dir = pathlib.Path(self.tmp.name)
        self.log_path = self.dir / "tunova.log"
        self.trace_path = self.dir / "trace.txt"
        extra = {"TUNOVA_LOG": windows_path(self.log_path),
                 "TUNOVA_VIRTUAL_TRACE": windows_path(self.trace_path), **env}
        self.process = subprocess.Popen([WINE, str(program)], env=wine_env(extra), cwd=program.parent,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        start_new_session=True)


def run_wine(*args, timeout=120):
    result = subprocess.run([WINE, *map(str, args)], env=wine_env(), capture_output=True,
                            timeout=timeout, start_new_session=True)
    return result.returncode


def uninstaller_running():
    """The uninstaller copies itself to TEMP\\~nsu*.tmp\\Un.exe and runs on from there
    after the program that was started has ended; other prefixes' copies do not count."""
    prefix = "WINEPREFIX=" + str(PREFIX)
    for process in pathlib.Path("/proc").glob("[0-9]*"):
        try:
            command = (process / "cmdline").read_bytes().decode("latin-1")
            if "~nsu" not in command or ".tmp\\Un" not in command:
                continue
            if prefix in (process / "environ").read_bytes().decode("latin-1").split("\0"):
                return True
        except OSError:
            continue
    return False


def uninstall():
    code = run_wine(INSTALL_DIR / "uninstall.exe", "/S")
    if not wait_until(lambda: not uninstaller_running(), timeout=60):
        raise AssertionError("the uninstaller did not end")
    return code


def values(key):
    """The values of one key (not its subkeys) as name -> (type, data); None when it is missing."""
    code, text = reg("query", key)
    if code != 0:
        return None
    found = {}
    for line in text.split("\n"):
        parts = line.strip().split(None, 2)
        if line.startswith("    ") and len(parts) >= 2 and parts[1].startswith("REG_"):
            found[parts[0]] = (parts[1], parts[2] if len(parts) > 2 else "")
    return found


class InstallerTest(unittest.TestCase):
    def setUp(self):
        self.assertTrue(SETUP.exists(), f"{SETUP} was not built")
        # A machine that never had the player.
        reg("delete", TUNOVA_KEY, "/f")
        self.addCleanup(reset_registry)
        self.addCleanup(self.uninstall_leftovers)

    def uninstall_leftovers(self):
        if (INSTALL_DIR / "uninstall.exe").exists():
            uninstall()

    def test_install_run_uninstall(self):
        self.assertEqual(run_wine(SETUP, "/S"), 0)

        # The files, the Start menu entries and the uninstaller.
        installed = INSTALL_DIR / "tunova.exe"
        self.assertTrue(installed.read_bytes() == (BUILD / "tunova.exe").read_bytes(),
                        f"{installed} is not the build's program: is {SETUP.name} older than it?")
        self.assertTrue((INSTALL_DIR / "uninstall.exe").exists())
        self.assertEqual(sorted(p.name for p in START_MENU.iterdir()),
                         ["Tunova.lnk", "Uninstall Tunova.lnk"])

        # The registry data the program reads: today's service first, the 11 categories,
        # the options key and the record keys of this and the older versions.
        cddb = values(SETTINGS_KEY + r"\cddb")
        self.assertEqual(cddb["cddbServer1"], ("REG_SZ", "gnudb.gnudb.org:8880 gnudb, worldwide"))
        self.assertIn("smtpSubmitAddress", cddb)
        categories = [cddb[f"cddbCategory{n}"][1].split(" - ")[0] for n in range(1, 12)]
        self.assertEqual(categories, CATEGORIES)
        self.assertNotIn("cddbCategory12", cddb)
        for key in (r"\2.20\Tunova", r"\2.20\CD Information", r"\2.10\CD Information",
                    r"\2.00\CD Information"):
            self.assertIsNotNone(values(TUNOVA_KEY + key), key)
        arp = values(UNINSTALL_KEY)
        self.assertEqual(arp["DisplayName"], ("REG_SZ", "Tunova 2.21"))
        self.assertEqual(arp["UninstallString"][1], '"C:\\Program Files\\Tunova\\uninstall.exe"')
        # "Start with Windows" is offered unchecked.
        self.assertNotIn("Tunova", values(RUN_KEY) or {})

        # The installed program plays a disc and finds its titles in a local copy, as set
        # on its cddb Query page; its exit save lands in the keys setup made.
        options = SETTINGS_KEY + r"\Tunova"
        reg("add", options, "/v", "cddbQueryLocal", "/t", "REG_DWORD", "/d", "1", "/f")
        reg("add", options, "/v", "cddbRootDirectory", "/d", windows_path(SAMPLES / "cddb"), "/f")
        with InstalledTunova(installed, {"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            tunova.wait_for_log("Found CD in local cddb:  9c0b330c")
            self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)
        self.assertEqual(values(options)["StopAtExit"], ("REG_DWORD", "0x1"))
        record_key = SETTINGS_KEY + r"\CD Information" + "\\" + ALBUM_KEY
        self.assertEqual(values(record_key)["Artist"], ("REG_SZ", "The Lanterns"))

        # A silent uninstall removes the program, its entries and settings; the disc record
        # the user built up stays (only the interactive uninstall offers to remove it).
        self.assertEqual(uninstall(), 0)
        self.assertFalse(INSTALL_DIR.exists())
        self.assertFalse(START_MENU.exists())
        self.assertIsNone(values(UNINSTALL_KEY))
        self.assertIsNone(values(SETTINGS_KEY + r"\cddb"))
        self.assertIsNone(values(SETTINGS_KEY + r"\Tunova"))
        self.assertIsNone(values(TUNOVA_KEY + r"\2.10"))
        self.assertEqual(values(record_key)["Artist"], ("REG_SZ", "The Lanterns"))


if __name__ == "__main__":
    unittest.main()
