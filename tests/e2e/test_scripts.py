"""Titles in every script on a Western system: a disc whose cddb entry is UTF-8, with a
Japanese artist and title and Japanese, Cyrillic and Greek track titles, looked up over
cddb HTTP and over cddbp at protocol level 6 on a prefix whose ANSI code page is 1252.
Every letter shows on the CD Information page and in the Complete Track List, the
registry record holds every letter after Exit, and the next run reads it back from there
without a lookup. (Wine lets no process read another's menus; the Select Track items are
checked on the real main window in tests/win32/panel.)"""
import pathlib
import tempfile
import unittest

import tunova_ids as ids
from tunova_e2e import MAIN_CAPTION, TUNOVA_KEY, Tunova, driver, reg, reset_registry, set_option, write_disc
from test_lookup import CDDB_KEY, FakeCddb, exported_values, identity_key, relay_to

SHEET_CAPTION = "Tunova Properties"
LIST_CAPTION = "Select Track"
IDCANCEL = 2

ARTIST = "青木みなと"
TITLE = "海の記憶 𝄞"
TRACK_TITLES = [
    "潮風", "夜明けの港", "灯台守", "北へ", "紙の舟", "霧笛", "さよなら、カモメ",
    "Песня о море", "Белые ночи", "Ветер с севера", "Маяк", "Туман над рекой", "Последний паром",
    "Дорога домой",
    "Ωδή στη θάλασσα", "Το λιμάνι", "Αύρα", "Ο φάρος", "Νυχτερινό ταξίδι", "Καλοκαίρι στην Ύδρα",
    "Επιστροφή",
]
# 21 tracks, so that the Complete Track List holds the last one, which no menu item does.
SECONDS = [183, 201, 174, 222, 195, 240, 168, 207, 231, 189, 176, 214, 199, 226, 181, 203, 192, 218, 170, 236,
           205]
STARTS = [150 + 75 * sum(SECONDS[:i]) for i in range(len(SECONDS))]
LEAD_OUT = STARTS[-1] + 75 * SECONDS[-1]
RECORD_KEY = TUNOVA_KEY + r"\2.20\CD Information" + "\\" + identity_key(STARTS)


def disc_id():
    """The cddb disc id of the table of contents above."""
    digits = sum(sum(int(d) for d in str(start // 75)) for start in STARTS)
    return "%08x" % ((digits % 255) << 24 | (LEAD_OUT // 75 - STARTS[0] // 75) << 8 | len(STARTS))


def length(track):
    """m:ss of a track (from 1) as the drive reports it: the last one frame short."""
    end = STARTS[track] if track < len(STARTS) else LEAD_OUT - 1
    seconds = (end - STARTS[track - 1]) // 75
    return "%d:%02d" % (seconds // 60, seconds % 60)


def entry():
    """The disc's entry as the service stores it: UTF-8, "# xmcd" alone."""
    lines = ["# xmcd", "#", "# Track frame offsets:"] + ["#\t%d" % start for start in STARTS]
    lines += ["#", "# Disc length: %d seconds" % (LEAD_OUT // 75), "#", "# Revision: 0",
              "# Submitted via: Tunova v2.21", "#", "DISCID=" + disc_id(), "DTITLE=%s / %s" % (ARTIST, TITLE),
              "DYEAR=2004", "DGENRE=Folk"]
    lines += ["TTITLE%d=%s" % (n, title) for n, title in enumerate(TRACK_TITLES)]
    lines += ["EXTD="] + ["EXTT%d=" % n for n in range(len(TRACK_TITLES))] + ["PLAYORDER="]
    return "\n".join(lines) + "\n"


class TitlesInEveryScriptTest(unittest.TestCase):
    def setUp(self):
        reset_registry()
        self.assertEqual(driver("codepage")[1].strip(), "1252", "the test needs a Western system")
        self.dir = tempfile.TemporaryDirectory(prefix="tunova-scripts-")
        root = pathlib.Path(self.dir.name)
        (root / "db" / "folk").mkdir(parents=True)
        (root / "db" / "folk" / disc_id()).write_bytes(entry().encode("utf-8"))
        self.db = root / "db"
        description = "".join("track audio %d\n" % start for start in STARTS) + "leadout %d\n" % LEAD_OUT
        self.disc = {"TUNOVA_VIRTUAL_CD": write_disc(root, "scripts.disc", description)}

    def tearDown(self):
        self.dir.cleanup()

    def assert_pages_show_every_letter(self, tunova):
        driver("command", MAIN_CAPTION, ids.IDM_PROPERTIES)
        self.assertEqual(driver("shown", SHEET_CAPTION, 20)[0], 0)
        self.assertEqual(driver("text", SHEET_CAPTION, ids.IDC_INFO_ARTIST)[1], ARTIST)
        self.assertEqual(driver("text", SHEET_CAPTION, ids.IDC_INFO_TITLE)[1], TITLE)
        self.assertEqual(driver("lines", SHEET_CAPTION, ids.IDC_INFO_TRACKS)[1].splitlines(),
                         ["%d) %s - %s" % (n, length(n), title) for n, title in enumerate(TRACK_TITLES, 1)])
        driver("click", SHEET_CAPTION, IDCANCEL)
        self.assertEqual(driver("gone", SHEET_CAPTION, 10)[0], 0)

        driver("command", MAIN_CAPTION, ids.IDM_COMPLETE_TRACK_LIST)
        self.assertEqual(driver("shown", LIST_CAPTION, 20)[0], 0)
        self.assertEqual(driver("lines", LIST_CAPTION, ids.IDC_TRACK_LIST)[1].splitlines(),
                         ["(%d) %s - %s" % (n, length(n), title) for n, title in enumerate(TRACK_TITLES, 1)])
        driver("click", LIST_CAPTION, IDCANCEL)
        self.assertEqual(driver("gone", LIST_CAPTION, 10)[0], 0)

    def exit_program(self, tunova):
        driver("command", MAIN_CAPTION, ids.IDM_EXIT)
        self.assertEqual(tunova.wait_exit(timeout=60), 0)

    def found_stored_and_read_back(self, server):
        with Tunova(env=self.disc) as tunova:
            tunova.wait_for_log("Found current CD with exact match.", timeout=90)
            self.assertEqual(driver("wait", MAIN_CAPTION, 20)[0], 0)
            self.assert_pages_show_every_letter(tunova)
            self.exit_program(tunova)
        values = exported_values(RECORD_KEY)
        self.assertEqual(values.get("Artist"), ARTIST)
        self.assertEqual(values.get("Title"), TITLE)
        for n, title in enumerate(TRACK_TITLES, 1):
            self.assertEqual(values.get("Track #%d" % n), title)

        asked = len(server.sent())
        with Tunova(env=self.disc) as tunova:
            tunova.wait_for_log("Current CD found in registry:  " + identity_key(STARTS), timeout=60)
            self.assertEqual(driver("wait", MAIN_CAPTION, 20)[0], 0)
            self.assert_pages_show_every_letter(tunova)
            self.exit_program(tunova)
            self.assertFalse(any(line.startswith("Checking cddb sources") for line in tunova.log_lines()))
        self.assertEqual(len(server.sent()), asked, "the next run asks no server")

    def test_over_cddbp_at_level_6(self):
        with FakeCddb("--db", str(self.db)) as server:
            relay_to(server)
            self.found_stored_and_read_back(server)
            self.assertIn("proto 6", server.sent())

    def test_over_cddb_http(self):
        with FakeCddb("--db", str(self.db), "--http") as server:
            set_option("cddbQueryServerAtStartup", 1)
            set_option("cddbUseProxy", 0)
            set_option("cddbServerNum", 0)
            reg("add", CDDB_KEY, "/v", "cddbServer1", "/t", "REG_SZ", "/d",
                "http://127.0.0.1:%d/~cddb/cddb.cgi Local cddb script" % server.port, "/f")
            self.found_stored_and_read_back(server)


if __name__ == "__main__":
    unittest.main()
