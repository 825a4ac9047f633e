# Shared by the end-to-end scripts: the editor on a Wine virtual desktop, its windows
# listed by the probe, waits with a screenshot on failure. The caller sets E2E_NAME and
# passes its own arguments (zendle.exe, the probe) on.
exe=$(readlink -f "$1")
probe=$(readlink -f "$2")
desktop="e2e$$"
work="$PWD/e2e-work-$E2E_NAME"
shots="$PWD/e2e-shots"
rm -rf "$work"
mkdir -p "$work" "$shots"
windows="$work/windows.txt"
editor_pid=

fail() {
    echo "FAIL: $*"
    echo "windows seen last:"; cat "$windows" 2>/dev/null
    import -window root "$shots/$E2E_NAME-failure.png" 2>/dev/null
    [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null
    exit 1
}

# Wine's drive Z: is the Unix root. The scripts turn names into each other themselves: winepath
# is a Wine process of its own, and its start once failed part-way through a run, typing its
# error message into a dialog.
windows_path() {
    local path="$1"
    printf 'Z:%s' "${path//\//\\}"
}

unix_path() {
    case "$1" in
    [Zz]:*) local path="${1:2}"; printf '%s' "${path//\\//}" ;;
    *) winepath -u "$1" 2>/dev/null ;;
    esac
}

list_windows() {
    wine "$probe" "$desktop" "$(windows_path "$windows")" >/dev/null 2>&1
}

# Waits for a line of the probe's listing (a window, the focus, a status pane). The limit
# is generous: the machine may be loaded, and each listing starts a Wine process.
wait_limit=60
wait_for() {
    local end=$((SECONDS + wait_limit))
    while [ "$SECONDS" -lt "$end" ]; do
        list_windows && grep -qxF "$1" "$windows" && return 0
        sleep 0.25
    done
    fail "no line \"$1\""
}

wait_gone() {
    local end=$((SECONDS + wait_limit))
    while [ "$SECONDS" -lt "$end" ]; do
        list_windows && ! grep -q "^$1" "$windows" && return 0
        sleep 0.25
    done
    fail "\"$1\" still there"
}


# Starts the editor in the work folder and waits for its main window.
start_editor() {
    (cd "$work" && exec wine explorer "/desktop=$desktop,1024x768" "$exe") >"$work/wine.log" 2>&1 &
    editor_pid=$!
    wait_for "main Zendle Editor"
    # Keys go to the focused window: wait until the editor has taken the focus.
    wait_for "focus Main"
}

# After the main window has gone: waits until the editor's process has ended (its desktop
# keeps a dead entry for it until it reaps it), then ends the desktop. The desktop would stay
# until the system services that the editor's dialogs started on it go idle, about ten
# seconds in a new prefix.
wait_editor_end() {
    local end=$((SECONDS + wait_limit))
    while ps -eo stat=,comm= | awk '$1 !~ /^Z/ && $2 == "zendle.exe" { found = 1 } END { exit !found }'; do
        [ "$SECONDS" -lt "$end" ] || fail "the editor's process did not end"
        sleep 0.1
    done
    pkill -f "explorer.exe /desktop=$desktop," 2>/dev/null
    wait "$editor_pid" 2>/dev/null
}

# Polls a file (a path, or a name in the work folder) until it holds exactly the bytes given
# as printf takes them.
wait_for_file() {
    local file="$1" expected end=$((SECONDS + wait_limit))
    [ "${file#/}" = "$file" ] && file="$work/$file"
    expected=$(printf "$2" | od -An -c)
    while [ "$SECONDS" -lt "$end" ]; do
        [ -f "$file" ] && [ "$(od -An -c "$file")" = "$expected" ] && return 0
        sleep 0.25
    done
    fail "$file holds $(od -An -c "$file" 2>/dev/null), not $2"
}

# Ctrl+S on an untitled document: types the full path into the Save As dialog and waits
# until the frame carries the file's name.
save_as() {
    xdotool key ctrl+s
    wait_for "dialog Save As"
    wait_for "focus Edit"
    # The whole path: the dialog may open in the folder it last visited.
    xdotool type --delay 20 "$(windows_path "$1")"
    xdotool key Return
    wait_for "frame $(basename "$1")"
    wait_gone "dialog"
}
