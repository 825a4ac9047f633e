#!/usr/bin/env bash
# The editor as a user meets it: started in a Wine virtual desktop on the X display, driven
# with real key presses: Ctrl+N, Ctrl+O with a typed file name, Alt+F4.
# Arguments: zendle.exe and the window probe. Needs DISPLAY and WINEPREFIX (test.sh sets both).
set -uo pipefail
E2E_NAME=open_and_quit
source "$(dirname "$0")/common.bash"
printf 'first line\r\nsecond line\r\n' >"$work/e2e.txt"

start_editor
xdotool key ctrl+n
wait_for "frame Untitled"

xdotool key ctrl+o
wait_for "dialog Open"
wait_for "focus Edit"
# The whole path: the dialog opens in the folder it last visited, which a run before may have moved.
xdotool type --delay 20 "$(windows_path "$work/e2e.txt")"
xdotool key Return
wait_for "frame e2e.txt"
wait_gone "dialog"
[ "$(grep -c '^frame' "$windows")" -eq 2 ] || fail "expected two document windows"
wait_for "focus Display"
import -window root -crop 1024x768+0+0 "$shots/two-documents.png"

xdotool key alt+F4
wait_gone "main"
wait_editor_end

# The file opened is untouched; the registry names the font store, which exists.
[ "$(cat "$work/e2e.txt")" = "$(printf 'first line\r\nsecond line\r\n')" ] || fail "e2e.txt changed"
store=$(wine reg query 'HKCU\ZendleEditor' /v FileFont 2>/dev/null | tr -d '\r' |
        sed -n 's/.*REG_SZ[[:space:]]*//p')
[ -n "$store" ] || fail "no FileFont value under HKCU\\ZendleEditor"
[ -f "$(unix_path "$store")" ] || fail "the font store $store does not exist"
echo "screenshot: $shots/two-documents.png"
