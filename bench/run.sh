#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the benchmarks need, builds them, runs them on a private X server and prints
# one Markdown table on standard output (the build's messages go to standard error).
# --quick runs shorter measurements.
source "$(dirname "$0")/../scripts/setup.sh"

BENCH_PACKAGES=(libbenchmark-dev xvfb)
KORIMO_BUILD="$KORIMO_ROOT/build-bench"

if [ "${1:-}" = "--quick" ]; then
    launches=10 blink_seconds=10 idle_seconds=3 key_samples=50 screen_changes=20 scale_args=(--benchmark_repetitions=3)
else
    launches=30 blink_seconds=60 idle_seconds=10 key_samples=200 screen_changes=50 scale_args=()
fi

install_missing "${KORIMO_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
build_korimo -DKORIMO_BENCHMARKS=ON -DBUILD_TESTING=OFF >&2

scratch="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$scratch"' EXIT
until [ -s "$scratch/display" ]; do
    kill -0 "$xvfb" 2>/dev/null || { cat "$scratch/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
export DISPLAY=":$(cat "$scratch/display")" XDG_RUNTIME_DIR="$scratch" QT_QPA_PLATFORM=xcb

bench="$KORIMO_BUILD/bench"
{
    echo "| Measure | Korimo | Baseline | Against the baseline / aim |"
    echo "|---|---|---|---|"
    "$bench/bench_startup" "$launches"
    "$bench/bench_realtime" "$blink_seconds" "$idle_seconds" "$key_samples"
    "$bench/bench_screen" 3 "$screen_changes"
    "$bench/bench_scale" "${scale_args[@]}"
    read -r load _ </proc/loadavg
    echo "| Machine load at the end (1-min load average) | $load | $(nproc) cores | – |"
}
