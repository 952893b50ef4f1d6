#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for the given number of
# seconds (default 60; CI never asks for more than 60). Each target starts from its seeds in
# fuzz/corpus/<target>/, which stay untouched: new inputs go to a temporary folder. Inputs that
# break a target are kept in build-fuzz/findings/<target>/. Exits non-zero when any target broke.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [seconds-per-target]" >&2
  exit 2
fi
if [ -n "${CI:-}" ] && [ "$seconds" -gt 60 ]; then seconds=60; fi

packages=(cmake ninja-build pkg-config libfftw3-dev clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKORVANE_FUZZ=ON >/dev/null
cmake --build build-fuzz

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
findings=build-fuzz/findings
failed=0
for seeds in fuzz/corpus/*/; do
  target="$(basename "$seeds")"
  program="build-fuzz/fuzz/$target"
  if [ ! -x "$program" ]; then
    echo "$target: FAILED, no program built for its seeds"
    failed=1
    continue
  fi
  mkdir -p "$work/$target" "$findings/$target"
  log="$work/$target.log"
  # -timeout: one input running this long is a hang. -rss_limit_mb: the whole run's memory;
  # ASan's quarantine and the growing corpus take 400..650 MB in ten minutes.
  status=0
  "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1536 -print_final_stats=1 \
    -artifact_prefix="$findings/$target/" "$work/$target" "$seeds" >"$log" 2>&1 || status=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
  speed="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
  rss="$(sed -n 's/^stat::peak_rss_mb: *//p' "$log")"
  corpus="$(grep -o 'corp: [0-9]*/[0-9]*[a-zA-Z]*' "$log" | tail -1 | cut -d' ' -f2 || true)"
  seeded="$(find "$seeds" -type f | wc -l)"
  found="$(find "$work/$target" -type f | wc -l)"
  if [ "$status" -eq 0 ]; then
    echo "$target: ok, ${runs:-?} runs in $seconds s (${speed:-?}/s), corpus ${corpus:-?}" \
      "($seeded seeds, $found new), peak ${rss:-?} MB"
  else
    failed=1
    echo "$target: FAILED (exit $status), input kept in $findings/$target/; log:"
    grep -E "^(==[0-9]+== ?ERROR|SUMMARY|property does not hold|.*runtime error)" "$log" |
      head -5 | sed 's/^/    /' || true
  fi
done
exit "$failed"
