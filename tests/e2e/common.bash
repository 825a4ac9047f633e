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


# Starts the editor in the work folder and waits for its main window.
start_editor() {
    (cd "$work" && exec wine explorer "/desktop=$desktop,1024x768" "$exe") >"$work/wine.log" 2>&1 &
    editor_pid=$!
    wait_for "main Zendle Editor"
    sleep 1
}
