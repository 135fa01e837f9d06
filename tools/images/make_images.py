#!/usr/bin/env python3
"""Writes two small CD images of synthesised tones into a folder, for tests and trying
the player without a drive:

  tones.cue     one BIN of raw 2352-byte sectors: two audio tracks (the second with a
                one-second INDEX 00 pregap) and a MODE1 data track
  tones-wav.cue one WAV per track, the second track's pregap appended to the first file
                (as rippers write it), the last file ending inside a frame
  images.json   what a drive must report for each: track starts, lead-out, and where
                the audio of each disc frame lies in which file

Usage: make_images.py FOLDER
       make_images.py --long SECONDS FOLDER   only long.cue/long.bin: one track of a tone
"""
import json
import math
import pathlib
import struct
import sys
import wave

RATE = 44100
FRAME_SAMPLES = 588  # stereo samples in one 1/75 s frame
FRAME_BYTES = 2352
LEAD_IN = 150


def tone(seconds, left_hz, right_hz, extra_samples=0):
    """16-bit little-endian stereo: different tones left and right with a ramp added, so
    that a copy shifted by a sample, with its channels swapped or its bytes turned round
    never passes for the original. Left stays above zero and right below: no sample is
    silence, so silence a device adds is told apart from the image's own sound."""
    count = int(seconds * RATE) + extra_samples
    out = bytearray(count * 4)
    for n in range(count):
        left = int(9000 * math.sin(2 * math.pi * left_hz * n / RATE)) + 10000 + (n & 0x3F)
        right = int(7000 * math.sin(2 * math.pi * right_hz * n / RATE)) - 9000 - (n & 0x1F)
        struct.pack_into("<hh", out, n * 4, left, right)
    return bytes(out)


def data_sectors(first_frame, count):
    """MODE1 sectors: sync, BCD address, mode byte, a recognisable payload, no ECC."""
    out = bytearray()
    for i in range(count):
        frame = first_frame + i
        bcd = [((v // 10) << 4) | (v % 10) for v in (frame // 4500, frame // 75 % 60, frame % 75)]
        sector = bytearray(b"\x00" + b"\xff" * 10 + b"\x00" + bytes(bcd) + b"\x01")
        sector += (b"TUNOVA DATA %06d " % frame) * 110
        out += sector[:FRAME_BYTES].ljust(FRAME_BYTES, b"\x00")
    return bytes(out)


def write_wav(path, pcm):
    with wave.open(str(path), "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm)


def main(folder):
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    one = tone(3, 440, 660)
    gap = tone(1, 220, 330)
    two = tone(4, 550, 825)

    # Single BIN: track 1 (3 s), track 2's pregap (1 s) and audio (4 s), a data track (3 s).
    data = data_sectors(LEAD_IN + 600, 225)
    (folder / "tones.bin").write_bytes(one + gap + two + data)
    (folder / "tones.cue").write_text(
        'REM made by tools/images/make_images.py\n'
        'PERFORMER "Tunova Test Tones"\nTITLE "Three Tracks"\n'
        'FILE "tones.bin" BINARY\n'
        '  TRACK 01 AUDIO\n    TITLE "A Above"\n    INDEX 01 00:00:00\n'
        '  TRACK 02 AUDIO\n    INDEX 00 00:03:00\n    INDEX 01 00:04:00\n'
        '  TRACK 03 MODE1/2352\n    INDEX 01 00:08:00\n')

    # One WAV a track; track 3 ends 100 samples into a frame, which plays out as silence.
    three = tone(2.5, 990, 1485, extra_samples=100 - RATE // 2 % FRAME_SAMPLES)
    write_wav(folder / "tones-1.wav", one + gap)
    write_wav(folder / "tones-2.wav", two)
    write_wav(folder / "tones-3.wav", three)
    (folder / "tones-wav.cue").write_text(
        'FILE "tones-1.wav" WAVE\n'
        '  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n'
        '  TRACK 02 AUDIO\n    INDEX 00 00:03:00\n'
        'FILE "tones-2.wav" WAVE\n    INDEX 01 00:00:00\n'
        'FILE "tones-3.wav" WAVE\n'
        '  TRACK 03 AUDIO\n    INDEX 01 00:00:00\n')

    def frames(pcm):
        return -(-len(pcm) // FRAME_BYTES)

    # The sound of each disc: pieces of (first disc frame, file, byte offset, bytes).
    bin_pieces = [[LEAD_IN, "tones.bin", 0, len(one) + len(gap) + len(two)]]
    wav_pieces = [[LEAD_IN, "tones-1.wav", 44, len(one) + len(gap)],
                  [LEAD_IN + frames(one + gap), "tones-2.wav", 44, len(two)],
                  [LEAD_IN + frames(one + gap) + frames(two), "tones-3.wav", 44, len(three)]]
    three_start = LEAD_IN + frames(one + gap) + frames(two)
    manifest = {
        "tones.cue": {"tracks": [[True, LEAD_IN], [True, LEAD_IN + 300], [False, LEAD_IN + 600]],
                      "pregaps": [0, 75, 0], "leadout": LEAD_IN + 825, "pieces": bin_pieces},
        "tones-wav.cue": {"tracks": [[True, LEAD_IN], [True, LEAD_IN + 300], [True, three_start]],
                          "pregaps": [0, 75, 0], "leadout": three_start + frames(three),
                          "pieces": wav_pieces},
    }
    (folder / "images.json").write_text(json.dumps(manifest, indent=1) + "\n")


def long_image(seconds, folder):
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    # A second of tone repeated: the same sound, made in a moment.
    second = tone(1, 440, 660)
    (folder / "long.bin").write_bytes(second * seconds)
    (folder / "long.cue").write_text('FILE "long.bin" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n')


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--long":
        long_image(int(sys.argv[2]), sys.argv[3])
    elif len(sys.argv) == 2:
        main(sys.argv[1])
    else:
        sys.exit(__doc__)
