#!/bin/sh
# Builds the local cddb search benchmark without sanitizers (build/bench) and runs it.
#   bench/run-localdb.sh            256 MB local copy
#   bench/run-localdb.sh --full     1 GB, the size of a full freedb copy
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
MB=256
[ "$1" = "--full" ] && MB=1024
cmake -S "$ROOT" -B "$ROOT/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSANITIZE= -DTUNOVA_TESTS=OFF >/dev/null
ninja -C "$ROOT/build/bench" bench_localdb >/dev/null
exec "$ROOT/build/bench/bench/bench_localdb" --root "$ROOT/build/bench-cddb-$MB" --megabytes "$MB"
