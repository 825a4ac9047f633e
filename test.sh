#!/usr/bin/env bash
# Builds the editor for 32 and 64 bits and runs every test under Wine, for each build this
# machine can run. Exit code: the tests' result.
# ZENDLE_BUILD names another 32-bit build folder (default: build; the 64-bit one is its name
# with -x64); extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/configure.sh
cmake --build "$build32" -j"$(nproc)"
cmake --build "$build64" -j"$(nproc)"
source scripts/wine-arch.sh

if can_run_32bit; then
    builds=("$build32" "$build64")
    echo "test.sh: testing the 32-bit build ($build32) and the 64-bit build ($build64): this machine runs 32-bit programs"
else
    builds=("$build64")
    echo "test.sh: testing the 64-bit build only ($build64): this machine cannot start Wine's 32-bit loader, so it runs no 32-bit program (the 32-bit build is compiled, not run)"
fi

rc=0
passed=0
failed=0
for build in "${builds[@]}"; do
    echo "test.sh: the $(wine_arch_of "$build")-bit build"
    rm -f "$build/ctest.log"
    # A subshell each, so that its display and Wine server stop when its tests end.
    (
        export ZENDLE_BUILD="$build"
        source scripts/wine-env.sh
        start_display
        start_wine
        cd "$build" && ctest --output-on-failure --timeout 600 --output-log ctest.log "$@"
    ) || rc=1
    # ctest's closing line: "N% tests passed, F tests failed out of T".
    if summary=$(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$build/ctest.log" | tail -1) &&
        [ -n "$summary" ]; then
        f=${summary%% *}
        t=${summary##* }
        passed=$((passed + t - f))
        failed=$((failed + f))
    else
        rc=1
    fi
done
echo "tests: $passed passed, $failed failed"
exit $rc
