#!/usr/bin/env bash
# Plants small faults in src/ one at a time and tells which ones the test suite catches.
#
# Each fault in the list (scripts/planted-faults.txt) is one sed expression applied to one file.
# For each fault: apply it to the clean tree, rebuild incrementally, run ctest (offscreen, with
# a per-test time-out: a fault may make a scenario wait for ever, and a time-out counts as a
# catch), note the failing tests, and put the file back with `git checkout`. A fault whose
# expression changes nothing is "stale" (the code moved on; mend the entry), one that does not
# build is "broken". Nothing planted ever stays behind: the file is restored on every exit,
# Ctrl+C included.
#
#   scripts/plant-faults.sh [-j N] [-t SECONDS] [-b BUILD_DIR] [-f FAULT_LIST] [-o SUMMARY]
#                           [--check] [--list] [ID...]
#
#   -j N        tests run in parallel by ctest (default 2)
#   -t SECONDS  time-out of one test (default 30, six times the slowest test)
#   -b DIR      build directory, configured here if new (default build-plant)
#   -f FILE     fault list (default scripts/planted-faults.txt)
#   -o FILE     also write the summary to FILE (every failing test of each fault goes to
#               DIR/plant-logs/catch-matrix.txt, one line a fault: id, then the tests)
#   --check     only apply and restore each fault: reports stale entries and entries that
#               change more than one line, builds nothing
#   --list      print the ids and descriptions
#   ID...       only these faults (default: all)
#
# Run it under `nice -n 19` on a shared machine: each fault costs an incremental build plus a
# whole test run.
set -uo pipefail

cd "$(dirname "$0")/.."
root=$(pwd)

jobs=2
test_timeout=30
build_dir=build-plant
fault_list=scripts/planted-faults.txt
summary_file=""
mode=run
wanted=()

while (($#)); do
  case "$1" in
    -j) jobs=$2; shift 2 ;;
    -t) test_timeout=$2; shift 2 ;;
    -b) build_dir=$2; shift 2 ;;
    -f) fault_list=$2; shift 2 ;;
    -o) summary_file=$2; shift 2 ;;
    --check) mode=check; shift ;;
    --list) mode=list; shift ;;
    -h | --help) sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) wanted+=("$1"); shift ;;
  esac
done

# --- the fault list: blocks of "[id] description", file, sed expression, blank line ---
ids=() descriptions=() files=() expressions=()
read_faults() {
  local line state=0 id desc file
  while IFS= read -r line || [[ -n $line ]]; do
    [[ $line =~ ^# ]] && continue
    if [[ -z ${line//[[:space:]]/} ]]; then
      state=0
      continue
    fi
    case $state in
      0)
        if [[ ! $line =~ ^\[([A-Za-z0-9_.-]+)\]\ (.*)$ ]]; then
          echo "$fault_list: expected \"[id] description\", got: $line" >&2
          exit 2
        fi
        id=${BASH_REMATCH[1]} desc=${BASH_REMATCH[2]} state=1 ;;
      1) file=$line state=2 ;;
      2)
        ids+=("$id") descriptions+=("$desc") files+=("$file") expressions+=("$line")
        state=3 ;;
      *) echo "$fault_list: fault $id has more than three lines" >&2; exit 2 ;;
    esac
  done <"$fault_list"
}
read_faults

selected=()
if ((${#wanted[@]})); then
  for w in "${wanted[@]}"; do
    found=""
    for i in "${!ids[@]}"; do [[ ${ids[$i]} == "$w" ]] && selected+=("$i") && found=1; done
    [[ -n $found ]] || { echo "no fault with id $w" >&2; exit 2; }
  done
else
  selected=("${!ids[@]}")
fi

if [[ $mode == list ]]; then
  for i in "${selected[@]}"; do printf '%-28s %-40s %s\n' "${ids[$i]}" "${files[$i]}" "${descriptions[$i]}"; done
  exit 0
fi

# --- never leave a fault behind ---
if ! git diff --quiet -- src || ! git diff --cached --quiet -- src; then
  echo "src/ has uncommitted changes: commit or stash them first (restoring would lose them)" >&2
  exit 2
fi
planted=""
restore() {
  if [[ -n $planted ]]; then
    git checkout -- "$planted"
    planted=""
  fi
}
# Builds and test runs go in the background (output to the log named first), so that a signal
# reaches the trap at once rather than after them; the trap ends the one under way.
child=""
run_child() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 &
  child=$!
  wait "$child"
  local status=$?
  child=""
  return $status
}
stop_child() {
  if [[ -n $child ]]; then
    kill -TERM "$child" 2>/dev/null
    wait "$child" 2>/dev/null
    child=""
  fi
}
trap restore EXIT
trap 'stop_child; restore; echo; echo "interrupted" >&2; exit 130' INT TERM HUP

# Applies fault $1; prints nothing. Returns 1 when the expression changed nothing (stale).
plant() {
  local i=$1
  planted=${files[$i]}
  [[ -f $planted ]] || { planted=""; return 1; }
  sed -i -e "${expressions[$i]}" "$planted"
  ! git diff --quiet -- "$planted"
}

changed_lines() {
  git diff --numstat -- "$1" | awk '{print ($1 > $2 ? $1 : $2)}'
}

if [[ $mode == check ]]; then
  status=0
  for i in "${selected[@]}"; do
    if plant "$i"; then
      n=$(changed_lines "${files[$i]}")
      if ((n != 1)); then
        echo "${ids[$i]}: changes $n lines"
        git diff -U0 -- "${files[$i]}" | sed -n '/^[-+][^-+]/p'
        status=1
      fi
    else
      echo "${ids[$i]}: stale"
      status=1
    fi
    restore
  done
  ((status == 0)) && echo "all ${#selected[@]} faults apply and change one line each"
  exit $status
fi

# --- build and test ---
logs=$build_dir/plant-logs
if [[ ! -f $build_dir/CMakeCache.txt ]]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DKORVANE_BENCH=OFF >/dev/null || exit 2
fi
mkdir -p "$logs"

# Runs the suite; leaves the names of the failed tests in $logs/failed.txt. Returns ctest's status.
run_tests() {
  local log=$1 status
  run_child "$log" env QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" -j "$jobs" \
    --timeout "$test_timeout"
  status=$?
  # Result lines read "  12/345 Test  #12: Suite.Name .......   Passed    0.01 sec";
  # anything but Passed (***Failed, ***Timeout, Exception, Not Run) is a failure.
  sed -n -E 's/^ *[0-9]+\/[0-9]+ +Test +#[0-9]+: ([^ ]+) .*/\1 &/p' "$log" |
    grep -v -E ' Passed +[0-9.]+ sec$' | cut -d' ' -f1 >"$logs/failed.txt"
  return $status
}

echo "building the clean tree in $build_dir ..."
if ! cmake --build "$build_dir" >"$logs/baseline-build.log" 2>&1; then
  echo "the clean tree does not build: see $logs/baseline-build.log" >&2
  exit 2
fi
if ! run_tests "$logs/baseline-tests.log"; then
  echo "the clean tree fails tests: $(tr '\n' ' ' <"$logs/failed.txt")" >&2
  echo "a fault would seem caught by them; mend the suite first" >&2
  exit 2
fi

: >"$logs/catch-matrix.txt"
results=() catchers=()
caught=0 missed=0 stale=0 broken=0
started=$(date +%s)
summary() {
  local judged=$((caught + missed))
  local done_count=$((caught + missed + stale + broken))
  echo "Planted faults: $done_count of ${#selected[@]} run ($(git rev-parse --short HEAD), $(date -u +%Y-%m-%d))"
  echo "caught $caught, missed $missed, stale $stale, broken $broken"
  if ((judged > 0)); then
    echo "catch rate: $caught/$judged = $((100 * caught / judged)) %"
  fi
  echo "run time: $((elapsed / 60)) min $((elapsed % 60)) s (ctest -j $jobs, time-out $test_timeout s)"
  echo
  printf '%-28s %-7s %s\n' "fault" "result" "caught by (first three)"
  for i in "${selected[@]}"; do
    [[ -n ${results[$i]:-} ]] || continue
    printf '%-28s %-7s %s\n' "${ids[$i]}" "${results[$i]}" "${catchers[$i]}"
  done
  if ((missed > 0)); then
    echo
    echo "missed:"
    for i in "${selected[@]}"; do
      [[ ${results[$i]:-} == missed ]] && echo "  ${ids[$i]}: ${descriptions[$i]} (${files[$i]})"
    done
  fi
  return 0
}

write_summary() {
  elapsed=$(($(date +%s) - started))
  [[ -z $summary_file ]] || summary >"$summary_file"
}
trap 'stop_child; restore; echo; echo "interrupted: the summary holds the faults run so far" >&2; write_summary; exit 130' INT TERM HUP
count=0
for i in "${selected[@]}"; do
  count=$((count + 1))
  id=${ids[$i]}
  t0=$(date +%s)
  printf '[%d/%d] %-28s ' "$count" "${#selected[@]}" "$id"
  result="" tests=""
  if ! plant "$i"; then
    result=stale
    stale=$((stale + 1))
  elif ! run_child "$logs/$id.build.log" cmake --build "$build_dir"; then
    result=broken
    broken=$((broken + 1))
  elif run_tests "$logs/$id.tests.log"; then
    result=missed
    missed=$((missed + 1))
  else
    result=caught
    caught=$((caught + 1))
    # Every failing test, for finding the tests that alone catch a fault.
    echo "$id $(paste -sd' ' - <"$logs/failed.txt")" >>"$logs/catch-matrix.txt"
    total=$(wc -l <"$logs/failed.txt")
    tests=$(head -n 3 "$logs/failed.txt" | paste -sd' ' -)
    ((total > 3)) && tests="$tests (+$((total - 3)) more)"
    [[ -n $tests ]] || tests="(ctest failed, no test named: see $logs/$id.tests.log)"
  fi
  restore
  results[$i]=$result
  catchers[$i]=$tests
  echo "$result $((($(date +%s) - t0)))s $tests"
  write_summary
done
restore
elapsed=$(($(date +%s) - started))

# Put the build back on the clean sources, so that the directory holds no planted fault.
cmake --build "$build_dir" >"$logs/final-build.log" 2>&1


echo
summary
if [[ -n $summary_file ]]; then
  summary >"$summary_file"
  echo "summary written to $summary_file"
fi
