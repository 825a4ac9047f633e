# Sourced by run.sh and test.sh: installs what is missing and configures the build folder
# ($build, from ZENDLE_BUILD or build/), printing the configure log only when it fails.
build="${ZENDLE_BUILD:-$PWD/build}"
bash scripts/setup.sh
mkdir -p "$build"
if ! cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
        -DCMAKE_BUILD_TYPE=Release >"$build/configure.log" 2>&1; then
    cat "$build/configure.log"
    exit 1
fi
export ZENDLE_BUILD="$build"
