#!/usr/bin/env bash
# Typing as a user types: real key presses into a new document, arrow keys with and without
# Shift, a selection typed over, then Ctrl+S through the Save As dialog; the file's bytes
# must be exactly what was typed. Arguments: zendle.exe and the window probe.
set -uo pipefail
E2E_NAME=type_and_save
source "$(dirname "$0")/common.bash"

start_editor
xdotool key ctrl+n
wait_for "frame Untitled"
wait_for "focus Display"

xdotool type --delay 30 "hello world"
xdotool key Return
xdotool type --delay 30 "second line"
# Up to the end of the first line, Home, select "hello" and type over it.
xdotool key Up Home shift+Right shift+Right shift+Right shift+Right shift+Right
xdotool type --delay 30 "HELLO"
# Down keeps the column: after "HELLO" on the next line is "secon|d line".
xdotool key Down
xdotool type --delay 30 "-"
xdotool key End
xdotool type --delay 30 "!"
xdotool key Tab
# The last key has arrived once the caret's position says so.
wait_for "pane Row: 1 Col: 14"
import -window root -crop 1024x768+0+0 "$shots/typed.png"

target="$work/typed.txt"
save_as "$target"

wait_for_file "$target" 'HELLO world\r\nsecon-d line!\t'

xdotool key alt+F4
wait_gone "main"
wait_editor_end
echo "saved as typed; screenshot: $shots/typed.png"
