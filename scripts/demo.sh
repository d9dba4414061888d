#!/usr/bin/env bash
# Quorix's main job on the local stand-in API: with a display, opens the
# window under Wine for you to use; without one, walks a user's road by
# itself on a virtual display and shows where the file and screenshots are.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
. scripts/builds.sh

configure_native
cmake --build "$native" -j"$jobs" --target stand_in_api
configure_win32
cmake --build "$win32" -j"$jobs" --target quorix quorix_driver

api="$PWD/$native/tools/stand_in_api/stand_in_api"
program="$PWD/$win32/window/quorix.exe"

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: walking the road on a virtual display (type https://vk.com/club2500, click, save)."
  tests/e2e/run.sh --build "$win32" --driver "$PWD/$win32/tests/e2e/quorix_driver.exe" --program "$program" \
    --api "$api" --port "$api_port" --expect 2500 --name demo new_user_road
  echo
  echo "Result file:  $win32/e2e/work/demo/my group.csv (2500 members, Windows-1251, CR LF)"
  echo "Screenshots:  $(ls "$win32"/screenshots/demo-*.png | tr '\n' ' ')"
  exit 0
fi

"$api" --port "$api_port" >"$win32/demo-api.log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
cat <<TEXT
The stand-in API listens on 127.0.0.1:$api_port. In the window, try:
  https://vk.com/club2500     a group of 2500 members; click again to save the .csv
  nosuchgroup                 an unknown group: the program says the reference is wrong
  2500-fail2                  the API fails on the third page: an error report
  1000000                     a million members, 1000 pages
Close the window to end the demo.
TEXT
(cd "$win32" && "$OLDPWD/scripts/wine-run.sh" "$program")
