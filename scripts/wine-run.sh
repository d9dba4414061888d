#!/usr/bin/env bash
# Runs a Windows program under Wine with a prefix kept in the build folder, so
# the slow first boot happens once per build, not once per test.
set -euo pipefail
: "${WINEPREFIX:=$PWD/wineprefix}"
root=$(pwd)
while [ "$root" != / ] && [ ! -f "$root/CMakeCache.txt" ]; do root=$(dirname "$root"); done
[ -f "$root/CMakeCache.txt" ] && WINEPREFIX="$root/wineprefix"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine reads the code page from the locale name; the shell need not know it.
locale="${QUORIX_WINE_LOCALE:-ru_RU.CP1251}"
mkdir -p "$WINEPREFIX"
(
  flock 9
  [ -f "$WINEPREFIX/system.reg" ] || env LC_ALL="$locale" wineboot -i >/dev/null 2>&1
) 9>"$WINEPREFIX.lock"
exec env LC_ALL="$locale" wine "$@"
