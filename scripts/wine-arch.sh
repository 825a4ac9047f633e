# Sourced: chooses the Wine loader for a build's programs. wine_arch_of names a build's bitness
# (from its cache), use_wine_arch sets the environment for it.

# Prints 64 for a build folder configured for x86_64, 32 otherwise.
wine_arch_of() {
    if grep -q '^CMAKE_TOOLCHAIN_FILE:.*mingw-x86_64' "$1/CMakeCache.txt" 2>/dev/null; then
        echo 64
    else
        echo 32
    fi
}

# True where this machine can start Wine's 32-bit loader (some kernels run no 32-bit program).
can_run_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

use_wine_arch() {
    local scripts
    scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    if [ "$1" = 64 ]; then
        case ":$PATH:" in *":$scripts/wine64:"*) ;; *) export PATH="$scripts/wine64:$PATH" ;; esac
        export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 WINEARCH=win64
    else
        export WINEARCH=win32
    fi
}
