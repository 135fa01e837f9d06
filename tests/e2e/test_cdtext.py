"""The disc's own titles: a CD image whose sheet has TITLE and PERFORMER lines sits in a
virtual drive, which answers the CD-Text read with packs of them, as a drive holding the
burnt disc would. The titles are shown and stored with no cddb lookup."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

import tunova_ids as ids
from tunova_e2e import MAIN_CAPTION, ROOT, TUNOVA_KEY, Tunova, driver, reset_registry, windows_path
from test_lookup import exported_values

SHEET_CAPTION = "Tunova Properties"
IDCANCEL = 2
IDENTITY = "Windows media identity:  "

# A kanji title puts the whole block in MS-JIS: the drive writes it through the system's
# code page 932, and the program reads it back through it.
TOKYO = "\u6771\u4eac Love"
SHEET = ('PERFORMER "The Lanterns"\nTITLE "Harbour Lights"\nFILE "tones.bin" BINARY\n'
         '  TRACK 01 AUDIO\n    TITLE "' + TOKYO + '"\n    INDEX 01 00:00:00\n'
         '  TRACK 02 AUDIO\n    TITLE "Home Port"\n    PERFORMER "Mara Vey"\n'
         '    INDEX 00 00:03:00\n    INDEX 01 00:04:00\n'
         '  TRACK 03 MODE1/2352\n    INDEX 01 00:08:00\n')


class CdTextTest(unittest.TestCase):
    def setUp(self):
        reset_registry()
        self.tmp = tempfile.TemporaryDirectory(prefix="tunova-cdtext-")
        folder = pathlib.Path(self.tmp.name)
        subprocess.run([sys.executable, str(ROOT / "tools" / "images" / "make_images.py"), str(folder)],
                       check=True, timeout=120)
        (folder / "titled.cue").write_bytes(SHEET.encode("utf-8"))
        self.env = {"TUNOVA_VIRTUAL_CD": windows_path(folder / "titled.cue")}

    def tearDown(self):
        self.tmp.cleanup()

    def test_an_image_with_titles_shows_and_stores_them_without_a_lookup(self):
        with Tunova(env=self.env) as tunova:
            tunova.wait_for_log("Found CD-Text on the disc.")
            tunova.wait_for_log("Starting play on track:  1")
            driver("command", MAIN_CAPTION, ids.IDM_PROPERTIES)
            self.assertEqual(driver("shown", SHEET_CAPTION, 10)[0], 0)
            self.assertEqual(driver("text", SHEET_CAPTION, ids.IDC_INFO_ARTIST)[1], "The Lanterns")
            self.assertEqual(driver("text", SHEET_CAPTION, ids.IDC_INFO_TITLE)[1], "Harbour Lights")
            driver("click", SHEET_CAPTION, IDCANCEL)
            self.assertEqual(driver("gone", SHEET_CAPTION, 10)[0], 0)
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)
            lines = tunova.log_lines()
        self.assertFalse([line for line in lines if line.startswith("Checking cddb sources")], lines)
        identity = next(line[len(IDENTITY):] for line in lines if line.startswith(IDENTITY))

        values = exported_values(TUNOVA_KEY + r"\2.20\CD Information" + "\\" + identity)
        self.assertEqual(values.get("Artist"), "The Lanterns")
        self.assertEqual(values.get("Title"), "Harbour Lights")
        self.assertTrue(values.get("Track #1"))
        # A track by another performer than the album's names its own.
        self.assertEqual(values.get("Track #2"), "Mara Vey / Home Port")

        # Stored, the disc is known: its CD-Text is not read again.
        with Tunova(env=self.env) as tunova:
            tunova.wait_for_log("Current CD found in registry:  " + identity)
            tunova.wait_for_log("Starting play on track:  1")
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)
            self.assertFalse([line for line in tunova.log_lines() if "CD-Text" in line], tunova.log_lines())


if __name__ == "__main__":
    unittest.main()
