"""Digital playback under Wine: a virtual drive holding an image answers raw reads, so
the player reads its sectors and plays them through waveOut, here Wine's ALSA driver
writing every sample to a file of the test's own (as test_images.py does). Without raw
reads, with the option off or without a wave device, the CD audio device plays."""
import pathlib
import subprocess
import sys
import tempfile
import time
import unittest

from tunova_e2e import ROOT, MAIN_CAPTION, Tunova, driver, reset_registry, set_option, wait_until, windows_path, \
    write_disc
from test_images import FRAME_BYTES, assert_same_sound, heard, pause_resume_and_end
from test_mixer import set_audio_driver
import tunova_ids as ids


def make_long_image(folder, seconds):
    subprocess.run([sys.executable, str(ROOT / "tools" / "images" / "make_images.py"), "--long", str(seconds),
                    str(folder)], check=True, timeout=120)
    return folder / "long.cue"


def played_frames(lines):
    """What a play of the one track covers: from the log's "Track # 1 Offset: 150 -
    Length: N", its true length, less the frame the drive reports it short by."""
    line = next(l for l in lines if l.startswith("Track # 1 Offset:"))
    return int(line.rsplit(" ", 1)[1]) - 1


class DigitalSoundTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        set_audio_driver("alsa")

    @classmethod
    def tearDownClass(cls):
        set_audio_driver("none")

    def setUp(self):
        reset_registry()
        self.tmp = tempfile.TemporaryDirectory(prefix="tunova-digital-")
        self.folder = pathlib.Path(self.tmp.name)

    def tearDown(self):
        self.tmp.cleanup()

    def test_an_image_plays_digitally_sample_for_sample_through_a_pause(self):
        sheet = make_long_image(self.folder, 30)
        output = self.folder / "long.raw"
        config = self.folder / "long.asoundrc"
        config.write_text('pcm.!default { type file slave.pcm { type null } file "%s" format "raw" }\n' % output)
        with Tunova(env={"TUNOVA_VIRTUAL_CD": windows_path(sheet), "ALSA_CONFIG_PATH": str(config)}) as tunova:
            lines = tunova.wait_for_log("Starting play on track:  1")
            self.assertIn("Playing digitally from D:", lines)
            want = played_frames(lines) * FRAME_BYTES
            pause_resume_and_end(self, tunova, output, want)
            trace = tunova.trace_lines()
        # The drive never played by itself: every sample came from its raw reads, each
        # within the adapter's limit.
        self.assertFalse([l for l in trace if " play " in l], trace[:20])
        reads = [l.split() for l in trace if l.startswith("D: raw-read ")]
        self.assertTrue(reads)
        self.assertTrue(all(r[-1] == "0" and 1 <= int(r[3]) <= 26 for r in reads), reads[:5])
        assert_same_sound(self, heard(output), (sheet.parent / "long.bin").read_bytes()[:want])

    def test_a_play_elsewhere_goes_on_from_there_sample_for_sample(self):
        # tools/images/make_images.py's two-track image: track 2 starts at frame 450.
        subprocess.run([sys.executable, str(ROOT / "tools" / "images" / "make_images.py"), str(self.folder)],
                       check=True, timeout=120)
        output = self.folder / "tones.raw"
        config = self.folder / "tones.asoundrc"
        config.write_text('pcm.!default { type file slave.pcm { type null } file "%s" format "raw" }\n' % output)
        env = {"TUNOVA_VIRTUAL_CD": windows_path(self.folder / "tones.cue"), "ALSA_CONFIG_PATH": str(config)}
        with Tunova(env=env) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            driver("wait", MAIN_CAPTION, 10)
            driver("command", MAIN_CAPTION, ids.IDM_NEXT_TRACK)
            tunova.wait_for_log("Starting play on track:  2")
            # Track 2 to the frame before the data track at 750.
            track2 = (self.folder / "tones.bin").read_bytes()[(450 - 150) * FRAME_BYTES:(749 - 150) * FRAME_BYTES]
            self.assertTrue(wait_until(lambda: heard(output).endswith(track2), timeout=60))
            time.sleep(0.5)
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)
        # Some of track 1 from its start, then track 2 whole: nothing lost, doubled or
        # changed across the seek.
        sound = heard(output)
        first = sound[:len(sound) - len(track2)]
        self.assertEqual(first, (self.folder / "tones.bin").read_bytes()[:len(first)])
        self.assertEqual(sound[len(first):], track2)


class FallbackTest(unittest.TestCase):
    """The end-to-end tests' setting: no audio driver, so no wave device."""

    def setUp(self):
        reset_registry()

    def run_until_playing(self, disc, expect):
        with Tunova(env={"TUNOVA_VIRTUAL_CD": disc, "TUNOVA_VIRTUAL_SPEED": "1"}) as tunova:
            tunova.wait_for_log("Starting play on track:  1")
            self.assertTrue(wait_until(lambda: "D: status-mode -> 0 526" in tunova.trace_lines()),
                            "the CD audio device plays")
            self.assertTrue(wait_until(lambda: any(l.startswith(expect) for l in tunova.log_lines())),
                            tunova.log_lines())
            driver("command", MAIN_CAPTION, ids.IDM_EXIT)
            self.assertEqual(tunova.wait_exit(), 0)
            return tunova.log_lines(), tunova.trace_lines()

    def test_without_raw_reads_or_a_wave_device_or_with_the_option_off_the_device_plays(self):
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run([sys.executable, str(ROOT / "tools" / "images" / "make_images.py"), tmp],
                           check=True, timeout=120)
            image = windows_path(pathlib.Path(tmp) / "tones.cue")
            description = write_disc(tmp, "plain.disc", "track audio 150\nleadout 13500\n")
            unready = write_disc(tmp, "unready.disc", "image tones.cue\nfail raw-read 21\n")

            # The reason is the system's text: the raw reads say which one it was.
            cannot = "Drive D: cannot read audio, playing through its own output: "
            lines, trace = self.run_until_playing(description, cannot)
            self.assertIn("D: raw-read 0 1 -> 1", trace, "ERROR_INVALID_FUNCTION: no sound to read")
            lines, trace = self.run_until_playing(unready, cannot)
            self.assertIn("D: raw-read 0 1 -> 21", trace, "ERROR_NOT_READY")
            lines, trace = self.run_until_playing(
                image, "No audio output for digital playback, playing through the drive's own output: ")
            self.assertTrue([l for l in trace if l.startswith("D: raw-read 0 1 -> 0")], "the first sector was read")

            set_option("DigitalPlayback", 0)
            lines, trace = self.run_until_playing(image, "Starting play on track:  1")
            self.assertFalse([l for l in lines if "digital" in l or "cannot read audio" in l], lines)
            self.assertFalse([l for l in trace if " raw-" in l], trace)


if __name__ == "__main__":
    unittest.main()
