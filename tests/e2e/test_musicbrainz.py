"""Titles from MusicBrainz: tunova.exe under Wine asks the fake service over HTTPS (its
throwaway authority trusted in the prefix), stores what it finds at Exit, lets the user
choose among several releases, and gives a disc back through the browser."""
import pathlib
import sys
import tempfile
import unittest

import tunova_ids as ids
from tunova_e2e import (BUILD, MAIN_CAPTION, ROOT, TUNOVA_KEY, Tunova, driver, reg, reset_registry,
                        sample_disc, set_option, wait_until)

sys.path.insert(0, str(ROOT / "tools" / "fakemusicbrainz"))
import testca  # noqa: E402
from test_lookup import ALBUM_KEY, ELEVEN_KEY, identity_key  # noqa: E402

CERTIFICATES = BUILD / "fakemusicbrainz"
RECORDS = TUNOVA_KEY + r"\2.20\CD Information"
MATCH_CAPTION = "Fuzzy Search Results"
SHEET_CAPTION = "Tunova Properties"
PSM_SETCURSEL = 0x465
QUERY_TAB = 2
ALBUM_ID = "gDR7mxLhHXN.0SVfUlSoMr.EnG0-"
ALBUM_TOC = "1+12+215233+150+18395+35730+55800+70205+92840+109973+129110+142530+163838+180013+198703"


ENHANCED_KEY = identity_key([150, 18395, 35730, 55800, 70205, 92840, 109973, 129110, 142530, 175238])


class FakeMusicBrainz:
    """tools/fakemusicbrainz on a free loopback port with the trusted certificate; its
    request log tells what the player asked."""

    def __init__(self, misbehave=None):
        self.dir = tempfile.TemporaryDirectory(prefix="tunova-fakemb-")
        self.log = pathlib.Path(self.dir.name) / "requests.log"
        self.process, self.port = testca.start_server(CERTIFICATES, "server", log=self.log, misbehave=misbehave)
        self.url = f"https://localhost:{self.port}"

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=10)
        self.process.stdout.close()
        self.dir.cleanup()

    def requests(self):
        return self.log.read_text().splitlines() if self.log.exists() else []


def record(key):
    """The values of a disc record: name -> text."""
    code, text = reg("query", RECORDS + "\\" + key)
    values = {}
    for line in text.splitlines():
        parts = line.strip().split("    ")
        if len(parts) >= 3 and parts[1] == "REG_SZ":
            values[parts[0]] = parts[2]
    return values


def modules(caption=MAIN_CAPTION):
    code, output = driver("modules", caption)
    return [name.lower() for name in output.split()]


class MusicBrainzTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        testca.ensure(CERTIFICATES)
        testca.trust(CERTIFICATES, BUILD)

    def setUp(self):
        reset_registry()
        set_option("MusicBrainzQuery", 1)

    def use(self, service):
        reg("add", TUNOVA_KEY + r"\2.20\Tunova", "/v", "MusicBrainzServer", "/d", service.url, "/f")

    def exit_program(self, tunova):
        driver("command", MAIN_CAPTION, ids.IDM_EXIT)
        self.assertEqual(tunova.wait_exit(timeout=60), 0)

    def test_a_new_disc_is_looked_up_at_start_stored_at_exit_and_known_next_run(self):
        with FakeMusicBrainz() as service:
            self.use(service)
            with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
                tunova.wait_for_log("Found current CD at MusicBrainz.", timeout=60)
                self.assertIn("MusicBrainz disc id:  " + ALBUM_ID, tunova.log_lines())
                self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
                # Loaded by the lookup: the program had no need of it before.
                self.assertIn("winhttp.dll", modules())
                self.exit_program(tunova)
            requests = service.requests()
            self.assertEqual(len(requests), 1, requests)
            self.assertTrue(requests[0].startswith(
                f"GET /ws/2/discid/{ALBUM_ID}?toc={ALBUM_TOC}&inc=artist-credits+recordings&fmt=json Tunova/"))
            values = record(ALBUM_KEY)
            self.assertEqual(values.get("Artist"), "Kestrel Quartet feat. Mira Holt")
            self.assertEqual(values.get("Title"), "Harbour Lights")
            self.assertEqual(values.get("Track #4"), "Kestrel Quartet & Tomas Vey / Lanterns")
            self.assertEqual(values.get("Track #12"), "Coda")

            # Known from the record: no request, and WinHTTP never loaded.
            with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
                tunova.wait_for_log("Current CD found in registry:  " + ALBUM_KEY)
                tunova.wait_for_log("Starting play on track:  1")
                self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
                loaded = modules()
                self.assertIn("tunova.exe", loaded)
                self.assertNotIn("winhttp.dll", loaded)
                self.exit_program(tunova)
                self.assertFalse(any(line.startswith("Checking MusicBrainz") for line in tunova.log_lines()))
            self.assertEqual(len(service.requests()), 1)

    def test_several_releases_are_offered_and_the_chosen_one_is_stored(self):
        with FakeMusicBrainz() as service:
            self.use(service)
            with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("eleven.disc")}) as tunova:
                code, output = driver("shown", MATCH_CAPTION, 80, timeout=150)
                self.assertEqual(code, 0, output + "\nlog was:\n" + "\n".join(tunova.log_lines()))
                items = driver("items", MATCH_CAPTION, ids.IDC_MATCH_LIST)[1].splitlines()
                self.assertEqual(len(items), 2, items)
                self.assertEqual(items[1], "Orla Finch / Open Water (1999, GB, CD)")
                # The second, not the one selected at first.
                self.assertEqual(driver("pick", MATCH_CAPTION, ids.IDC_MATCH_LIST, 1)[0], 0)
                driver("click", MATCH_CAPTION, 1)
                tunova.wait_for_log("Found current CD at MusicBrainz.")
                self.assertEqual(driver("gone", MATCH_CAPTION, 10)[0], 0)
                self.exit_program(tunova)
            self.assertEqual(len(service.requests()), 1)
        values = record(ELEVEN_KEY)
        self.assertEqual(values.get("Artist"), "Orla Finch")
        self.assertEqual(values.get("Title"), "Open Water")
        self.assertEqual(values.get("Track #11"), "Last Call")

    def test_the_second_disc_of_a_set_gets_the_second_discs_titles(self):
        with FakeMusicBrainz() as service:
            self.use(service)
            with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("enhanced.disc")}) as tunova:
                tunova.wait_for_log("Found current CD at MusicBrainz.", timeout=60)
                self.exit_program(tunova)
        values = record(ENHANCED_KEY)
        self.assertEqual(values.get("Title"), "Songs of the Lowlands")
        self.assertEqual(values.get("Track #1"), "Second Prelude")
        self.assertEqual(values.get("Track #9"), "Closing Hymn")
        self.assertNotIn("Track #10", values)

    def test_exit_during_a_lookup_ends_the_request_at_once(self):
        with FakeMusicBrainz(misbehave="stall") as service:
            self.use(service)
            with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
                tunova.wait_for_log("MusicBrainz disc id:  " + ALBUM_ID)
                self.assertTrue(wait_until(lambda: service.requests(), timeout=60))
                self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
                driver("command", MAIN_CAPTION, ids.IDM_EXIT)
                # The silent server would hold the request for an hour.
                self.assertEqual(tunova.wait_exit(timeout=15), 0)
                self.assertIn("MusicBrainz lookup cancelled.", tunova.log_lines())

    def test_submit_to_musicbrainz_opens_the_page_for_the_disc(self):
        # Wine's browser launcher runs the first program of its list: a script that
        # notes the address it was given.
        with tempfile.TemporaryDirectory(prefix="tunova-browser-") as directory:
            opened = pathlib.Path(directory) / "opened.txt"
            browser = pathlib.Path(directory) / "browser.sh"
            browser.write_text(f'#!/bin/sh\necho "$1" >> "{opened}"\n')
            browser.chmod(0o755)
            browsers = r"HKCU\Software\Wine\WineBrowser"
            reg("add", browsers, "/v", "Browsers", "/d", str(browser), "/f")
            self.addCleanup(reg, "delete", browsers, "/v", "Browsers", "/f")
            set_option("MusicBrainzQuery", 0)
            reg("add", TUNOVA_KEY + r"\2.20\Tunova", "/v", "MusicBrainzServer", "/d", "https://mb.example.org", "/f")
            with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
                tunova.wait_for_log("Starting play on track:  1")
                driver("command", MAIN_CAPTION, ids.IDM_PROPERTIES)
                self.assertEqual(driver("shown", SHEET_CAPTION, 20)[0], 0)
                driver("send", SHEET_CAPTION, PSM_SETCURSEL, QUERY_TAB, 0)
                self.assertEqual(driver("click", SHEET_CAPTION, ids.IDC_QUERY_SUBMIT_MUSICBRAINZ)[0], 0)
                wait_until(opened.exists, timeout=30)
                driver("click", SHEET_CAPTION, 2)
                self.assertEqual(driver("gone", SHEET_CAPTION, 10)[0], 0)
                self.exit_program(tunova)
            self.assertTrue(opened.exists(), "the browser was not started")
            self.assertEqual(opened.read_text().strip(),
                             f"https://mb.example.org/cdtoc/attach?id={ALBUM_ID}&tracks=12&toc={ALBUM_TOC}")


if __name__ == "__main__":
    unittest.main()
