#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program with the simulated board.
# Extra arguments go to the program (e.g. "S 3 11.0592"). Without a display it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/korvane-demo --simulate "$@"
else
  exec xvfb-run -a -s '-screen 0 1400x900x24' build/korvane-demo --simulate "$@"
fi
