"""The program starts, logs, shows its diagnostics window and ends cleanly."""
import unittest

import tunova_ids as ids
from tunova_e2e import DIAGNOSTICS_CAPTION, MAIN_CAPTION, Tunova, driver, reset_registry, sample_disc


def album():
    return {"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}


class StartupTest(unittest.TestCase):
    def setUp(self):
        reset_registry()

    def test_exit_command_ends_the_program(self):
        with Tunova(env=album()) as tunova:
            tunova.wait_for_log("Starting general initialization.")
            code, _ = driver("wait", MAIN_CAPTION, 10)
            self.assertEqual(code, 0)
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)

    def test_diagnostics_window_shows_what_the_log_file_holds(self):
        with Tunova("-d", env=album()) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            code, _ = driver("shown", DIAGNOSTICS_CAPTION, 10)
            self.assertEqual(code, 0)
            # Other threads may still be logging: compare while the file stands still.
            for _ in range(50):
                before = tunova.log_lines()
                code, text = driver("text", DIAGNOSTICS_CAPTION, ids.IDC_LOG_TEXT)
                self.assertEqual(code, 0)
                if tunova.log_lines() == before:
                    break
            self.assertEqual(text.split("\n"), before)
            driver("close", MAIN_CAPTION)
            self.assertEqual(tunova.wait_exit(), 0)

    def test_without_switch_there_is_no_diagnostics_window(self):
        with Tunova(env=album()) as tunova:
            tunova.wait_for_log("Starting general initialization.")
            driver("wait", MAIN_CAPTION, 10)
            code, _ = driver("find", DIAGNOSTICS_CAPTION)
            self.assertEqual(code, 1)
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            tunova.wait_exit()


if __name__ == "__main__":
    unittest.main()
