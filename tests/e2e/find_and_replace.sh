#!/usr/bin/env bash
# Find and Replace with real keys: Ctrl+F, a typed pattern and Enter select the first match;
# Ctrl+H and Replace All change the text; once the dialog is closed, one Ctrl+Z in the view
# brings the text back. The saved file shows each state. Arguments: zendle.exe, the probe.
set -uo pipefail
E2E_NAME=find_and_replace
source "$(dirname "$0")/common.bash"

start_editor
xdotool key ctrl+n
wait_for "frame Untitled"
wait_for "focus Display"
xdotool type --delay 30 "apple pie apple"
wait_for "pane Row: 0 Col: 15"
xdotool key Home
wait_for "pane Row: 0 Col: 0"

# A fresh search goes up; Down finds the first match after the caret.
xdotool key ctrl+f
wait_for "dialog Find"
wait_for "focus Edit"
xdotool type --delay 30 "apple"
xdotool key alt+d Return
# The match is selected with the caret at its end.
wait_for "pane Row: 0 Col: 5"
import -window root -crop 1024x768+0+0 "$shots/found.png"
xdotool key Escape
wait_gone "dialog"

xdotool key ctrl+h
wait_for "dialog Replace"
wait_for "focus Edit"
xdotool type --delay 30 "apple"
xdotool key Tab
xdotool type --delay 30 "pear"
xdotool key alt+a
xdotool key Escape
wait_gone "dialog"
wait_for "focus Display"
import -window root -crop 1024x768+0+0 "$shots/replaced.png"

target="$work/fruit.txt"
save_as "$target"
wait_for_file "$target" 'pear pie pear'

xdotool key ctrl+z
xdotool key ctrl+s
wait_for_file "$target" 'apple pie apple'

xdotool key alt+F4
wait_gone "main"
wait_editor_end
echo "found, replaced, undone; screenshots: $shots/found.png $shots/replaced.png"
