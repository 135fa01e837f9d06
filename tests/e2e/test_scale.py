"""The control panel on screens of 96, 144 and 192 DPI (Wine's X11 driver on Xvfb, the
user's LogPixels set as the display settings would): its face buttons grow with the
screen's scale, and so do the pictures on them.

The measure: in each face button's client area, the picture is every pixel neither of
the face's silver margin nor of the button's own ground (the colour at the area's
top-left corner); its height and width divided by the area's height stay as they are at
96 DPI, within the rounding of a pixel or two. A face drawn at its 96 DPI size in a
larger button shows about two thirds of the proportion at 144 DPI and half of it at 192.
The About box is open meanwhile, so that no button shows the focus."""
import shutil
import tempfile
import time
import unittest
import pathlib

import tunova_ids as ids
from screenpixels import drawn_extent, grab, region
from tunova_e2e import (MAIN_CAPTION, OwnDisplay, ScreenDpi, Tunova, X11Graphics, driver, reset_registry,
                        sample_disc, set_option)

ABOUT_CAPTION = "About Tunova2"
FACE_MARGIN = (192, 192, 192)
FACE_BUTTONS = {"Play": ids.IDC_PLAY, "Pause": ids.IDC_PAUSE, "Stop": ids.IDC_STOP, "Previous": ids.IDC_PREVIOUS,
                "Next": ids.IDC_NEXT, "Eject": ids.IDC_EJECT, "Volume Up": ids.IDC_VOLUME_UP,
                "Volume Down": ids.IDC_VOLUME_DOWN}


def picture_proportions(dpi, workdir):
    """Per face button: (button height, picture width / height, picture height / height)
    on a screen of dpi."""
    reset_registry()
    set_option("ControlsVisibleAtStart", 1)
    with ScreenDpi(dpi), X11Graphics():
        with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            if driver("wait", MAIN_CAPTION, 10)[0] != 0:
                raise AssertionError("the panel never appeared")
            driver("command", MAIN_CAPTION, ids.IDM_ABOUT)
            if driver("shown", ABOUT_CAPTION, 10)[0] != 0:
                raise AssertionError("the About box never appeared")
            time.sleep(1)
            places = {name: [int(n) for n in driver("place", MAIN_CAPTION, button)[1].split()]
                      for name, button in FACE_BUTTONS.items()}
            screen = pathlib.Path(workdir) / f"screen-{dpi}.png"
            grab(screen)
            driver("close", ABOUT_CAPTION)
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            tunova.wait_exit()
    proportions = {}
    for name, (left, top, right, bottom) in places.items():
        width, height = drawn_extent(region(screen, left, top, right, bottom), ground=[FACE_MARGIN])
        side = bottom - top
        proportions[name] = (side, width / side, height / side)
    return proportions


@unittest.skipUnless(shutil.which("import") and shutil.which("Xvfb"), "needs ImageMagick and Xvfb")
class ScaleTest(unittest.TestCase):
    def test_the_panels_pictures_grow_with_their_buttons(self):
        with OwnDisplay() as display, tempfile.TemporaryDirectory() as workdir:
            if not display.display:
                self.skipTest("needs an X display or Xvfb")
            measured = {dpi: picture_proportions(dpi, workdir) for dpi in (96, 144, 192)}
        base = measured[96]
        for dpi in (144, 192):
            for name, (side, across, down) in measured[dpi].items():
                base_side, base_across, base_down = base[name]
                self.assertGreaterEqual(side, base_side * dpi / 96 * 0.85, f"{name} at {dpi} DPI: the button grows")
                # A pixel or two of rounding, at 96 DPI worth a sixth of a picture.
                self.assertAlmostEqual(across, base_across, delta=0.12, msg=f"{name} at {dpi} DPI: {measured}")
                self.assertAlmostEqual(down, base_down, delta=0.12, msg=f"{name} at {dpi} DPI: {measured}")
                self.assertGreater(down, 0.4, f"{name} at {dpi} DPI: a picture fills its button")


if __name__ == "__main__":
    unittest.main()
