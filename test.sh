#!/usr/bin/env bash
# Builds the editor and runs every test under Wine. Exit code: the tests' result.
# ZENDLE_BUILD names another build folder (default: build); extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/configure.sh
cmake --build "$build" -j"$(nproc)"
source scripts/wine-env.sh
start_display
start_wine
set +e
(cd "$build" && ctest --output-on-failure --timeout 600 "$@")
rc=$?
set -e
exit $rc
