"""Resume Where Stopped under Wine: a disc left in its third track starts there next run."""
import unittest

import tunova_ids as ids
from tunova_e2e import MAIN_CAPTION, Tunova, driver, reset_registry, sample_disc, set_option, wait_until

SELECT_TRACK_3 = 32871


def unpack(packed):
    return packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF


def play_positions(tunova):
    """(track, minute, second) of every "play from" the drive was given, in order."""
    return [unpack(int(line.split()[3], 16)) for line in tunova.trace_lines() if line.startswith("D: play from ")]


def last_position(tunova):
    """(track, minute, second) of the drive's last answer to a position query, or None."""
    answers = [line.split() for line in tunova.trace_lines() if line.startswith("D: status-position -> 0 ")]
    return unpack(int(answers[-1][-1])) if answers else None


def album(speed):
    return {"TUNOVA_VIRTUAL_CD": sample_disc("album.disc"), "TUNOVA_VIRTUAL_SPEED": str(speed)}


class ResumeTest(unittest.TestCase):
    def setUp(self):
        reset_registry()

    def leave_track_three_near(self, seconds):
        """Plays track 3 to about the given position, pauses there and exits."""
        with Tunova(env=album(5)) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            self.assertEqual(driver("wait", MAIN_CAPTION, 10)[0], 0)
            driver("command", MAIN_CAPTION, SELECT_TRACK_3)
            tunova.wait_for_log("Starting play on track:  3")

            def reached():
                position = last_position(tunova)
                return position is not None and position[0] == 3 and position[1] * 60 + position[2] >= seconds
            self.assertTrue(wait_until(reached, timeout=40), last_position(tunova))
            driver("command", MAIN_CAPTION, ids.IDM_PAUSE)
            tunova.wait_for_log("Pausing CD player.")
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)

    def test_a_disc_left_in_its_third_track_at_1_10_starts_there_next_run(self):
        set_option("ResumeWhereStopped", 1)
        self.leave_track_three_near(68)
        with Tunova(env=album(1)) as tunova:
            tunova.wait_for_log("Starting play on track:  3")
            track, minute, second = play_positions(tunova)[0]
            self.assertEqual(track, 3)
            # The point is the last second the player saw before the pause: the drive
            # moves 5 s a second here, so some seconds past 1:08.
            self.assertTrue(68 <= minute * 60 + second <= 85, (minute, second))
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)

    def test_without_the_option_the_next_run_starts_at_track_one(self):
        self.leave_track_three_near(10)
        with Tunova(env=album(1)) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            self.assertEqual(play_positions(tunova)[0], (1, 0, 0))
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
