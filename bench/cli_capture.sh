#!/usr/bin/env bash
# korvane-cli's own cost: `capture -n N` (default 100000) on the simulated board at the link's
# maximum (57600 bit/s, decimation 1: the link, not the converter, sets the pace), CSV to a file.
# Prints the process's CPU time (user + system) against its wall time; goal under 5 % of a core.
#   bench/cli_capture.sh KORVANE-CLI [N]
set -euo pipefail
cli=$1
readings=${2:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work HOME=$work
TIMEFORMAT='%R %U %S'
figures=$({ time "$cli" --simulate capture -n "$readings" --decimation 1 -o "$work/run.csv" \
  >"$work/summary" 2>"$work/errors"; } 2>&1) || {
  cat "$work/errors" >&2
  exit 1
}
rows=$(grep -vc '^#' "$work/run.csv")
read -r wall user system <<<"$figures"
awk -v n="$readings" -v rows="$((rows - 1))" -v wall="$wall" -v user="$user" -v sys="$system" \
  'BEGIN { cpu = user + sys
    printf "korvane-cli capture -n %d at 57600 bit/s, decimation 1: %d rows in %.1f s, " \
           "CPU %.2f s (user %.2f, system %.2f), %.2f %% of one core (goal under 5 %%)\n",
           n, rows, wall, cpu, user, sys, 100 * cpu / wall }'
