#!/usr/bin/env bash
# Builds the editor and runs every test under Wine. Exit code: the tests' result.
# ZENDLE_BUILD names another build folder (default: build); extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")"
build="${ZENDLE_BUILD:-$PWD/build}"
bash scripts/setup.sh
mkdir -p "$build"
if ! cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
        -DCMAKE_BUILD_TYPE=Release >"$build/configure.log" 2>&1; then
    cat "$build/configure.log"
    exit 1
fi
cmake --build "$build" -j"$(nproc)"
export ZENDLE_BUILD="$build"
source scripts/wine-env.sh
start_display
start_wine
set +e
(cd "$build" && ctest --output-on-failure --timeout 600 "$@")
rc=$?
set -e
exit $rc
