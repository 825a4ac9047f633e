# The 64-bit program, built from the same source.
set(ZENDLE_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
