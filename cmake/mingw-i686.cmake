# Cross toolchain: 32-bit Windows with MinGW-w64, the product.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(kalvetra_mingw_triplet i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Floating point in SSE2 registers, as on the host build: the x87 unit's extended precision
# would round pixel arithmetic differently (a hue shift or a blend one level off). The stack
# is realigned where SSE2 data needs it, since Windows calls back with 4-byte alignment.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
