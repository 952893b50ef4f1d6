#!/usr/bin/env bash
# Prints the tests' share of the C++ code: non-blank lines of *.cpp and *.h in tests/ and fuzz/
# against those in src/, tests/, fuzz/, bench/ and tools/ together.
set -euo pipefail
cd "$(dirname "$0")/.."

non_blank_lines() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null |
    xargs -0 -r cat | grep -c -v '^[[:space:]]*$' || true
}

tests=$(non_blank_lines tests fuzz)
src=$(non_blank_lines src)
all=$(non_blank_lines src tests fuzz bench tools)
echo "tests + fuzz: $tests non-blank lines"
echo "src:          $src non-blank lines"
echo "all C++:      $all non-blank lines (src, tests, fuzz, bench, tools)"
awk -v t="$tests" -v a="$all" 'BEGIN { printf "test share:   %.1f %% (at most 33.3 %% wanted)\n", 100 * t / a }'
