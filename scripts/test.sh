#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: natively
# with sanitizers, cross-built under Wine (unit and end-to-end), and the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
native=build/native
win32=build/win32
fuzz=build/fuzz

cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Debug -DQUORIX_SANITIZE=ON >/dev/null
cmake --build "$native" -j"$jobs"

cmake -S . -B "$win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQUORIX_API_HOST=127.0.0.1 -DQUORIX_API_PORT=18080 \
  -DQUORIX_STAND_IN_API="$PWD/$native/tools/stand_in_api/stand_in_api" >/dev/null
cmake --build "$win32" -j"$jobs"

CC=clang CXX=clang++ cmake -S . -B "$fuzz" -DQUORIX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
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
exit $status
