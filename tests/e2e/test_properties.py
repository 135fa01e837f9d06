"""The property sheet from its menu command: one at a time, closed by OK or Cancel."""
import time
import unittest

import tunova_ids as ids
from tunova_e2e import MAIN_CAPTION, Tunova, driver, reset_registry, sample_disc

SHEET_CAPTION = "Tunova Properties"
PROPERTIES = ids.IDM_PROPERTIES
EXIT = ids.IDM_EXIT
IDOK, IDCANCEL = 1, 2


class PropertiesTest(unittest.TestCase):
    def setUp(self):
        reset_registry()

    def test_properties_opens_one_sheet_that_ok_and_cancel_close(self):
        with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            driver("command", MAIN_CAPTION, PROPERTIES)
            self.assertEqual(driver("shown", SHEET_CAPTION, 10)[0], 0)
            # A second command while the sheet is open opens nothing: after one OK no
            # sheet is left.
            driver("command", MAIN_CAPTION, PROPERTIES)
            time.sleep(1)
            driver("click", SHEET_CAPTION, IDOK)
            self.assertEqual(driver("gone", SHEET_CAPTION, 10)[0], 0)
            time.sleep(1)
            self.assertEqual(driver("find", SHEET_CAPTION)[0], 1, "no second sheet opened")
            # Closed, the command opens it again; Cancel closes it too.
            driver("command", MAIN_CAPTION, PROPERTIES)
            self.assertEqual(driver("shown", SHEET_CAPTION, 10)[0], 0)
            driver("click", SHEET_CAPTION, IDCANCEL)
            self.assertEqual(driver("gone", SHEET_CAPTION, 10)[0], 0)
            driver("command", MAIN_CAPTION, EXIT)
            self.assertEqual(tunova.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
