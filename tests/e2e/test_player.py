"""The player under Wine on virtual discs: start, commands, icon clicks, end of disc."""
import unittest

import tunova_ids as ids
from tunova_e2e import (MAIN_CAPTION, SAMPLES, TUNOVA_KEY, Tunova, driver, played_tracks, reg, reset_registry,
                        sample_disc, set_option, wait_until, write_disc)

TRAY_MESSAGE = ids.TrayCallbackMessage
WM_LBUTTONDOWN = 0x0201
WM_LBUTTONDBLCLK = 0x0203


def album(speed=1, extra=None):
    env = {"TUNOVA_VIRTUAL_CD": sample_disc("album.disc"), "TUNOVA_VIRTUAL_SPEED": str(speed)}
    env.update(extra or {})
    return env


class PlayerTest(unittest.TestCase):
    def setUp(self):
        reset_registry()

    def start(self, tunova):
        tunova.wait_for_log("Starting play on track:  1")
        self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)

    def test_play_starts_on_track_one_and_commands_reach_the_drive(self):
        with Tunova(env=album()) as tunova:
            self.start(tunova)
            self.assertIn("D: play from 00000001 to 1d28030c -> 0", tunova.trace_lines())
            driver("command", MAIN_CAPTION, ids.IDM_NEXT_TRACK)
            tunova.wait_for_log("Starting play on track:  2")
            driver("command", MAIN_CAPTION, ids.IDM_PAUSE)
            tunova.wait_for_log("Pausing CD player.")
            driver("command", MAIN_CAPTION, ids.IDM_PLAY)
            tunova.wait_for_log("Resuming play on track:  2")
            driver("command", MAIN_CAPTION, ids.IDM_PREVIOUS_TRACK)
            tunova.wait_for_log("Starting play on track:  1", count=2)
            driver("command", MAIN_CAPTION, ids.IDM_STOP)
            tunova.wait_for_log("Stopping play.")
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)
            self.assertIn("Clossing connection to CD player.", tunova.log_lines())

    def test_icon_clicks_pause_resume_and_three_clicks_go_back(self):
        with Tunova(env=album()) as tunova:
            self.start(tunova)
            driver("command", MAIN_CAPTION, ids.IDM_NEXT_TRACK)
            tunova.wait_for_log("Starting play on track:  2")
            # Three quick clicks: the previous track at once, no pause. They are posted by
            # one driver run: three runs may lie further apart than the click time.
            clicks = []
            for message in (WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN):
                clicks += [TRAY_MESSAGE, 0, message]
            self.assertEqual(driver("post", MAIN_CAPTION, *clicks)[0], 0)
            tunova.wait_for_log("Starting play on track:  1", count=2)
            self.assertNotIn("Pausing CD player.", tunova.log_lines())
            # One click pauses after the click timer; the next resumes.
            driver("post", MAIN_CAPTION, TRAY_MESSAGE, 0, WM_LBUTTONDOWN)
            tunova.wait_for_log("Pausing CD player.")
            driver("post", MAIN_CAPTION, TRAY_MESSAGE, 0, WM_LBUTTONDOWN)
            tunova.wait_for_log("Resuming play on track:  1")
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            tunova.wait_exit()

    def test_disc_plays_to_its_end_and_stops(self):
        env = {"TUNOVA_VIRTUAL_CD": sample_disc("onetrack.disc"), "TUNOVA_VIRTUAL_SPEED": "100"}
        with Tunova(env=env) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            tunova.wait_for_log("Stopping play.", timeout=20)
            self.assertTrue(tunova.running())
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)

    def test_eject_at_end_ejects_and_ends_the_program(self):
        set_option("EjectAtEnd", 1)
        env = {"TUNOVA_VIRTUAL_CD": sample_disc("onetrack.disc"), "TUNOVA_VIRTUAL_SPEED": "100"}
        with Tunova(env=env) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            self.assertEqual(tunova.wait_exit(timeout=30), 0)
            self.assertIn("Ejecting CD.", tunova.log_lines())
            self.assertTrue(any(line.startswith("D: set-door open -> 0") for line in tunova.trace_lines()))

    def test_disc_taken_out_under_the_program_ends_it(self):
        import pathlib
        import tempfile
        with tempfile.TemporaryDirectory() as tmp:
            disc = write_disc(tmp, "live.disc", "track audio 150\ntrack audio 20000\nleadout 40000\n")
            with Tunova(env={"TUNOVA_VIRTUAL_CD": disc}) as tunova:
                tunova.wait_for_log("Starting play on track:  1")
                with open(pathlib.Path(tmp) / "live.disc", "a") as description:
                    description.write("nodisc\n")
                self.assertEqual(tunova.wait_exit(timeout=10), 0)
                self.assertIn("Clossing connection to CD player.", tunova.log_lines())

    def test_enhanced_cd_plays_to_its_last_audio_track_and_stops(self):
        env = {"TUNOVA_VIRTUAL_CD": sample_disc("enhanced.disc"), "TUNOVA_VIRTUAL_SPEED": "300"}
        with Tunova(env=env) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            tunova.wait_for_log("Stopping play.", timeout=40)
            # To the end of track 9 (4:44.08), short of the gap before the data session.
            self.assertIn("D: play from 00000001 to 082c0409 -> 0", tunova.trace_lines())
            self.assertEqual(played_tracks(tunova), [1])
            self.assertFalse([line for line in tunova.log_lines() if line.startswith("MCI Error")],
                             "\n".join(tunova.log_lines()))
            self.assertTrue(tunova.running())
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)

    def test_a_drive_not_ready_for_two_seconds_at_start_still_plays(self):
        import tempfile
        with tempfile.TemporaryDirectory() as tmp:
            album_text = (SAMPLES / "discs" / "album.disc").read_text()
            disc = write_disc(tmp, "settling.disc", album_text + "settle 2000\n")
            with Tunova(env={"TUNOVA_VIRTUAL_CD": disc}) as tunova:
                tunova.wait_for_log("Starting play on track:  1", timeout=20)
                lines = tunova.log_lines()
                self.assertTrue(any("The device driver is not ready." in line for line in lines),
                                "the drive was waited for:\n" + "\n".join(lines))
                self.assertEqual(driver("find", "Tunova Error")[0], 1)
                driver("command", MAIN_CAPTION, ids.IDM_EXIT)
                self.assertEqual(tunova.wait_exit(), 0)

    def test_random_order_plays_each_track_to_its_end(self):
        set_option("Shuffle", 1)
        with Tunova(env=album(speed=200)) as tunova:
            self.assertTrue(wait_until(lambda: len(played_tracks(tunova)) >= 4, timeout=30),
                            "\n".join(tunova.log_lines()))
            tracks = played_tracks(tunova)
            self.assertEqual(len(set(tracks)), len(tracks), "no track repeats before all have played")
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            tunova.wait_exit()

    def test_a_stored_order_plays_past_its_data_track_and_stops(self):
        # The sample disc whose track 5 is data, under a known media identity, with the
        # order "4 5 1" stored by another program.
        import tempfile
        record = TUNOVA_KEY + r"\2.20\CD Information\12345678"
        reg("add", record, "/v", "Program", "/d", "4 5 1", "/f")
        reg("add", record, "/v", "ProgramCount", "/t", "REG_DWORD", "/d", "3", "/f")
        set_option("ControlsVisibleAtStart", 1)
        with tempfile.TemporaryDirectory() as tmp:
            text = (SAMPLES / "discs" / "datatrack5.disc").read_text() + "identity 305419896\n"
            env = {"TUNOVA_VIRTUAL_CD": write_disc(tmp, "datatrack5.disc", text), "TUNOVA_VIRTUAL_SPEED": "100"}
            with Tunova(env=env) as tunova:
                tunova.wait_for_log("Current CD found in registry:  12345678")
                tunova.wait_for_log("Starting play on track:  1", timeout=30)
                tunova.wait_for_log("Stopping play.", timeout=30)
                lines = tunova.log_lines()
                self.assertEqual(played_tracks(tunova), [4, 1], "\n".join(lines))
                self.assertFalse([line for line in lines if line.startswith("Unable to play")], "\n".join(lines))
                # Stopped, and every view says so: the panel's line and its Play button.
                self.assertTrue(wait_until(lambda: driver("text", MAIN_CAPTION, ids.IDC_STATUS)[1] == "Stopped"),
                                driver("text", MAIN_CAPTION, ids.IDC_STATUS)[1])
                self.assertEqual(driver("enabled", MAIN_CAPTION, ids.IDC_PLAY)[1], "1\n")
                driver("command", MAIN_CAPTION, ids.IDM_EXIT)
                self.assertEqual(tunova.wait_exit(), 0)
        # The stored order is kept as it was.
        self.assertRegex(reg("query", record, "/v", "Program")[1], r"Program\s+REG_SZ\s+4 5 1")


class StartFailureTest(unittest.TestCase):
    def setUp(self):
        reset_registry()

    def expect_box(self, env, text):
        with Tunova(env=env) as tunova:
            self.assertEqual(driver("shown", "Tunova Error", 15)[0], 0, "\n".join(tunova.log_lines()))
            code, shown = driver("text", "Tunova Error", 0xFFFF)
            self.assertEqual(shown, text.replace("\r\n", "\n"))
            self.assertTrue(tunova.running(), "the program waits for the box")
            driver("click", "Tunova Error", 2)  # the OK button of an OK-only box answers as IDCANCEL too
            driver("click", "Tunova Error", 1)
            self.assertEqual(tunova.wait_exit(), 0)
            return tunova.log_lines()

    def disc(self, directory, text):
        return write_disc(directory, "disc.disc", text)

    def test_each_failure_has_its_message(self):
        import tempfile
        with tempfile.TemporaryDirectory() as tmp:
            busy = write_disc(tmp, "busy.disc", "busy\ntrack audio 150\nleadout 20000\n")
            empty_d = write_disc(tmp, "empty_d.disc", "drive D:\nnodisc\n")
            empty_e = write_disc(tmp, "empty_e.disc", "drive E:\nnodisc\n")
            data = write_disc(tmp, "data.disc", "track data 150\nleadout 20000\n")
            broken = write_disc(tmp, "broken.disc", "fail status-tracks 274\ntrack audio 150\nleadout 20000\n")
            cases = [
                (busy, "CD player has already been opened by another application.\n"
                       "Exit the other application before running Tunova."),
                (empty_d, "No disc found in CD player."),
                (data, "Disc in CD player does not contain any audio tracks."),
                (broken, "Unknown initialization error."),
                (empty_d + ";" + empty_e, "Unable to play an audio CD on any CD players found."),
            ]
            for disc, text in cases:
                with self.subTest(text=text):
                    lines = self.expect_box({"TUNOVA_VIRTUAL_CD": disc}, text)
                    self.assertIn("Unable to find audio CD on any players in system.", lines)

    def test_no_cd_drive_at_all(self):
        # Without virtual drives the machine's own are used, and Wine has none.
        lines = self.expect_box({"TUNOVA_VIRTUAL_CD": ""}, "Unable to find a CD player on the system.")
        self.assertIn("Number of CD-ROM's in system:  0", lines)

    def test_drive_on_the_command_line_is_the_only_one_tried(self):
        import tempfile
        with tempfile.TemporaryDirectory() as tmp:
            d = write_disc(tmp, "d.disc", "drive D:\ntrack audio 150\nleadout 20000\n")
            e = write_disc(tmp, "e.disc", "drive E:\nnodisc\n")
            with Tunova("E:\\", env={"TUNOVA_VIRTUAL_CD": d + ";" + e}) as tunova:
                self.assertEqual(driver("shown", "Tunova Error", 15)[0], 0)
                self.assertEqual(driver("text", "Tunova Error", 0xFFFF)[1], "No disc found in CD player.")
                driver("click", "Tunova Error", 1)
                tunova.wait_exit()
                lines = tunova.log_lines()
                self.assertNotIn("Opening CD player with exclusive access:  D:", lines)
                self.assertFalse(any(line.startswith("Number of CD-ROM's") for line in lines))


if __name__ == "__main__":
    unittest.main()
