"""CD images under Wine: a CUE/BIN and a CUE/WAV made by tools/images/make_images.py play
through waveOut and Wine's ALSA driver, whose default device here is ALSA's file plugin
(over its null device) writing every sample it is given to a file of the test's own.

Wine hands the samples to ALSA as they are (44.1 kHz 16-bit stereo, no resampling, no
volume applied); when its buffer runs dry it writes silence instead. The null device
takes sound faster than real time, so that can happen between two blocks here, which no
sound card would cause: the tones hold no silent sample, and silence in the output is
told apart from them."""
import json
import pathlib
import subprocess
import sys
import tempfile
import time
import unittest

from tunova_e2e import ROOT, OPTIONS_KEY, MAIN_CAPTION, Tunova, driver, reg, reset_registry, set_option, \
    wait_until, windows_path
from test_mixer import set_audio_driver
import tunova_ids as ids

DISC_KEY = OPTIONS_KEY.rsplit("\\", 1)[0] + r"\CD Information"
FRAME_BYTES = 2352
SILENCE = bytes(4)  # one stereo sample of silence


def packed_msf(frame):
    return frame // 4500 << 16 | frame // 75 % 60 << 8 | frame % 75


def identity_key(disc):
    """The Windows media identity of a table, as the registry names its record."""
    starts = [start for _, start in disc["tracks"]]
    total = sum(packed_msf(start) for start in starts)
    if len(starts) < 3:
        total += starts[0] % 75 + disc["leadout"] - starts[0]
    return "%X" % (total & 0xFFFFFFFF)


def disc_id(disc):
    """The cddb disc id of a table, from whole seconds of the starts and the lead-out."""
    seconds = [start // 75 for _, start in disc["tracks"]]
    n = sum(sum(int(d) for d in str(s)) for s in seconds)
    return "%08x" % ((n % 255) << 24 | (disc["leadout"] // 75 - seconds[0]) << 8 | len(seconds))


def heard(played):
    """The samples of the output (bytes, or the file holding them) other than silence."""
    if isinstance(played, pathlib.Path):
        played = played.read_bytes() if played.exists() else b""
    return b"".join(played[i:i + 4] for i in range(0, len(played) - 3, 4) if played[i:i + 4] != SILENCE)


def pause_resume_and_end(test, tunova, output, want):
    """Pauses the play once a fifth of want bytes is heard, goes on a second later, waits
    for want bytes and ends the program."""
    test.assertTrue(wait_until(lambda: len(heard(output)) >= want // 5, timeout=60))
    driver("command", MAIN_CAPTION, ids.IDM_PAUSE)
    tunova.wait_for_log("Pausing CD player.")
    test.assertLess(len(heard(output)), want, "the pause came after the end")
    time.sleep(1)
    driver("command", MAIN_CAPTION, ids.IDM_PLAY)
    tunova.wait_for_log("Resuming play on track:  1")
    test.assertTrue(wait_until(lambda: len(heard(output)) >= want, timeout=90), (len(heard(output)), want))
    time.sleep(0.5)  # room for anything that should not follow
    driver("command", MAIN_CAPTION, ids.IDM_EXIT)
    test.assertEqual(tunova.wait_exit(), 0)


def assert_same_sound(test, sound, expected):
    test.assertEqual(len(sound), len(expected))
    if sound != expected:
        at = next(i for i in range(len(expected)) if sound[i] != expected[i])
        test.fail("played samples differ from the image's at byte %d of %d" % (at, len(expected)))


def disc_sound(folder, disc):
    """The audio of the disc from frame 150 on, straight from its files; frames a file
    ends inside are filled out with silence."""
    sound = bytearray()
    for first, name, offset, size in disc["pieces"]:
        assert len(sound) == (first - 150) * FRAME_BYTES
        sound += (folder / name).read_bytes()[offset:offset + size]
        sound += bytes(-len(sound) % FRAME_BYTES)
    return bytes(sound)


class ImageSoundTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory(prefix="tunova-images-")
        cls.folder = pathlib.Path(cls.tmp.name)
        subprocess.run([sys.executable, str(ROOT / "tools" / "images" / "make_images.py"), str(cls.folder)],
                       check=True, timeout=120)
        cls.manifest = json.loads((cls.folder / "images.json").read_text())
        set_audio_driver("alsa")

    @classmethod
    def tearDownClass(cls):
        set_audio_driver("none")
        cls.tmp.cleanup()

    def setUp(self):
        reset_registry()
        # The drive's own sound, as the CD audio device plays an image: test_digital.py
        # has the digital player's.
        set_option("DigitalPlayback", 0)

    def play_from_track_2_second_1(self, sheet):
        """Runs the player on the sheet, resuming in track 2 at 0:01, until the drive has
        played to the end of its range; returns (played bytes, the drive's range, log)."""
        disc = self.manifest[sheet]
        set_option("ResumeWhereStopped", 1)
        record = DISC_KEY + "\\" + identity_key(disc)
        reg("add", record, "/v", "ResumeTrack", "/t", "REG_DWORD", "/d", "2", "/f")
        reg("add", record, "/v", "ResumeSeconds", "/t", "REG_DWORD", "/d", "1", "/f")
        output = self.folder / (sheet + ".raw")
        config = self.folder / (sheet + ".asoundrc")
        # ALSA's own configuration stays out: with a PulseAudio server about, its hooks
        # would make the default device PulseAudio's.
        config.write_text('pcm.!default { type file slave.pcm { type null } file "%s" format "raw" }\n' % output)
        env = {"TUNOVA_VIRTUAL_CD": windows_path(self.folder / sheet), "ALSA_CONFIG_PATH": str(config)}
        with Tunova(env=env) as tunova:
            lines = tunova.wait_for_log("Starting play on track:  2")
            self.assertIn("Windows media identity:  " + identity_key(disc), lines)
            self.assertIn("Discid =  " + disc_id(disc), lines)
            self.assertFalse([line for line in lines if "No audio output" in line], lines)
            def plays():
                return [line.split() for line in tunova.trace_lines() if line.startswith("D: play from ")]
            self.assertTrue(wait_until(lambda: plays()), tunova.trace_lines())
            self.assertEqual(len(plays()), 1, tunova.trace_lines())
            # "D: play from <TMSF> to <TMSF> -> 0", both in hexadecimal
            start, end = int(plays()[0][3], 16), int(plays()[0][5], 16)

            def frame(tmsf):
                track = tmsf & 0xFF
                return disc["tracks"][track - 1][1] + ((tmsf >> 8 & 0xFF) * 60 + (tmsf >> 16 & 0xFF)) * 75 + (
                    tmsf >> 24 & 0xFF)
            first, last = frame(start), frame(end)
            self.assertEqual(first, disc["tracks"][1][1] + 75)
            want = (last - first) * FRAME_BYTES
            self.assertTrue(wait_until(lambda: len(heard(output)) >= want, timeout=60),
                            (len(heard(output)), want))
            time.sleep(0.5)  # room for anything that should not follow
            driver("command", MAIN_CAPTION, 40019)
            self.assertEqual(tunova.wait_exit(), 0)
            self.plays = plays()
        return output.read_bytes(), first, last

    def check_exact(self, sheet):
        played, first, last = self.play_from_track_2_second_1(sheet)
        expected = disc_sound(self.folder, self.manifest[sheet])[(first - 150) * FRAME_BYTES:(last - 150) * FRAME_BYTES]
        self.assertNotIn(SILENCE, [expected[i:i + 4] for i in range(0, len(expected), 4)])
        # Every sample of the range, in order, none lost, doubled or changed, and nothing
        # else but silence. The device plays faster than real time: a last track can end
        # between two status ticks, and the player then plays it again (a later play).
        self.assertEqual(len(played) % 4, 0)
        sound = heard(played)
        if len(self.plays) == 1:
            self.assertEqual(len(sound), len(expected), "%d bytes played, %d of them silence"
                             % (len(played), len(played) - len(sound)))
        else:
            self.assertGreater(len(sound), len(expected))
        if sound[:len(expected)] != expected:
            at = next(i for i in range(len(expected)) if sound[i] != expected[i])
            self.fail("%s: played samples differ from the image's at byte %d of %d" % (sheet, at, len(expected)))

    def test_a_bin_image_reaches_the_audio_output_sample_for_sample(self):
        self.check_exact("tones.cue")

    def test_a_wav_image_reaches_the_audio_output_sample_for_sample(self):
        self.check_exact("tones-wav.cue")

    def test_a_pause_in_the_middle_goes_on_at_the_very_sample(self):
        # A short pause: the stream is held and goes on. (One long enough to close the
        # stream cannot be checked here: ALSA's file plugin writes out, at the close,
        # what a sound card would drop unheard. The native and PulseAudio tests cover it.)
        folder = self.folder / "long"
        subprocess.run([sys.executable, str(ROOT / "tools" / "images" / "make_images.py"), "--long", "30",
                        str(folder)], check=True, timeout=120)
        output = folder / "long.raw"
        config = folder / "long.asoundrc"
        config.write_text('pcm.!default { type file slave.pcm { type null } file "%s" format "raw" }\n' % output)
        env = {"TUNOVA_VIRTUAL_CD": windows_path(folder / "long.cue"), "ALSA_CONFIG_PATH": str(config)}
        with Tunova(env=env) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            self.assertTrue(wait_until(lambda: any(l.startswith("D: play from ") for l in tunova.trace_lines())))
            # One track from its start to the end of the disc: "D: play from 1 to <TMSF hex> -> 0"
            end = int(next(l for l in tunova.trace_lines() if l.startswith("D: play from ")).split()[5], 16)
            want = ((end >> 8 & 0xFF) * 4500 + (end >> 16 & 0xFF) * 75 + (end >> 24 & 0xFF)) * FRAME_BYTES
            pause_resume_and_end(self, tunova, output, want)
        assert_same_sound(self, heard(output), (folder / "long.bin").read_bytes()[:want])


class NoSoundTest(unittest.TestCase):
    """Without an audio driver (the end-to-end tests' setting) there is no wave device."""

    def setUp(self):
        reset_registry()

    def test_without_a_wave_device_the_image_is_logged_and_plays_silently(self):
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run([sys.executable, str(ROOT / "tools" / "images" / "make_images.py"), tmp],
                           check=True, timeout=120)
            with Tunova(env={"TUNOVA_VIRTUAL_CD": windows_path(pathlib.Path(tmp) / "tones.cue")}) as tunova:
                tunova.wait_for_log("Starting play on track:  1")
                prefix = "No audio output for the image in D:, it plays silently: "
                self.assertTrue(wait_until(lambda: any(l.startswith(prefix) for l in tunova.log_lines())),
                                tunova.log_lines())
                self.assertTrue(wait_until(lambda: "D: status-mode -> 0 526" in tunova.trace_lines()))
                driver("command", MAIN_CAPTION, 40019)
                self.assertEqual(tunova.wait_exit(), 0)


class BrokenSheetTest(unittest.TestCase):
    def setUp(self):
        reset_registry()

    def test_an_image_that_cannot_be_read_is_logged_and_the_drive_found_empty(self):
        with tempfile.TemporaryDirectory() as tmp:
            sheet = pathlib.Path(tmp) / "broken.cue"
            sheet.write_text('FILE "gone.bin" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n')
            with Tunova(env={"TUNOVA_VIRTUAL_CD": windows_path(sheet)}) as tunova:
                self.assertEqual(driver("shown", "Tunova Error", 15)[0], 0, "\n".join(tunova.log_lines()))
                self.assertEqual(driver("text", "Tunova Error", 0xFFFF)[1], "No disc found in CD player.")
                driver("click", "Tunova Error", 2)
                driver("click", "Tunova Error", 1)
                self.assertEqual(tunova.wait_exit(), 0)
                lines = tunova.log_lines()
            folder = windows_path(tmp)
            self.assertIn("Virtual CD drive D: cannot use its image: cannot read %s\\gone.bin" % folder, lines)
            self.assertIn("Unable to find audio CD on any players in system.", lines)


if __name__ == "__main__":
    unittest.main()
