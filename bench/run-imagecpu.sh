#!/usr/bin/env bash
# The processor time of playing a CD image: tunova.exe under Wine plays a 90-second image
# through waveOut into PulseAudio's null sink (real-time, as a sound card takes it) for
# 60 s, then 60 s with the image paused and 60 s stopped; prints all three and fails when
# playing costs 2% or more of one core above the stopped (idle) program.
#   bench/run-imagecpu.sh [SECONDS]     measure over SECONDS instead of 60
# Needs build/win64/tunova.exe and tunova_driver.exe (./tunova.sh build).
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
source tools/wine/prefix.sh
source tools/pulse/pulse.sh
images=build/bench-images
[ -f "$images/long.cue" ] || python3 tools/images/make_images.py --long 90 "$images" || exit 1
wine_prepare_prefix
pulse_start || exit 1
wine_set_graphics null
wine_set_audio pulse
python3 bench/imagecpu.py "$images/long.cue" "${1:-60}"
status=$?
wine_set_audio none
wine_stop_server
pulse_stop
exit $status
