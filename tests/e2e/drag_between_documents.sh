#!/usr/bin/env bash
# Dragging a word with the real mouse from one document window to another: the pointer rests
# over the second window until the drag moves there, the release drops the word there, and
# both files, saved, show the move. Arguments: zendle.exe and the window probe.
set -uo pipefail
E2E_NAME=drag_between_documents
source "$(dirname "$0")/common.bash"
printf 'hello\r\nworld' >"$work/a.txt"
printf 'one two' >"$work/b.txt"

open_file() {
    xdotool key ctrl+o
    wait_for "dialog Open"
    wait_for "focus Edit"
    xdotool type --delay 20 "$(windows_path "$work/$1")"
    xdotool key Return
    wait_for "frame $1"
    wait_gone "dialog"
}

# The screen rectangle of a file's view, from the probe: "left top right bottom".
view_of() {
    list_windows
    sed -n "s/^view $1 //p" "$windows"
}

start_editor
open_file a.txt
open_file b.txt
xdotool key alt+w t
read -r al at ar ab <<<"$(view_of a.txt)"
read -r bl bt br bb <<<"$(view_of b.txt)"
[ -n "$ab" ] && [ -n "$bb" ] || fail "no views listed"
[ "$ar" -le "$bl" ] || [ "$br" -le "$al" ] || fail "the windows are not side by side"

# Select "hello" in a.txt with the keyboard, then drag it over to the end of b.txt's line.
xdotool mousemove $((al + 2)) $((at + 8)) click 1
wait_for "active a.txt"
xdotool key shift+Right shift+Right shift+Right shift+Right shift+Right
wait_for "pane Row: 0 Col: 5"
xdotool mousemove $((al + 16)) $((at + 8)) mousedown 1
xdotool mousemove $((bl + 150)) $((bt + 20))
xdotool mousemove $((bl + 200)) $((bt + 8))
wait_for "active b.txt"
import -window root -crop 1024x768+0+0 "$shots/drag-over-b.png"
xdotool mouseup 1
wait_for "pane Row: 0 Col: 12"
import -window root -crop 1024x768+0+0 "$shots/dropped-in-b.png"

xdotool key ctrl+s
wait_for_file b.txt 'one twohello'
xdotool mousemove $((al + 40)) $((at + 24)) click 1
wait_for "active a.txt"
xdotool key ctrl+s
wait_for_file a.txt '\r\nworld'

xdotool key alt+F4
wait_gone "main"
wait_editor_end
echo "dragged between documents; screenshots: $shots/drag-over-b.png, $shots/dropped-in-b.png"
