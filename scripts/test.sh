#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: natively
# with sanitizers, cross-built under Wine (unit and end-to-end), and the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
. scripts/builds.sh

configure_native
cmake --build "$native" -j"$jobs"
configure_win32
cmake --build "$win32" -j"$jobs"
configure_fuzz
cmake --build "$fuzz" -j"$jobs"

status=0
summary=()
for dir in "$native" "$win32" "$fuzz"; do
  echo "== ctest in $dir"
  if (cd "$dir" && ctest --output-on-failure -j"$jobs" | tee ctest.log); then :; else status=1; fi
  summary+=("$dir: $(grep -E 'tests passed|tests failed' "$dir/ctest.log" | tail -1)")
done
echo "== summary"
printf '%s\n' "${summary[@]}"
echo "screenshots of the end-to-end tests: $win32/screenshots/"
exit $status
