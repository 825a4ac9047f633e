# Sourced by run.sh and test.sh: installs what is missing and configures both build folders,
# printing a configure log only when it fails. The 32-bit build (the product) goes to $build32
# (ZENDLE_BUILD, default build/), the 64-bit one beside it to $build64 (the same name + -x64).
build32="${ZENDLE_BUILD:-$PWD/build}"
build64="${build32%/}-x64"
bash scripts/setup.sh

configure_build() {
    mkdir -p "$1"
    if ! cmake -S . -B "$1" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$2.cmake" \
            -DCMAKE_BUILD_TYPE=Release >"$1/configure.log" 2>&1; then
        cat "$1/configure.log"
        exit 1
    fi
}
configure_build "$build32" i686
configure_build "$build64" x86_64
