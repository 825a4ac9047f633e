#!/usr/bin/env bash
# Builds the editor and runs every test under Wine. Exit code: the tests' result.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >build-configure.log 2>&1 || { cat build-configure.log; exit 1; }
rm -f build-configure.log
cmake --build build -j"$(nproc)"
source scripts/wine-env.sh
start_display
start_wine
set +e
(cd build && ctest --output-on-failure --timeout 600 "$@")
rc=$?
set -e
exit $rc
