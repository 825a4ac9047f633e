#!/usr/bin/env bash
# The editor as a user meets it: started in a Wine virtual desktop on the X display, driven
# with real key presses: Ctrl+N, Ctrl+O with a typed file name, Alt+F4.
# Arguments: zendle.exe and the window probe. Needs DISPLAY and WINEPREFIX (test.sh sets both).
set -uo pipefail
exe=$(readlink -f "$1")
probe=$(readlink -f "$2")
desktop="e2e$$"
work="$PWD/e2e-work"
shots="$PWD/e2e-shots"
rm -rf "$work"
mkdir -p "$work" "$shots"
printf 'first line\r\nsecond line\r\n' >"$work/e2e.txt"
windows="$work/windows.txt"
editor_pid=

fail() {
    echo "FAIL: $*"
    echo "windows seen last:"; cat "$windows" 2>/dev/null
    import -window root "$shots/failure.png" 2>/dev/null
    [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null
    exit 1
}

list_windows() {
    wine "$probe" "$desktop" 'Z:'"${windows//\//\\}" >/dev/null 2>&1
}

# Waits up to 20 s for a line of the probe's listing.
wait_for() {
    local i
    for i in $(seq 1 80); do
        list_windows && grep -qxF "$1" "$windows" && return 0
        sleep 0.25
    done
    fail "no window \"$1\""
}

wait_gone() {
    local i
    for i in $(seq 1 80); do
        list_windows
        grep -q "^$1" "$windows" || return 0
        sleep 0.25
    done
    fail "\"$1\" still there"
}

(cd "$work" && exec wine explorer "/desktop=$desktop,1024x768" "$exe") >"$work/wine.log" 2>&1 &
editor_pid=$!

wait_for "main Zendle Editor"
sleep 1
xdotool key ctrl+n
wait_for "frame Untitled"

xdotool key ctrl+o
wait_for "dialog Open"
sleep 0.5
xdotool type --delay 20 "e2e.txt"
xdotool key Return
wait_for "frame e2e.txt"
wait_gone "dialog"
[ "$(grep -c '^frame' "$windows")" -eq 2 ] || fail "expected two document windows"
sleep 0.5
import -window root -crop 1024x768+0+0 "$shots/two-documents.png"

xdotool key alt+F4
wait_gone "main"
wait "$editor_pid" 2>/dev/null

# The file opened is untouched; the registry names the font store, which exists.
[ "$(cat "$work/e2e.txt")" = "$(printf 'first line\r\nsecond line\r\n')" ] || fail "e2e.txt changed"
store=$(wine reg query 'HKCU\ZendleEditor' /v FileFont 2>/dev/null | tr -d '\r' |
        sed -n 's/.*REG_SZ[[:space:]]*//p')
[ -n "$store" ] || fail "no FileFont value under HKCU\\ZendleEditor"
[ -f "$(winepath -u "$store" 2>/dev/null)" ] || fail "the font store $store does not exist"
echo "screenshot: $shots/two-documents.png"
