#!/usr/bin/env bash
# Runs one end-to-end scenario of quorix_driver.exe under Wine on an X server.
#
#   run.sh --build <dir> --driver <exe> --program <exe> [--api <stand_in_api> --port <n>]
#          [--expect <group>]... [--locale <LC_ALL>] [--name <label>] [--arg <value>]
#          [--closed-port <n>] <scenario>
#   run.sh --build <dir> --fresh-prefix
#
# Starts Xvfb only when DISPLAY is unset, the stand-in API only with --api, and
# cleans up everything it started, also when the scenario fails. --closed-port
# makes sure nothing listens on that port, for a scenario that needs a refusal.
set -euo pipefail

build='' driver='' program='' api='' port='' closed_port='' locale=ru_RU.CP1251 name='' arg='' fresh=no scenario=''
expects=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --driver) driver=$2; shift 2 ;;
    --program) program=$2; shift 2 ;;
    --api) api=$2; shift 2 ;;
    --port) port=$2; shift 2 ;;
    --closed-port) closed_port=$2; shift 2 ;;
    --expect) expects+=("$2"); shift 2 ;;
    --locale) locale=$2; shift 2 ;;
    --name) name=$2; shift 2 ;;
    --arg) arg=$2; shift 2 ;;
    --fresh-prefix) fresh=yes; shift ;;
    -*) echo "run.sh: unknown option $1" >&2; exit 2 ;;
    *) scenario=$1; shift ;;
  esac
done
[ -n "$build" ] || { echo "run.sh: --build is required" >&2; exit 2; }
build=$(cd "$build" && pwd)

export WINEPREFIX="$build/e2e/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# One prefix per ctest run: the first boot is slow, so tests share it.
boot_prefix() {
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
}

if [ "$fresh" = yes ]; then
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  boot_prefix
  echo "fresh Wine prefix in $WINEPREFIX"
  exit 0
fi

if [ -z "$scenario" ] || [ -z "$driver" ] || [ -z "$program" ]; then
  echo "run.sh: a scenario, --driver and --program are required" >&2; exit 2
fi
[ -f "$program" ] || { echo "run.sh: no program at $program" >&2; exit 2; }
[ -f "$WINEPREFIX/system.reg" ] || boot_prefix
name=${name:-$scenario}

xvfb_pid='' server_pid=''
# shellcheck disable=SC2317  # called by the trap
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

work="$build/e2e/work/$name"
shots="$build/screenshots"
rm -rf "$work"
mkdir -p "$work" "$shots"
ln -s /dev/full "$work/disk-full.csv"

if [ -z "${DISPLAY:-}" ]; then
  display_file="$work/xvfb-display"
  : >"$display_file"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  [ -s "$display_file" ] || { echo "run.sh: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  DISPLAY=":$(head -n1 "$display_file")"
  export DISPLAY
fi

if [ -n "$api" ]; then
  [ -n "$port" ] || { echo "run.sh: --api needs --port" >&2; exit 2; }
  for group in "${expects[@]}"; do
    "$api" --expect "$group" >"$work/expect-$group.csv"
  done
  : >"$work/stand_in_api.log"
  "$api" --port "$port" --log >"$work/stand_in_api.log" 2>&1 &
  server_pid=$!
  for _ in $(seq 100); do grep -q '^listening on' "$work/stand_in_api.log" && break; sleep 0.1; done
  grep -q '^listening on' "$work/stand_in_api.log" || {
    echo "run.sh: the stand-in API did not start on port $port" >&2; cat "$work/stand_in_api.log" >&2; exit 1; }
fi

if [ -n "$closed_port" ] && (exec 3<>"/dev/tcp/127.0.0.1/$closed_port") 2>/dev/null; then
  echo "run.sh: something listens on port $closed_port; this scenario needs it closed" >&2
  exit 1
fi

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

args=(--program "$(windows_path "$program")" --work "$(windows_path "$work")"
      --shots "$(windows_path "$shots")" --name "$name")
[ -z "$arg" ] || args+=(--arg "$arg")
echo "run.sh: $scenario on $DISPLAY under LC_ALL=$locale" >&2
status=0
LC_ALL=$locale timeout 240 wine "$driver" "$scenario" "${args[@]}" || status=$?
exit "$status"
