#!/usr/bin/env bash
# The door for people and CI.
#   ./tunova.sh run    install what is missing, build, run tunova.exe -d under Wine
#                      on the embedded default (a virtual drive with the sample disc)
#   ./tunova.sh test   install, build all three, run every test layer
#   ./tunova.sh build  install and build only
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# Debian's own python3 first: the packages the tests need (python3-aiosmtpd) install
# for it, not for another python3 that may come earlier in PATH.
export PATH="/usr/bin:$PATH"
cd "$ROOT"

APT_PACKAGES=(
    cmake ninja-build g++ googletest libgtest-dev libgmock-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick python3 python3-aiosmtpd procps
    clang libclang-rt-14-dev pulseaudio pulseaudio-utils nsis libasound2 nlohmann-json3-dev openssl
)

install_missing() {
    local missing=()
    for p in "${APT_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

# build_one DIR [cmake options...] [-- targets...]
build_one() {
    local dir="$1"; shift
    local options=() targets=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
    [ "${1:-}" = "--" ] && shift && targets=("$@")
    # Configured again whenever the options differ from the ones it was made with.
    local stamp="build/$dir.options" wanted="${options[*]}"
    if [ ! -f "build/$dir/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$wanted" ]; then
        rm -f "$stamp"
        cmake -S . -B "build/$dir" -G Ninja "${options[@]}" >"build/$dir.configure.log" 2>&1 ||
            { cat "build/$dir.configure.log"; return 1; }
        printf '%s' "$wanted" >"$stamp"
    fi
    ninja -C "build/$dir" "${targets[@]}" || return 1
}

# The tests whose threads share the disc information, the log mailbox or the lookup
# also run under ThreadSanitizer.
THREAD_TESTS=(native_discinfo native_log native_lookup native_submit native_virtualcd native_sound native_digital)

build_all() {
    mkdir -p build
    echo "== Building native (sanitized)"
    build_one native -DCMAKE_BUILD_TYPE=Debug || return 1
    if [ "${1:-}" = test ]; then
        echo "== Building the thread tests (thread sanitizer)"
        build_one native-tsan -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=-fsanitize=thread -- "${THREAD_TESTS[@]}" || return 1
    fi
    echo "== Building win64"
    build_one win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-win64.cmake -DCMAKE_BUILD_TYPE=Release || return 1
    echo "== Building win32 (compile and link only)"
    build_one win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-win32.cmake -DCMAKE_BUILD_TYPE=Release \
        -DTUNOVA_WARNINGS_AS_ERRORS=ON -DTUNOVA_TESTS=OFF || return 1
    build_installer || return 1
}

# tunova-setup.exe installs the 64-bit or the 32-bit program, whichever fits the machine.
# tunova-setup-x64.exe, from the same script, is itself a 64-bit program: the only kind
# this machine's Wine runs, so the end-to-end test installs that one.
build_installer() {
    echo "== Building the setup programs"
    local win64="$ROOT/build/win64/tunova.exe" win32="$ROOT/build/win32/tunova.exe"
    makensis -V2 -WX -DWIN64_EXE="$win64" -DWIN32_EXE="$win32" \
        -DOUTFILE="$ROOT/build/win64/tunova-setup.exe" installer/tunova.nsi || return 1
    makensis -V2 -WX -DTARGET_AMD64 -DWIN64_EXE="$win64" \
        -DOUTFILE="$ROOT/build/win64/tunova-setup-x64.exe" installer/tunova.nsi || return 1
}

source "$ROOT/tools/wine/prefix.sh"
source "$ROOT/tools/pulse/pulse.sh"

# Starts Xvfb when there is no display; XVFB_PID is set when it did.
XVFB_PID=""
ensure_display() {
    if [ -z "${DISPLAY:-}" ]; then
        local n=97
        while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    fi
}

cleanup() {
    wine_stop_server
    pulse_stop
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
}

# Sums the gtest results of a log: "[  PASSED  ] N tests" and "[  FAILED  ] N tests".
PASSED=0
FAILED=0
count_gtest() {
    local p f
    p=$(grep -aE '^\[  PASSED  \] [0-9]+ test' "$1" | awk '{s += $4} END {print s + 0}')
    f=$(grep -aE '^\[  FAILED  \] [0-9]+ test' "$1" | awk '{s += $4} END {print s + 0}')
    PASSED=$((PASSED + p))
    FAILED=$((FAILED + f))
    echo "   $2: $p passed, $f failed"
}

# Adds the counts of a "NAME: N passed, N failed" closing line; a log without one is
# a run that did not finish and counts as one failure.
count_summary_line() {
    local line p f
    line=$(grep -aE "^$2: [0-9]+ passed, [0-9]+ failed" "$1" | tail -n 1)
    if [ -z "$line" ]; then
        FAILED=$((FAILED + 1)); echo "   $2 did not finish"; tail -20 "$1"; return 1
    fi
    p=$(echo "$line" | awk '{print $2}')
    f=$(echo "$line" | awk '{print $4}')
    PASSED=$((PASSED + p)); FAILED=$((FAILED + f))
    echo "   $2: $p passed, $f failed"
    [ "$f" -eq 0 ]
}

# Runs gtest programs into one log and counts their results. A program that fails
# without reporting a failed test (a crash, a sanitizer report, a hang) counts as one.
run_gtest_programs() {
    local log="$1" name="$2" status=0 one
    shift 2
    : >"$log"
    one=$(mktemp)
    for t in "$@"; do
        if [ ! -x "$t" ]; then
            status=1; FAILED=$((FAILED + 1)); echo "   MISSING: $t"; continue
        fi
        if ! timeout 600 "$t" --gtest_color=no >"$one" 2>&1; then
            status=1
            echo "   FAILED: $t"
            grep -aqE '^\[  FAILED  \] [0-9]+ test' "$one" || FAILED=$((FAILED + 1))
        fi
        cat "$one" >>"$log"
    done
    rm -f "$one"
    grep -a -E '^\[  FAILED  \] [A-Za-z]|WARNING: ThreadSanitizer|ERROR: AddressSanitizer' "$log" | sed 's/^/   /'
    count_gtest "$log" "$name"
    return $status
}

# The Win32 programs without an audio driver, except the mixer's and the sound's, which
# meet a real one: Wine's PulseAudio driver on a null sink. The mixer's cases for a
# system without a driver (NoAudioDriver*) run in the first setting.
run_win32_tests() {
    # -V already prints every program's output; --output-on-failure would print a
    # failing program's a second time and count its failures twice.
    local status=0 ctest=(ctest -V --timeout 300) audio='^win32_(mixer|sound)$'
    wine_set_audio none
    (cd build/win64 && "${ctest[@]}" -E "$audio") || status=1
    (cd build/win64 && GTEST_FILTER='NoAudioDriver*' "${ctest[@]}" -R '^win32_mixer$') || status=1
    if pulse_start; then
        wine_set_audio pulse
        (cd build/win64 && GTEST_FILTER='-NoAudioDriver*' "${ctest[@]}" -R "$audio") || status=1
    else
        echo "***Exception: PulseAudio did not start; the mixer's and the sound's tests did not run"
        status=1
    fi
    # The end-to-end tests start without a driver too; the mixer's own choose theirs.
    wine_set_audio none
    return $status
}

run_tests() {
    local status=0 logs="$ROOT/build/test-logs"
    mkdir -p "$logs"

    echo "== Layers: no folder includes from a folder above it"
    if python3 tools/layers/check_layers.py >"$logs/layers.log" 2>&1; then
        PASSED=$((PASSED + 1)); echo "   layers: 1 passed, 0 failed"
    else
        status=1; FAILED=$((FAILED + 1))
        grep -a -E ':[0-9]+: ' "$logs/layers.log" | sed 's/^/   /'
        echo "   layers: 0 passed, 1 failed"
    fi

    echo "== Native tests"
    run_gtest_programs "$logs/native.log" native build/native/native_* || status=1

    echo "== Thread tests under the thread sanitizer"
    local tsan=()
    for t in "${THREAD_TESTS[@]}"; do tsan+=("build/native-tsan/$t"); done
    run_gtest_programs "$logs/native-tsan.log" native-tsan "${tsan[@]}" || status=1

    echo "== Fuzz targets: every corpus input, then a few seconds each"
    if bench/fuzz.sh --ci >"$logs/fuzz.log" 2>&1; then :; else status=1; fi
    sed -n '1,/^fuzz: /p' "$logs/fuzz.log" | grep -aE '^(target|[a-z]+ +[0-9?]+ )|finding|ERROR|SUMMARY' | sed 's/^/   /'
    count_summary_line "$logs/fuzz.log" fuzz || status=1

    echo "== Win32 tests under Wine"
    wine_prepare_prefix
    wine_set_graphics null
    run_win32_tests >"$logs/win32.log" 2>&1 || status=1
    grep -a -E '^[0-9]+: \[  FAILED  \] [A-Za-z]|Timeout|\*\*\*Failed|Exit code' "$logs/win32.log" | sed 's/^/   /'
    sed -i 's/^[0-9]*: //' "$logs/win32.log"
    count_gtest "$logs/win32.log" win32
    # A program that timed out or crashed reported no failed test of its own.
    local silent
    silent=$(grep -acE '\*\*\*(Timeout|Exception)|Not Run' "$logs/win32.log")
    FAILED=$((FAILED + silent))
    if grep -q 'No tests were found' "$logs/win32.log"; then echo "   (no Win32 test programs yet)"; fi

    echo "== End-to-end tests (tunova.exe under Wine)"
    if [ -d tests/e2e ] && ls tests/e2e/test_*.py >/dev/null 2>&1; then
        python3 tests/e2e/run.py >"$logs/e2e.log" 2>&1 || status=1
        grep -a -E '^(FAIL|ERROR):' "$logs/e2e.log" | sed 's/^/   /'
        count_summary_line "$logs/e2e.log" e2e || status=1
    fi
    wine_stop_server
    pulse_stop

    [ "$FAILED" -ne 0 ] && status=1
    echo "Logs: build/test-logs/"
    echo "$PASSED passed, $FAILED failed"
    return $status
}

# The program runs under Wine: each Linux path of a ';' list becomes its Windows form.
windows_disc_paths() {
    local list="$1" out="" path
    IFS=';' read -ra paths <<<"$list"
    for path in "${paths[@]}"; do
        [ -z "$path" ] && continue
        if [[ "$path" != ?:* ]]; then path="Z:$(realpath -m "$path" | tr '/' '\\')"; fi
        out="${out:+$out;}$path"
    done
    printf '%s' "$out"
}

# The run finds the sample disc's titles in the bundled local cddb copy, as a user
# would set it on the cddb Query page: the local copy on, its root as a Windows path.
use_sample_cddb_copy() {
    local options='HKLM\SOFTWARE\Kestrow Software\Tunova\2.20\Tunova'
    "$WINE" reg add "$options" /v cddbQueryLocal /t REG_DWORD /d 1 /f >/dev/null 2>&1
    "$WINE" reg add "$options" /v cddbRootDirectory /d "$(windows_disc_paths samples/cddb)" /f >/dev/null 2>&1
}

run_program() {
    ensure_display
    wine_prepare_prefix
    wine_set_graphics x11
    wine_set_audio none
    [ -f samples/tunova.reg ] && "$WINE" regedit /S "samples\\tunova.reg" >/dev/null 2>&1
    use_sample_cddb_copy
    export TUNOVA_VIRTUAL_CD="$(windows_disc_paths "${TUNOVA_VIRTUAL_CD:-samples/discs/album.disc}")"
    echo "== Running tunova.exe -d (virtual drive: $TUNOVA_VIRTUAL_CD)"
    "$WINE" build/win64/tunova.exe -d "$@"
}

main() {
    local command="${1:-}"
    [ $# -gt 0 ] && shift
    case "$command" in
        run|test|build) ;;
        *) echo "usage: ./tunova.sh run|test|build" >&2; exit 2 ;;
    esac
    install_missing || { echo "Installing packages failed" >&2; exit 1; }
    build_all "$command" || { echo "Build failed" >&2; echo "0 passed, 1 failed"; exit 1; }
    trap cleanup EXIT
    case "$command" in
        build) ;;
        test) run_tests; exit $? ;;
        run) run_program "$@" ;;
    esac
}

main "$@"
