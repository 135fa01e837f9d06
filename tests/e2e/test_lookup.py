"""The road of a new disc: the cddb lookup at start against the fake cddb server through
the relay options, the local copy, and the Fuzzy Search Results dialog."""
import pathlib
import re
import socket
import subprocess
import sys
import tempfile
import time
import unittest

import tunova_ids as ids
from tunova_e2e import (MAIN_CAPTION, OPTIONS_KEY, ROOT, SAMPLES, TUNOVA_KEY, Tunova, driver, reg,
                        reset_registry, sample_disc, set_option, wine_env, windows_path)

ALBUM_KEY = "1062D1F"
RECORD_KEY = TUNOVA_KEY + r"\2.20\CD Information" + "\\" + ALBUM_KEY
MATCH_CAPTION = "Fuzzy Search Results"
EXIT = ids.IDM_EXIT
CDDB_KEY = TUNOVA_KEY + r"\2.20\cddb"
SERVER_ENTRIES = ROOT / "tests" / "data" / "cddb" / "server"
ALBUM_QUERY = "cddb query 9c0b330c 12 150 18395 35730 55800 70205 92840 109973 129110 142530 163838 180013 198703 2869"


class FakeCddb:
    """tools/fakecddb on a free loopback port, serving samples/cddb; ended on exit."""

    def __init__(self, *arguments):
        self.dir = tempfile.TemporaryDirectory(prefix="tunova-fakecddb-")
        self.transcript = pathlib.Path(self.dir.name) / "transcript.txt"
        self.process = subprocess.Popen(
            [sys.executable, str(ROOT / "tools" / "fakecddb" / "fakecddb.py"), "--host", "127.0.0.1",
             "--port", "0", "--db", str(SAMPLES / "cddb"), "--transcript", str(self.transcript), *arguments],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        first = self.process.stdout.readline().decode()
        if not first.startswith("port "):
            self.close()
            raise AssertionError("the fake cddb server did not start: " + first)
        self.port = int(first.split()[1])

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=10)
        self.process.stdout.close()
        self.dir.cleanup()

    def sent(self):
        """The lines the player sent so far."""
        return self.transcript.read_text().splitlines() if self.transcript.exists() else []


def set_text_option(name, value):
    reg("add", OPTIONS_KEY, "/v", name, "/t", "REG_SZ", "/d", value, "/f")


def relay_to(server):
    """The relay options pointing at server (a FakeCddb, or a port number)."""
    set_option("cddbQueryServerAtStartup", 1)
    set_option("cddbUseProxy", 1)
    set_text_option("cddbProxyName", "127.0.0.1")
    set_option("cddbProxyPort", server if isinstance(server, int) else server.port)


def album():
    return {"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}


def eleven():
    return {"TUNOVA_VIRTUAL_CD": sample_disc("eleven.disc")}


def identity_key(starts):
    """The registry key of a disc of three or more tracks: the sum of each track's
    start as minute << 16 | second << 8 | frame, in upper-case hexadecimal."""
    total = sum((f // 4500) << 16 | (f % 4500 // 75) << 8 | f % 75 for f in starts)
    return format(total & 0xFFFFFFFF, "X")


ELEVEN_KEY = identity_key([150, 28615, 51027, 75835, 102620, 121460, 148977, 175697, 204322, 231082, 268002])


def exported_values(key):
    """The values of a registry key as the system holds them, read from a Unicode export
    (\"wine reg query\" prints the OEM code page, which would hide the letters)."""
    with tempfile.TemporaryDirectory(prefix="tunova-export-") as directory:
        path = pathlib.Path(directory) / "record.reg"
        code, text = reg("export", key, windows_path(path), "/y")
        if code != 0:
            raise AssertionError("reg export failed: " + text)
        data = path.read_bytes()
    text = data.decode("utf-16") if data[:2] in (b"\xff\xfe", b"\xfe\xff") else data.decode("latin-1")
    values = {}
    for name, value in re.findall(r'^"([^"]*)"="((?:[^"\\]|\\.)*)"', text, re.M):
        values[name] = value.replace('\\"', '"').replace("\\\\", "\\")
    return values


def temp_files():
    """The lookup's temporary files in the Windows directory's TEMP."""
    temp = pathlib.Path(wine_env()["WINEPREFIX"]) / "drive_c" / "windows" / "temp"
    return sorted(path.name for path in temp.glob("cdb*.tmp"))


class LookupTest(unittest.TestCase):
    def setUp(self):
        reset_registry()
        self.temp_before = temp_files()

    def record(self):
        code, text = reg("query", RECORD_KEY)
        self.assertEqual(code, 0, text)
        return text

    def wait_for_choice(self, tunova):
        # Generous: five test runs may share two cores.
        code, output = driver("shown", MATCH_CAPTION, 80, timeout=150)
        self.assertEqual(code, 0, output + "\nlog was:\n" + "\n".join(tunova.log_lines()))

    def exit_program(self, tunova):
        driver("command", MAIN_CAPTION, EXIT)
        self.assertEqual(tunova.wait_exit(timeout=60), 0)
        self.assertIn("Saving CD information to registry.", tunova.log_lines())

    def test_new_disc_is_found_on_the_server_saved_and_known_next_run(self):
        with FakeCddb() as server:
            relay_to(server)
            with Tunova(env=album()) as tunova:
                tunova.wait_for_log("Checking cddb sources for id:  9c0b330c")
                tunova.wait_for_log("Found current CD with exact match.")
                lines = tunova.log_lines()
                self.assertIn("Sending:  " + ALBUM_QUERY + "\n", lines)
                self.assertIn("Sending:  cddb read rock 9c0b330c\n", lines)
                self.exit_program(tunova)
            record = self.record()
            self.assertRegex(record, r"Artist\s+REG_SZ\s+The Lanterns")
            self.assertRegex(record, r"Title\s+REG_SZ\s+Harbour Lights")
            self.assertRegex(record, r"Track #12\s+REG_SZ\s+Home Port")
            self.assertEqual(temp_files(), self.temp_before)

            sent = len(server.sent())
            with Tunova(env=album()) as tunova:
                tunova.wait_for_log("Current CD found in registry:  " + ALBUM_KEY)
                tunova.wait_for_log("Starting play on track:  1")
                self.exit_program(tunova)
                self.assertFalse(any(line.startswith("Checking cddb sources") for line in tunova.log_lines()))
            self.assertEqual(len(server.sent()), sent)

    def test_local_copy_answers_without_the_server(self):
        with FakeCddb() as server:
            relay_to(server)
            set_option("cddbQueryLocal", 1)
            set_text_option("cddbRootDirectory", windows_path(SAMPLES / "cddb"))
            with Tunova(env=album()) as tunova:
                tunova.wait_for_log("Found CD in local cddb:  9c0b330c")
                self.exit_program(tunova)
                self.assertFalse(any(line.startswith("Checking remote cddb server") for line in tunova.log_lines()))
            self.assertEqual(server.sent(), [])
        self.assertRegex(self.record(), r"Artist\s+REG_SZ\s+The Lanterns")

    def test_close_matches_are_offered_and_the_first_is_fetched(self):
        with FakeCddb("--alias", "9c0b330c=920ef00b,56112719") as server:
            relay_to(server)
            with Tunova(env=album()) as tunova:
                self.wait_for_choice(tunova)
                self.assertEqual(driver("text", MATCH_CAPTION, 1)[1], "Get Information For Selected Title")
                driver("click", MATCH_CAPTION, 1)
                tunova.wait_for_log("Found current CD with exact match.")
                self.assertEqual(driver("gone", MATCH_CAPTION, 10)[0], 0)
                self.exit_program(tunova)
            # The chosen entry is read by its category and id, not queried again.
            self.assertEqual([line for line in server.sent() if line.startswith("cddb query")], [ALBUM_QUERY])
            self.assertEqual([line for line in server.sent() if line.startswith("cddb read")],
                             ["cddb read jazz 920ef00b"])
        record = self.record()
        self.assertRegex(record, r"Artist\s+REG_SZ\s+Quiet Hours Trio")
        self.assertRegex(record, r"Title\s+REG_SZ\s+Night Shift")
        self.assertEqual(temp_files(), self.temp_before)

    def test_current_cd_not_in_list_fetches_nothing(self):
        with FakeCddb("--alias", "9c0b330c=920ef00b,56112719") as server:
            relay_to(server)
            with Tunova(env=album()) as tunova:
                self.wait_for_choice(tunova)
                self.assertEqual(driver("text", MATCH_CAPTION, 2)[1], "Current CD Not In List")
                driver("click", MATCH_CAPTION, 2)
                self.assertEqual(driver("gone", MATCH_CAPTION, 10)[0], 0)
                self.exit_program(tunova)
            self.assertEqual(len([line for line in server.sent() if line.startswith("cddb query")]), 1)
        self.assertEqual(temp_files(), self.temp_before)
        code, record = reg("query", RECORD_KEY)
        self.assertNotRegex(record, r"Artist[ \t]+REG_SZ[ \t]+\S")

    def test_exit_while_the_choice_is_open_closes_it_first(self):
        with FakeCddb("--alias", "9c0b330c=920ef00b,56112719") as server:
            relay_to(server)
            with Tunova(env=album()) as tunova:
                self.wait_for_choice(tunova)
                self.exit_program(tunova)
                self.assertEqual(driver("find", MATCH_CAPTION)[0], 1)
            self.assertEqual(len([line for line in server.sent() if line.startswith("cddb query")]), 1)
        self.assertEqual(temp_files(), self.temp_before)
        code, record = reg("query", RECORD_KEY)
        self.assertNotRegex(record, r"Artist[ \t]+REG_SZ[ \t]+\S")

    def test_exit_while_the_server_is_silent_ends_the_lookup_at_once(self):
        # A hung server: it takes the connection and never sends a byte. Waiting for it
        # by the silence rule would hold the exit for a minute.
        with socket.create_server(("127.0.0.1", 0)) as silent:
            relay_to(silent.getsockname()[1])
            with Tunova(env=album()) as tunova:
                silent.settimeout(60)
                connection, _ = silent.accept()
                with connection:
                    started = time.monotonic()
                    self.exit_program(tunova)
                    self.assertLess(time.monotonic() - started, 20)
        self.assertEqual(temp_files(), self.temp_before)

    def test_real_entry_in_utf8_reaches_the_registry_with_its_accents_and_is_known_next_run(self):
        # The server knows the disc only as it stores entries: "# xmcd" alone, UTF-8,
        # titles split over several lines.
        with FakeCddb("--db", str(SERVER_ENTRIES)) as server:
            relay_to(server)
            with Tunova(env=album()) as tunova:
                tunova.wait_for_log("Found current CD with exact match.", timeout=60)
                self.assertIn("Sending:  cddb read folk 9c0b330c\n", tunova.log_lines())
                self.exit_program(tunova)
            values = exported_values(RECORD_KEY)
            self.assertEqual(values.get("Artist"), "L\u00e9a Fontaine & \u00d8rjan S\u00f8by")
            self.assertEqual(values.get("Title"), "\u00c9t\u00e9 \u00e0 Paris")
            self.assertEqual(values.get("Track #1"), "Rue de l\u2019\u00c9t\u00e9")
            self.assertEqual(values.get("Track #2"), "Caf\u00e9 des Artistes")
            self.assertEqual(values.get("Track #5"), "Na\u00efve Chan\u00e7on")
            self.assertEqual(temp_files(), self.temp_before)

            sent = len(server.sent())
            with Tunova(env=album()) as tunova:
                tunova.wait_for_log("Current CD found in registry:  " + ALBUM_KEY, timeout=60)
                tunova.wait_for_log("Starting play on track:  1", timeout=60)
                self.exit_program(tunova)
                self.assertFalse(any(line.startswith("Checking cddb sources") for line in tunova.log_lines()))
            self.assertEqual(len(server.sent()), sent)
        self.assertEqual(exported_values(RECORD_KEY).get("Artist"), "L\u00e9a Fontaine & \u00d8rjan S\u00f8by")

    def test_close_match_filed_in_two_categories_stores_the_chosen_categorys_entry(self):
        # No entry bears this disc's id; the fuzzy search offers one id filed in blues
        # and in jazz, with different entries.
        with FakeCddb("--db", str(SERVER_ENTRIES)) as server:
            relay_to(server)
            with Tunova(env=eleven()) as tunova:
                self.wait_for_choice(tunova)
                self.assertEqual(driver("pick", MATCH_CAPTION, ids.IDC_MATCH_LIST, 1)[0], 0)
                driver("click", MATCH_CAPTION, 1)
                tunova.wait_for_log("Found current CD with exact match.", timeout=60)
                self.exit_program(tunova)
            self.assertEqual(len([line for line in server.sent() if line.startswith("cddb query")]), 1)
            self.assertEqual([line for line in server.sent() if line.startswith("cddb read")],
                             ["cddb read jazz 9d0ef00b"])
        values = exported_values(TUNOVA_KEY + r"\2.20\CD Information" + "\\" + ELEVEN_KEY)
        self.assertEqual(values.get("Artist"), "Les \u00c9toiles Quartet")
        self.assertEqual(values.get("Title"), "Nuit Blanche")
        self.assertEqual(values.get("Track #2"), "Minuit \u00e0 Saint-Germain")
        self.assertEqual(temp_files(), self.temp_before)

    def test_script_address_in_the_server_list_with_the_return_address_as_greeting(self):
        with FakeCddb("--db", str(SERVER_ENTRIES), "--http", "--require-address") as server:
            set_option("cddbQueryServerAtStartup", 1)
            set_option("cddbUseProxy", 0)
            set_option("cddbServerNum", 0)
            set_text_option("smtpReturnAddress", "jo.smith@example.org")
            reg("add", CDDB_KEY, "/v", "cddbServer1", "/t", "REG_SZ", "/d",
                "http://127.0.0.1:%d/~cddb/cddb.cgi Local cddb script" % server.port, "/f")
            with Tunova(env=album()) as tunova:
                tunova.wait_for_log("Found current CD with exact match.", timeout=60)
                self.exit_program(tunova)
            sent = server.sent()
            self.assertEqual([line for line in sent if line.startswith("cddb ")],
                             ["cddb hello jo.smith example.org Tunova v2.21", ALBUM_QUERY,
                              "cddb hello jo.smith example.org Tunova v2.21", "cddb read folk 9c0b330c"])
            self.assertTrue(all(line.endswith("&proto=6 HTTP/1.0") for line in sent if line.startswith("GET ")))
        self.assertEqual(exported_values(RECORD_KEY).get("Title"), "\u00c9t\u00e9 \u00e0 Paris")


if __name__ == "__main__":
    unittest.main()
