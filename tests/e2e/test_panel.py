"""The control panel and the Select Track dialog of the running player."""
import shutil
import subprocess
import time
import unittest

import tunova_ids as ids
from tunova_e2e import (MAIN_CAPTION, OwnDisplay, Tunova, X11Graphics, driver, reset_registry, sample_disc,
                        set_option, wait_until)

STATUS_LINE = ids.IDC_STATUS
NEXT_BUTTON = ids.IDC_NEXT
TRACK_LIST = ids.IDC_TRACK_LIST


def disc(name):
    return {"TUNOVA_VIRTUAL_CD": sample_disc(name)}


def play_positions(tunova):
    """(track, minute, second) of every "play from" the drive was given, in order."""
    positions = []
    for line in tunova.trace_lines():
        if line.startswith("D: play from "):
            packed = int(line.split()[3], 16)
            positions.append((packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF))
    return positions


class PanelTest(unittest.TestCase):
    def setUp(self):
        reset_registry()

    def test_panel_shown_at_start_shows_the_play_time_and_hides_on_command(self):
        set_option("ControlsVisibleAtStart", 1)
        with Tunova(env=disc("album.disc")) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
            self.assertTrue(wait_until(lambda: driver("text", MAIN_CAPTION, STATUS_LINE)[1].startswith(
                "Playing (1) 0:0")), driver("text", MAIN_CAPTION, STATUS_LINE)[1])
            self.assertEqual(driver("visible", MAIN_CAPTION)[1], "1\n")
            driver("command", MAIN_CAPTION, ids.IDM_HIDE_CONTROLS)
            self.assertTrue(wait_until(lambda: driver("visible", MAIN_CAPTION)[1] == "0\n"))
            driver("command", MAIN_CAPTION, ids.IDM_SHOW_CONTROLS)
            self.assertTrue(wait_until(lambda: driver("visible", MAIN_CAPTION)[1] == "1\n"))
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)

    def test_held_next_button_scans_forward_and_play_resumes_there(self):
        set_option("ControlsVisibleAtStart", 1)
        with Tunova(env=disc("album.disc")) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
            driver("hold", MAIN_CAPTION, NEXT_BUTTON, 1)
            tunova.wait_for_log("Pausing CD player.")
            time.sleep(1.5)
            driver("hold", MAIN_CAPTION, NEXT_BUTTON, 0)
            tunova.wait_for_log("Starting play on track:  1", count=2)
            track, minute, second = play_positions(tunova)[-1]
            self.assertEqual(track, 1)
            self.assertGreaterEqual(minute * 60 + second, 10, "play resumes at the scanned position")
            self.assertTrue(tunova.running())
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)

    def test_track_beyond_the_menu_is_chosen_through_the_dialog(self):
        with Tunova(env=disc("tracks25.disc")) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
            driver("command", MAIN_CAPTION, ids.IDM_COMPLETE_TRACK_LIST)
            self.assertEqual(driver("shown", "Select Track", 10)[0], 0)
            self.assertEqual(driver("pick", "Select Track", TRACK_LIST, 21)[0], 0)
            driver("click", "Select Track", 1)
            tunova.wait_for_log("Starting play on track:  22")
            self.assertEqual(driver("gone", "Select Track", 5)[0], 0)
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)

    def test_short_disc_has_no_track_list_dialog(self):
        with Tunova(env=disc("album.disc")) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
            driver("command", MAIN_CAPTION, ids.IDM_COMPLETE_TRACK_LIST)
            self.assertNotEqual(driver("shown", "Select Track", 2)[0], 0)
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)

    @unittest.skipUnless(shutil.which("xdotool"), "needs xdotool")
    def test_the_panel_works_from_the_keyboard(self):
        """Keys pressed on the X display reach the panel through the program's own message
        loop: Space on the focused button, Tab to the next, Enter. Stop disables the button
        that had the focus: the focus moves on to Play, so the keys go on working."""
        set_option("ControlsVisibleAtStart", 1)
        with OwnDisplay() as display:
            if not display.display:
                self.skipTest("needs an X display or Xvfb")
            with X11Graphics(), Tunova(env=disc("album.disc")) as tunova:
                tunova.wait_for_log("Starting play on track:  1")
                self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
                # Shown from the menu, the panel comes to the front with the keyboard, the
                # focus on its first enabled button, Pause (Play is disabled while playing).
                driver("command", MAIN_CAPTION, ids.IDM_HIDE_CONTROLS)
                driver("command", MAIN_CAPTION, ids.IDM_SHOW_CONTROLS)
                time.sleep(1)
                keys = lambda *names: subprocess.run(["xdotool", "key", "--delay", "200", *names], check=True)
                keys("space")
                tunova.wait_for_log("Pausing CD player.")
                keys("Tab", "Return")
                tunova.wait_for_log("Stopping play.")
                keys("space")
                tunova.wait_for_log("Starting play on track:  1", count=2)
                driver("command", MAIN_CAPTION, ids.IDM_EXIT)
                self.assertEqual(tunova.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
