"""The About box from the menu command, with its live figures."""
import re
import unittest

import tunova_ids as ids
from tunova_e2e import MAIN_CAPTION, Tunova, driver, reset_registry, sample_disc

ABOUT_CAPTION = "About Tunova2"


class AboutTest(unittest.TestCase):
    def setUp(self):
        reset_registry()

    def test_about_box_opens_once_shows_figures_and_closes(self):
        with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            driver("command", MAIN_CAPTION, ids.IDM_ABOUT)
            self.assertEqual(driver("shown", ABOUT_CAPTION, 10)[0], 0)
            self.assertRegex(driver("text", ABOUT_CAPTION, ids.IDC_CPU_USAGE)[1], r"^%(\d|[1-9]\d|100)$")
            threads = driver("text", ABOUT_CAPTION, ids.IDC_THREAD_COUNT)[1]
            self.assertTrue(re.fullmatch(r"\d+", threads) and int(threads) > 0, threads)
            driver("click", ABOUT_CAPTION, 1)
            self.assertEqual(driver("gone", ABOUT_CAPTION, 10)[0], 0)
            # Closed, the command opens it again.
            driver("command", MAIN_CAPTION, ids.IDM_ABOUT)
            self.assertEqual(driver("shown", ABOUT_CAPTION, 10)[0], 0)
            driver("click", ABOUT_CAPTION, 1)
            driver("gone", ABOUT_CAPTION, 10)
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
