"""The volume controls of the running player, without an audio driver and with a real one:
Wine's PulseAudio driver on the null sink that tunova.sh starts (PULSE_SERVER)."""
import os
import subprocess
import unittest

import tunova_ids as ids
from tunova_e2e import MAIN_CAPTION, ROOT, Tunova, driver, reset_registry, sample_disc, set_option, wine_env

VOLUME_UP = ids.IDC_VOLUME_UP
VOLUME_DOWN = ids.IDC_VOLUME_DOWN
VOLUME_BAR = ids.IDC_VOLUME_BAR
MIXER_CONTROL_CHANGE = 0x3D1


def set_audio_driver(mode):
    """Switches the prefix's audio driver (none or pulse) as tunova.sh does."""
    subprocess.run(["bash", "-c", 'source tools/wine/prefix.sh && wine_set_audio "$0"', mode],
                   cwd=ROOT, env=wine_env(), check=True, timeout=120,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class MixerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        set_audio_driver("none")

    def setUp(self):
        reset_registry()

    def test_without_a_mixer_the_player_starts_and_the_volume_controls_do_nothing(self):
        set_option("ControlsVisibleAtStart", 1)
        with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
            lines = tunova.wait_for_log("Unable to find mixer control on system.")
            self.assertEqual(lines[lines.index("Unable to find mixer control on system.") - 1],
                             "Looking for mixer control")
            self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
            for control in (VOLUME_UP, VOLUME_DOWN, VOLUME_BAR):
                self.assertEqual(driver("enabled", MAIN_CAPTION, control), (0, "0\n"))
            driver("click", MAIN_CAPTION, VOLUME_UP)
            driver("click", MAIN_CAPTION, VOLUME_BAR)
            self.assertEqual(driver("send", MAIN_CAPTION, MIXER_CONTROL_CHANGE, 0, 0)[0], 0)
            self.assertTrue(tunova.running())
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)
            log = "\n".join(tunova.log_lines())
            self.assertNotIn("Found mixer control: ", log)
            self.assertNotIn("set to: ", log)


class PulseAudioMixerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not os.environ.get("PULSE_SERVER"):
            raise AssertionError("PULSE_SERVER is not set: tunova.sh test starts PulseAudio for these tests")
        set_audio_driver("pulse")

    @classmethod
    def tearDownClass(cls):
        set_audio_driver("none")

    def setUp(self):
        reset_registry()

    def test_volume_down_then_mute_change_the_real_mixer(self):
        set_option("ControlsVisibleAtStart", 1)
        with Tunova(env={"TUNOVA_VIRTUAL_CD": sample_disc("album.disc")}) as tunova:
            lines = tunova.wait_for_log("Found mixer control:  Mute")
            self.assertNotIn("Unable to find mixer control on system.", lines)
            self.assertIn("Found mixer line:  Master Volume", lines)
            self.assertIn("Found mixer control:  Volume", lines)
            self.assertEqual(driver("shown", MAIN_CAPTION, 10)[0], 0)
            for control in (VOLUME_UP, VOLUME_DOWN, VOLUME_BAR):
                self.assertEqual(driver("enabled", MAIN_CAPTION, control), (0, "1\n"))

            # Wine gives each process a volume of its own, starting at the maximum; a step
            # of its 192-step control is 192 * (65535 / 50 / 192).
            driver("click", MAIN_CAPTION, VOLUME_DOWN)
            tunova.wait_for_log("Volume set to:  64383")
            driver("click", MAIN_CAPTION, VOLUME_BAR)
            tunova.wait_for_log("Mute set to:  1")
            driver("click", MAIN_CAPTION, VOLUME_BAR)
            tunova.wait_for_log("Mute set to:  0")
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
