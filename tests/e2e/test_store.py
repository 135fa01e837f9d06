"""Disc records and options in the real registry, the Cdplayer.ini import, and saving
at the end of a Windows session."""
import os
import pathlib
import unittest

import tunova_ids as ids
from tunova_e2e import (MAIN_CAPTION, OPTIONS_KEY, TUNOVA_KEY, Tunova, driver, reg, reset_registry,
                        sample_disc, wine_env)

ALBUM_KEY = "1062D1F"  # the album's media identity, as the Windows rule gives it
RECORD_KEY = TUNOVA_KEY + r"\2.20\CD Information" + "\\" + ALBUM_KEY
# The same paths under the user's own root, where a user without the right to change
# the machine's keys keeps options and records.
USER_KEY = r"HKCU\SOFTWARE\Kestrow Software\Tunova"
USER_RECORD_KEY = USER_KEY + r"\2.20\CD Information" + "\\" + ALBUM_KEY
WM_QUERYENDSESSION = 0x0011
WM_ENDSESSION = 0x0016


def cdplayer_ini():
    return pathlib.Path(wine_env()["WINEPREFIX"]) / "drive_c" / "windows" / "cdplayer.ini"


def album():
    return {"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}


class StoreTest(unittest.TestCase):
    def setUp(self):
        reset_registry()
        reg("delete", USER_KEY, "/f")
        self.ini = cdplayer_ini()
        if self.ini.exists():
            self.ini.unlink()

    def tearDown(self):
        reg("delete", USER_KEY, "/f")
        if self.ini.exists():
            self.ini.unlink()

    def run_album_and_exit(self, wait_for, first_track):
        with Tunova(env=album()) as tunova:
            tunova.wait_for_log(wait_for)
            tunova.wait_for_log("Starting play on track:  %d" % first_track)
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)
            return tunova.log_lines()

    def test_cdplayer_ini_titles_are_imported_saved_and_found_next_time(self):
        self.ini.write_bytes(("[" + ALBUM_KEY + "]\r\nartist=The Sample Band\r\ntitle=First Light\r\n"
                              "numtracks=12\r\n0=Opening\r\n1=Second Song\r\nnumplay=3\r\norder=2 0 1\r\n").encode())
        # The program starts with the first programmed track.
        lines = self.run_album_and_exit("Found current CD in cdplayer.ini:  " + ALBUM_KEY, 3)
        self.assertIn("Saving CD information to registry.", lines)

        code, record = reg("query", RECORD_KEY)
        self.assertEqual(code, 0, record)
        self.assertRegex(record, r"Artist\s+REG_SZ\s+The Sample Band")
        self.assertRegex(record, r"Title\s+REG_SZ\s+First Light")
        self.assertRegex(record, r"Track #1\s+REG_SZ\s+Opening")
        self.assertRegex(record, r"Track #2\s+REG_SZ\s+Second Song")
        self.assertRegex(record, r"Program\s+REG_SZ\s+3 1 2")

        self.ini.unlink()
        lines = self.run_album_and_exit("Current CD found in registry:  " + ALBUM_KEY, 3)
        self.assertFalse(any(line.startswith("Checking cdplayer.ini") for line in lines))

    def test_users_own_record_is_read_first_and_saved_where_it_was(self):
        reg("add", RECORD_KEY, "/v", "Artist", "/d", "Machine Band", "/f")
        reg("add", USER_RECORD_KEY, "/v", "Artist", "/d", "User Band", "/f")
        reg("add", USER_RECORD_KEY, "/v", "Program", "/d", "2 1", "/f")
        reg("add", USER_RECORD_KEY, "/v", "ProgramCount", "/t", "REG_DWORD", "/d", "2", "/f")
        # The user's programmed order, not the machine's natural one, starts play.
        lines = self.run_album_and_exit("Current CD found in registry:  " + ALBUM_KEY, 2)
        self.assertIn("Saved CD information under:  HKEY_CURRENT_USER\\SOFTWARE\\Kestrow Software\\Tunova"
                      "\\2.20\\CD Information\\" + ALBUM_KEY, lines)
        # The machine's options key is writable here: the options stay there.
        self.assertIn("Saved program options under:  HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrow Software"
                      "\\Tunova\\2.20\\Tunova", lines)
        code, record = reg("query", USER_RECORD_KEY)
        self.assertRegex(record, r"Artist\s+REG_SZ\s+User Band")
        self.assertRegex(record, r"cddbID\s+REG_SZ\s+\w{8} 12 ")
        code, machine = reg("query", RECORD_KEY)
        self.assertRegex(machine, r"Artist\s+REG_SZ\s+Machine Band")
        self.assertNotIn("cddbID", machine)
        code, _ = reg("query", USER_KEY + r"\2.20\Tunova")
        self.assertNotEqual(code, 0)

    def test_options_are_saved_at_exit(self):
        reg("add", OPTIONS_KEY, "/v", "TimeDisplayMode", "/t", "REG_DWORD", "/d", "2", "/f")
        with Tunova(env=album()) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            driver("command", MAIN_CAPTION, ids.IDM_RANDOM_ORDER)
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            tunova.wait_exit()
        code, options = reg("query", OPTIONS_KEY)
        self.assertRegex(options, r"Shuffle\s+REG_DWORD\s+0x1")
        self.assertRegex(options, r"TimeDisplayMode\s+REG_DWORD\s+0x2")

    def test_end_of_session_saves_as_an_exit_does(self):
        self.ini.write_bytes(("[" + ALBUM_KEY + "]\r\nartist=Session Band\r\n").encode())
        with Tunova(env=album()) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            driver("send", MAIN_CAPTION, WM_QUERYENDSESSION, 0, 0)
            driver("send", MAIN_CAPTION, WM_ENDSESSION, 1, 0)
            # The session ends the process without destroying its window.
            tunova.kill()
            lines = tunova.log_lines()
        self.assertIn("Saving program options to registry.", lines)
        self.assertIn("Saving CD information to registry.", lines)
        code, record = reg("query", RECORD_KEY)
        self.assertEqual(code, 0, record)
        self.assertRegex(record, r"Artist\s+REG_SZ\s+Session Band")


if __name__ == "__main__":
    unittest.main()
