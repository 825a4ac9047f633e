# Sourced by the run and test scripts: a display, the project's Wine prefix and a
# persistent wineserver, all stopped again by PID when the calling script exits.
# The caller may set wine_prefix_name (default: wineprefix, the tests' prefix) and
# wine_managed=1 for a prefix whose windows a real desktop's window manager handles.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="${ZENDLE_BUILD:-$here/build}"
export WINEPREFIX="$build_dir/${wine_prefix_name:-wineprefix}"
source "$here/scripts/wine-arch.sh"
use_wine_arch "$(wine_arch_of "$build_dir")"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
started_pids=()

stop_started() {
    local pid
    # Ends the Wine processes of this prefix only (services that wineboot started).
    if [ -n "${wine_started:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    for pid in "${started_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${started_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
}
trap stop_started EXIT

start_display() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${ZENDLE_OWN_DISPLAY:-}" ]; then
        return
    fi
    # Xvfb picks a free display itself and names it once it takes connections, so that
    # runs started side by side never share one.
    local named="$build_dir/xvfb-display" n i
    mkdir -p "$build_dir"
    rm -f "$named"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$named" >/dev/null 2>&1 &
    started_pids+=($!)
    for i in $(seq 1 100); do
        n=$(head -n1 "$named" 2>/dev/null)
        if [ -n "$n" ]; then
            export DISPLAY=":$n"
            return
        fi
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    exit 1
}

start_wine() {
    mkdir -p "$WINEPREFIX"
    wineserver -f -p >/dev/null 2>&1 &
    started_pids+=($!)
    wine_started=1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine: preparing the prefix (first run only)"
    fi
    # wineboot also brings an existing prefix up to date; redirect to a file so that
    # Wine's background processes hold no pipe open.
    wine wineboot -i >"$build_dir/wineboot.log" 2>&1 || true
    # Xvfb has no window manager: a managed window that hides makes Wine wait two seconds
    # for the manager's answer, so every closed dialog would stall a test.
    if [ -z "${wine_managed:-}" ] && ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            >>"$build_dir/wineboot.log" 2>&1 || true
    fi
    # This Wine does not read its own font folder: without these copies the caption buttons
    # (Marlett) draw as letters and dialogs lose MS Sans Serif and Tahoma.
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
    mkdir -p "$fonts"
    for f in marlett.ttf tahoma.ttf tahomabd.ttf; do
        [ -f "/usr/share/wine/fonts/$f" ] && [ ! -f "$fonts/$f" ] && cp "/usr/share/wine/fonts/$f" "$fonts/"
    done
    return 0
}
