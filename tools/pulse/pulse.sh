# Sourced by tunova.sh: a private PulseAudio daemon with a null sink, so that Wine's
# audio driver offers a real mixer without a sound card.
#   pulse_start   starts the daemon; exports PULSE_SERVER for the Wine processes
#   pulse_stop    stops it by its pid and removes its runtime directory
# The daemon runs as the calling user (root in CI) with its own runtime and home
# directories; it never touches a session daemon of the user.
PULSE_PID=""
PULSE_DIR=""

pulse_start() {
    pulse_stop
    PULSE_DIR="$(mktemp -d "${TMPDIR:-/tmp}/tunova-pulse.XXXXXX")" || return 1
    chmod 700 "$PULSE_DIR"
    # No default script: only the socket the tests use and the null sink.
    cat >"$PULSE_DIR/default.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$PULSE_DIR/native
load-module module-null-sink sink_name=tunova_null
set-default-sink tunova_null
PA
    # Its output goes to its own log: an inherited pipe would keep the test runner's
    # output open for as long as the daemon lives.
    HOME="$PULSE_DIR" XDG_RUNTIME_DIR="$PULSE_DIR" PULSE_RUNTIME_PATH="$PULSE_DIR" \
        pulseaudio --system=no --daemonize=no -n -F "$PULSE_DIR/default.pa" \
        --exit-idle-time=-1 --use-pid-file=no --disallow-exit \
        </dev/null >"$PULSE_DIR/pulseaudio.log" 2>&1 &
    PULSE_PID=$!
    export PULSE_SERVER="unix:$PULSE_DIR/native"
    local _
    for _ in $(seq 100); do
        if pactl info >/dev/null 2>&1; then return 0; fi
        kill -0 "$PULSE_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "PulseAudio did not start:" >&2
    tail -n 20 "$PULSE_DIR/pulseaudio.log" >&2
    pulse_stop
    return 1
}

pulse_stop() {
    if [ -n "$PULSE_PID" ]; then
        kill "$PULSE_PID" 2>/dev/null
        local _
        for _ in $(seq 50); do kill -0 "$PULSE_PID" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$PULSE_PID" 2>/dev/null
        wait "$PULSE_PID" 2>/dev/null
    fi
    [ -n "$PULSE_DIR" ] && rm -rf "$PULSE_DIR"
    PULSE_PID=""
    PULSE_DIR=""
    unset PULSE_SERVER
}
