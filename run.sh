#!/usr/bin/env bash
# Builds the editor and starts it under Wine on your display, in a Wine prefix of its own
# (build/run-wineprefix). Without a display it starts the editor on a private Xvfb screen,
# waits for its main window, takes a screenshot (build/screenshot.png) and stops.
# The 32-bit program runs where the machine can run it, the 64-bit one (build-x64/) otherwise.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/configure.sh
source scripts/wine-arch.sh
if can_run_32bit; then
    build=$build32
    echo "run.sh: starting the 32-bit editor ($build/zendle.exe)"
else
    build=$build64
    echo "run.sh: starting the 64-bit editor ($build/zendle.exe): this machine cannot start Wine's 32-bit loader"
fi
export ZENDLE_BUILD="$build"

if [ -n "${DISPLAY:-}" ]; then
    cmake --build "$build" -j2 --target zendle
    # The tests' prefix keeps its windows from the window manager, which only suits their
    # display without one.
    wine_prefix_name=run-wineprefix
    wine_managed=1
    source scripts/wine-env.sh
    start_wine
    # The editor starts in the build folder: its font store file lives there.
    (cd "$build" && wine zendle.exe)
    exit 0
fi

# The window probe of the end-to-end tests tells when the main window is up.
cmake --build "$build" -j2 --target zendle e2e_probe
source scripts/wine-env.sh
start_display
start_wine
shot="$build/screenshot.png"
listing="$build/run-windows.txt"
(cd "$build" && exec wine explorer /desktop=Zendle,1024x768 zendle.exe >"$build/run.log" 2>&1) &
editor=$!
started=
end=$((SECONDS + 60))
while [ "$SECONDS" -lt "$end" ]; do
    kill -0 "$editor" 2>/dev/null || break
    if wine "$build/tests/e2e_probe.exe" Zendle "$(winepath -w "$listing")" >/dev/null 2>&1 &&
        grep -qxF "main Zendle Editor" "$listing" && grep -qxF "focus Main" "$listing"; then
        started=1
        break
    fi
    sleep 0.25
done
if [ -z "$started" ]; then
    echo "The editor did not start on the private display (no DISPLAY was set); see $build/run.log" >&2
    exit 1
fi
import -window root -crop 1024x768+0+0 "$shot"
echo "The editor started on a private display (no DISPLAY was set); its screenshot: $shot"
