"""The keyboard's media keys under Wine: hot keys of the main window, and a key another
program holds.

The keys reach the player as WM_HOTKEY with the key's code as the hot key id. One test
presses a real key on the X display (xdotool), where Wine's X11 driver maps XF86AudioNext
to VK_MEDIA_NEXT_TRACK; the others run Wine's null graphics driver, which has no
keyboard, and post the hot key message the system would post."""
import shutil
import subprocess
import unittest

import tunova_ids as ids
from tunova_e2e import (BUILD, MAIN_CAPTION, WINE, OwnDisplay, Tunova, X11Graphics, driver, played_tracks,
                        reset_registry, sample_disc, wait_until, wine_env)

WM_HOTKEY = 0x0312
VK_MEDIA_NEXT_TRACK = 0xB0
VK_MEDIA_PREV_TRACK = 0xB1
VK_MEDIA_STOP = 0xB2
VK_MEDIA_PLAY_PAUSE = 0xB3


def press(key):
    # lParam: no modifiers, the key in the high word, as the system posts it.
    return driver("post", MAIN_CAPTION, WM_HOTKEY, key, key << 16)[0]


class MediaKeysTest(unittest.TestCase):
    def setUp(self):
        reset_registry()

    def test_media_keys_step_pause_resume_and_stop(self):
        with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
            self.assertEqual(press(VK_MEDIA_NEXT_TRACK), 0)
            tunova.wait_for_log("Starting play on track:  2")
            self.assertTrue(any(line.startswith("D: play from 00000002 ") for line in tunova.trace_lines()),
                            "\n".join(tunova.trace_lines()))
            press(VK_MEDIA_PLAY_PAUSE)
            tunova.wait_for_log("Pausing CD player.")
            press(VK_MEDIA_PLAY_PAUSE)
            tunova.wait_for_log("Resuming play on track:  2")
            press(VK_MEDIA_PREV_TRACK)
            tunova.wait_for_log("Starting play on track:  1", count=2)
            press(VK_MEDIA_STOP)
            tunova.wait_for_log("Stopping play.")
            self.assertEqual(played_tracks(tunova), [1, 2, 1])
            self.assertFalse([line for line in tunova.log_lines() if line.startswith("Media key")])
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)

    @unittest.skipUnless(shutil.which("xdotool"), "needs xdotool")
    def test_the_next_track_key_pressed_on_the_display_moves_to_the_next_track(self):
        with OwnDisplay() as display:
            if not display.display:
                self.skipTest("needs an X display or Xvfb")
            self.press_next_on_the_display()

    def press_next_on_the_display(self):
        # No window of the player has the focus: the panel stays hidden.
        with X11Graphics():
            with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
                tunova.wait_for_log("Starting play on track:  1")
                self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
                # The key may come before the program holds it: press until it moves on.
                def pressed():
                    subprocess.run(["xdotool", "key", "XF86AudioNext"], capture_output=True, timeout=10)
                    return wait_until(lambda: "Starting play on track:  2" in tunova.log_lines(), timeout=2)
                self.assertTrue(wait_until(pressed, timeout=20), "\n".join(tunova.log_lines()))
                self.assertTrue(any(line.startswith("D: play from 00000002 ") for line in tunova.trace_lines()))
                driver("command", MAIN_CAPTION, ids.IDM_EXIT)
                self.assertEqual(tunova.wait_exit(), 0)

    def test_a_key_another_program_holds_is_logged_and_left_to_it(self):
        holder = subprocess.Popen([WINE, str(BUILD / "tunova_driver.exe"), "holdkey", str(VK_MEDIA_NEXT_TRACK), "60"],
                                  env=wine_env(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        try:
            self.assertEqual(holder.stdout.readline().strip(), b"held")
            with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
                tunova.wait_for_log("Starting play on track:  1")
                tunova.wait_for_log("Media key in use by another program:  Next Track")
                self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
                # The player runs on, and the keys it holds still work.
                press(VK_MEDIA_PLAY_PAUSE)
                tunova.wait_for_log("Pausing CD player.")
                self.assertEqual(
                    [line for line in tunova.log_lines() if line.startswith("Media key")],
                    ["Media key in use by another program:  Next Track"])
                driver("command", MAIN_CAPTION, ids.IDM_EXIT)
                self.assertEqual(tunova.wait_exit(), 0)
        finally:
            holder.kill()
            holder.wait()
            holder.stdout.close()


if __name__ == "__main__":
    unittest.main()
