# Cross toolchain: 64-bit Windows with MinGW-w64, the native 64-bit variant.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(kalvetra_mingw_triplet x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
