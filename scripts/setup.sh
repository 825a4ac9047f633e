#!/usr/bin/env bash
# Installs what building and testing the editor needs on a Debian machine.
# Quick when everything is already there; safe to run any number of times.
set -euo pipefail

packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix wine wine32:i386 wine64 xvfb fonts-wine cmake googletest
          xdotool x11-utils imagemagick ghostscript fonts-liberation fonts-dejavu-core
          fonts-urw-base35)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
