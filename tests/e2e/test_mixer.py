"""The volume controls of the running player on a system without an audio mixer."""
import unittest

from tunova_e2e import MAIN_CAPTION, Tunova, driver, reset_registry, sample_disc, set_option

VOLUME_UP = 1090
VOLUME_BAR = 1097
MIXER_CONTROL_CHANGE = 0x3D1


class MixerTest(unittest.TestCase):
    def setUp(self):
        reset_registry()

    def test_without_a_mixer_the_player_starts_and_the_volume_controls_do_nothing(self):
        set_option("ControlsVisibleAtStart", 1)
        with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
            lines = tunova.wait_for_log("Unable to find mixer control on system.")
            self.assertEqual(lines[lines.index("Unable to find mixer control on system.") - 1],
                             "Looking for mixer control")
            self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
            driver("click", MAIN_CAPTION, VOLUME_UP)
            driver("click", MAIN_CAPTION, VOLUME_BAR)
            self.assertEqual(driver("send", MAIN_CAPTION, MIXER_CONTROL_CHANGE, 0, 0)[0], 0)
            self.assertTrue(tunova.running())
            driver("command", MAIN_CAPTION, 40019)
            self.assertEqual(tunova.wait_exit(), 0)
            self.assertNotIn("Found mixer control: ", "\n".join(tunova.log_lines()))


if __name__ == "__main__":
    unittest.main()
