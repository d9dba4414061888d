#!/usr/bin/env bash
# The whole-run benchmark: one group of 1,000,000 members (1000 pages) from
# the local stand-in API, three ways, side by side:
#   (a) the portable core natively with the headless window (core_run);
#   (b) quorix.exe under Wine, driven from the click to the run's last line;
#   (c) curl fetching the same pages piped through jq, as a user might script it.
# Prints wall time, CPU time and peak memory of each, the ratios, and checks
# that nothing is lost and that (a) and (b) write the same bytes.
#
#   bench/run/run.sh [members]      (default 1000000)
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh
members=${1:-1000000}
native=build/bench-native
win32=build/bench-win32
port_core=18091
port_wine=18092
out=$PWD/build/bench-results
mkdir -p "$out"

cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$native" -j"$(nproc)" --target core_run stand_in_api >/dev/null
cmake -S . -B "$win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQUORIX_API_HOST=127.0.0.1 -DQUORIX_API_PORT="$port_wine" >/dev/null
cmake --build "$win32" -j"$(nproc)" --target quorix quorix_driver >/dev/null
api=$PWD/$native/tools/stand_in_api/stand_in_api

"$api" --port "$port_core" >"$out/api.log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 50); do grep -q '^listening' "$out/api.log" && break; sleep 0.1; done

measure() { /usr/bin/time -f "%e %U %S %M" -o "$out/time-$1" "${@:2}"; }

echo "(a) core natively"
measure a "$native/bench/run/core_run" "$port_core" "club$members" "$out/a.csv" >"$out/a.txt"
echo "(b) quorix.exe under Wine"
tests/e2e/run.sh --build "$win32" --driver "$PWD/$win32/tests/e2e/quorix_driver.exe" \
  --program "$PWD/$win32/window/quorix.exe" --api "$api" --port "$port_wine" \
  --name bench --arg "club$members" timed_run >"$out/b.txt" 2>"$out/b.log" || { cat "$out/b.log"; exit 1; }
cp "$win32/e2e/work/bench/result.csv" "$out/b.csv"
echo "(c) curl | jq"
url="http://127.0.0.1:$port_core/method/groups.getMembers?group_id=$members&offset=[0-$(( members / 1000 * 1000 )):1000]&count=1000&fields=sex"
measure c bash -c "curl -s '$url' | jq -r '.response.users[] | \"\(.uid);\(.first_name);\(.last_name);\"' >'$out/c.csv'"

read -r a_wall a_user a_sys a_peak <"$out/time-a"
read -r _ b_wall _ b_cpu _ b_peak < <(tr -d "\r" <"$out/b.txt")
read -r c_wall c_user c_sys c_peak <"$out/time-c"
a_run=$(awk '{print $4}' "$out/a.txt")
file_kb=$(( $(stat -c %s "$out/a.csv") / 1024 ))

printf '\n%-28s %10s %10s %12s %10s\n' "" "wall s" "CPU s" "peak KiB" "members"
printf '%-28s %10.2f %10.2f %12d %10d\n' "(a) core, headless" "$a_run" "$(echo "$a_user + $a_sys" | bc)" "$a_peak" "$(wc -l <"$out/a.csv")"
printf '%-28s %10.2f %10.2f %12d %10d\n' "(b) quorix.exe under Wine" "$b_wall" "$b_cpu" "$b_peak" "$(wc -l <"$out/b.csv")"
printf '%-28s %10.2f %10.2f %12d %10d\n' "(c) curl | jq" "$c_wall" "$(echo "$c_user + $c_sys" | bc)" "$c_peak" "$(wc -l <"$out/c.csv")"
echo
echo "(b)/(a) wall: $(echo "scale=2; $b_wall / $a_run" | bc)   (a)/(c) wall: $(echo "scale=2; $a_run / $c_wall" | bc)"
echo "(a) peak memory / result file: $(echo "scale=2; $a_peak / $file_kb" | bc)  (file $file_kb KiB)"
if cmp -s "$out/a.csv" "$out/b.csv" && "$api" --expect "$members" | cmp -s - "$out/a.csv"; then
  echo "(a) and (b) wrote identical files, equal to what the server served"
else
  echo "FILES DIFFER"; exit 1
fi
