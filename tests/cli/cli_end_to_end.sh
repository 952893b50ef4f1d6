#!/usr/bin/env bash
# korvane-cli on the simulated board, as a script runs it: info, setup, capture -n 2000 (to
# stdout and to a file), a small noise-table sweep, Ctrl+C during a capture, and bad arguments; exit codes and output shape.
# Usage: cli_end_to_end.sh KORVANE-CLI
set -uo pipefail
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The stored port goes to a folder of its own, never to the user's settings.
export XDG_CONFIG_HOME=$work/config HOME=$work
cd "$work"
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# start NAME ARGS...: runs korvane-cli in the background, stdout to NAME.out, stderr to NAME.err,
# its exit code to NAME.rc. Each run has a simulated board of its own, so they run side by side.
start() {
  local name=$1
  shift
  ("$cli" "$@" >"$name.out" 2>"$name.err"; echo $? >"$name.rc") &
}

# exited CODE NAME: the run NAME (waited for) ended with CODE.
exited() {
  local got
  got=$(cat "$1.rc")
  [[ $got == "$2" ]] || fail "$1: exit $got, expected $2; stderr: $(cat "$1.err")"
}

# expect CODE NAME -- ARGS...: runs korvane-cli to its end and checks its exit code.
expect() {
  local code=$1 name=$2
  shift 3
  start "$name" "$@"
  wait $!
  exited "$name" "$code"
}

contains() {  # FILE TEXT
  grep -qF -- "$2" "$1" || fail "$1 lacks '$2': $(head -c 400 "$1")"
}

# Bad arguments: one line naming the cause, exit 2, before any board is looked for.
expect 2 unknown-option -- info --bogus
expect 2 unknown-command -- frob
expect 2 bad-gain -- --simulate capture -n 2000 --gain 3
expect 2 contradiction -- --simulate setup --rate 50 --decimation 100
expect 2 blank-alone -- --blank-board info
for name in unknown-option unknown-command bad-gain contradiction blank-alone; do
  [[ $(wc -l <"$name.err") == 1 ]] || fail "$name: not one line: $(cat "$name.err")"
done
contains bad-gain.err "--gain 3"
contains contradiction.err "contradict"
expect 5 no-folder -- --simulate capture -n 10 -o "$work/none/x.csv"
expect 5 no-hex -- --simulate load "$work/none.hex"
expect 0 help -- capture --help
contains help.out "--decimation"

start info --simulate info
start setup --simulate --json setup --gain 8 --rate 60 --filter sinc3 --polarity unipolar \
  --channels AIN0,AINCOM --chip-averaging averaging:4 --offset-dac 5
start capture --simulate capture -n 2000 --decimation 60
start capture-file --simulate --json capture -n 2000 --decimation 60 -o run.csv
start sweep --simulate sweep --gains 1,...,4 --decimations 192,64 -n 100 -o table.csv \
  --markdown table.md --plot table.png
start bad-rate --simulate sweep --gains 1 --rates 21 -n 100
start interrupt --simulate --verbose capture -n 100000 --decimation 60 -o part.csv
# Ctrl+C once the run streams: the run is stopped, the readings so far are written, exit 130.
interrupted=$(jobs -p | tail -1)
for _ in $(seq 600); do
  grep -q "GETTING  *ADC  *CODE" interrupt.err && break
  sleep 0.1
done
sleep 1  # a few hundred readings; none at all is checked too
pkill -INT -P "$interrupted" korvane-cli
wait

exited info 0
contains info.out "port: 1"
contains info.out "clock_MHz: 11.0592"
contains info.out "link_bit_rate: 57600"

exited setup 0
for field in '"gain": 8' '"data_rate_Hz": 60' '"filter": "Sinc3"' '"polarity": "unipolar"' \
  '"channels": "AIN0 - AINCOM"' '"chip_averaging": "Averaging N=4"' '"offset_dac": 5'; do
  contains setup.out "$field"
done

# 2000 readings on stdout: the recording format, rows numbered 1..2000; figures on stderr.
exited capture 0
[[ $(head -1 capture.out) == "# korvane-demo readings" ]] || fail "capture: not a recording"
contains capture.out "# readings: 2000"
contains capture.out "# sigma_LSB: "
rows=$(grep -v '^#' capture.out | tail -n +2)
[[ $(wc -l <<<"$rows") == 2000 ]] || fail "capture: $(wc -l <<<"$rows") rows"
awk -F, 'NF != 5 || $1 != NR { exit 1 }' <<<"$rows" || fail "capture: rows not numbered 1..2000"
contains capture.err "readings: 2000"

# To a file: the figures on stdout as JSON.
exited capture-file 0
contains capture-file.out '"readings": 2000'
contains capture-file.out '"sigma_LSB": '
[[ -f run.csv && ! -e run.csv.partial ]] || fail "capture-file: run.csv not named"
contains run.csv "2000,"

# A small noise table: 3 gains x 2 rates, each row whole, in all three forms.
exited sweep 0
[[ $(head -1 table.csv) == "# korvane-demo noise table" ]] || fail "sweep: not a noise table"
[[ $(grep -c '^[124],\(192\|64\),.*,100,.*,yes$' table.csv) == 6 ]] || fail "sweep: not 6 whole rows"
contains table.md "| Data rate, Hz | Gain 1 | Gain 2 | Gain 4 |"
[[ $(head -c 4 table.png | tail -c 3) == PNG ]] || fail "sweep: no PNG plot"
contains sweep.err "sweep of 6 cells, 100 readings each: about"
exited bad-rate 2
contains bad-rate.err "data rate 21 Hz is not one the chip can do"

exited interrupt 130
contains interrupt.err "interrupted"
contains interrupt.out "requested: 100000"
if grep -q "^readings: 0$" interrupt.out; then
  [[ ! -e part.csv ]] || fail "interrupt: a file without readings"
else
  contains part.csv "# korvane-demo readings"
fi

if ((failures)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "korvane-cli end to end: all checks passed"
