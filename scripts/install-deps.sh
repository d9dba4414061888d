#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12; does nothing when
# everything is already there.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in cmake g++ make googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev \
         g++-mingw-w64-i686-posix mingw-w64-i686-dev wine wine32:i386 xvfb \
         curl jq python3 python3-pil fonts-dejavu-core time bc; do
  have "$p" || need+=("$p")
done
[ ${#need[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
