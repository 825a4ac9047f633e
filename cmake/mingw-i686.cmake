# The 32-bit program, the product.
set(ZENDLE_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
