#!/usr/bin/env bash
# Builds and runs every benchmark; prints one line per figure. The soak streams for 60 s in real
# time (first argument: other seconds). The window benchmarks run under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
soak_seconds="${1:-60}"
scripts/install-deps.sh
scripts/build.sh >/dev/null
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
  "$(awk '/MemTotal/ {printf "%.0f GB", $2 / 1048576}' /proc/meminfo)," \
  "$(. /etc/os-release && echo "$PRETTY_NAME")"
build/bench/korvane_reading_path
build/bench/korvane_spectrum_bench --benchmark_min_time=0.5
xvfb-run -a build/bench/korvane_idle_wait 10000
xvfb-run -a build/bench/korvane_startup
# One frame of the window during a run: the full time graph repainted with new readings.
xvfb-run -a build/bench/korvane_chart_frame
xvfb-run -a build/bench/korvane_soak "$soak_seconds"
# The same soak recording every reading to a CSV file: rows written must equal readings used.
xvfb-run -a build/bench/korvane_soak "$soak_seconds" record
# The same soak with the Spectrum window open, analysing each block as it closes.
xvfb-run -a build/bench/korvane_soak "$soak_seconds" spectrum
# korvane-cli's whole process capturing 100000 readings at the link's maximum: CPU against wall.
bench/cli_capture.sh build/korvane-cli 100000
# The same soak with the board behind korvane-board-server, over RFC 2217 on loopback.
xvfb-run -a build/bench/korvane_soak "$soak_seconds" rfc2217
# And with the Spectrum window open: the program alone, the board in its own process.
xvfb-run -a build/bench/korvane_soak "$soak_seconds" spectrum rfc2217
