#!/usr/bin/env bash
# How long tunova.exe takes to start under Wine (the null graphics driver, no sound): the
# median time from launch to the main window's creation and to playing the first track.
#   bench/run-startup.sh [RUNS] [OTHER.exe ...]    RUNS defaults to 30; other builds of
#                                                 the program (an earlier one) take turns
# Needs build/win64/tunova.exe (./tunova.sh build).
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
source tools/wine/prefix.sh
runs="${1:-30}"
[ $# -gt 0 ] && shift
wine_prepare_prefix
wine_set_graphics null
wine_set_audio none
python3 bench/startup.py "$runs" build/win64/tunova.exe "$@"
status=$?
wine_stop_server
exit $status
