# The part of the two MinGW-w64 toolchains (POSIX threads flavour) that only differs by the
# target triplet: the toolchain file sets CMAKE_SYSTEM_PROCESSOR and kalvetra_mingw_triplet.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${kalvetra_mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${kalvetra_mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${kalvetra_mingw_triplet}-windres)
set(CMAKE_OBJCOPY ${kalvetra_mingw_triplet}-objcopy)
set(CMAKE_STRIP ${kalvetra_mingw_triplet}-strip)
set(CMAKE_OBJDUMP ${kalvetra_mingw_triplet}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${kalvetra_mingw_triplet} ${KALVETRA_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
