#!/usr/bin/env bash
# The processor time of playing a CD image: tunova.exe under Wine plays a 90-second image
# through waveOut into PulseAudio's null sink (real-time, as a sound card takes it) for
# 60 s, then 60 s with the image paused and 60 s stopped; prints all three and fails when
# playing costs more than 1.25 times the bench's minimal waveOut player playing the same
# samples beside it, or paused or stopped costs more than 0.1% of one core.
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
