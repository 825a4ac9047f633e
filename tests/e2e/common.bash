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

list_windows() {
    wine "$probe" "$desktop" 'Z:'"${windows//\//\\}" >/dev/null 2>&1
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
