# SPDX-License-Identifier: GPL-3.0-or-later
# For the end-to-end scripts on an X server of their own, sourced: each program started in a
# session of its own and ended with all it started (fluxbox starts helpers of its own), polling,
# and clients started again where Xvfb refused them.
fail() { echo "FAIL: $*"; exit 1; }
started=()
start() {
    setsid "$@" >/dev/null 2>&1 &
    started+=($!)
}
stop_all() {
    for pid in "${started[@]}"; do kill -- "-$pid" 2>/dev/null || true; done
    started=()
}
# Polls for up to 10 s: the server, the window manager and the program run on their own clocks.
wait_for() {
    local tries=0
    until eval "$1"; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "$2"
        sleep 0.1
    done
}
# Starts a client until the condition holds: Xvfb now and then refuses a client that connects
# beside others, which then ends at once.
start_client() {
    local condition=$1 what=$2
    shift 2
    for _ in 1 2 3; do
        start "$@"
        local pid=${started[-1]}
        wait_for "$condition || ! kill -0 $pid 2>/dev/null" "$what"
        eval "$condition" && return
    done
    fail "$what"
}
# An X server of its own, 1024 × 768, as DISPLAY.
start_display() {
    local fd number
    exec {fd}<> <(:)
    start Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp
    read -r -t 10 number <&"$fd" || fail "Xvfb did not start"
    export DISPLAY=:$number
}
