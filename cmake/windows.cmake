# Windows build (MinGW i686): toolkit, installer, payload and the Windows tests.
enable_language(RC)
if(NOT KALVETRA_HOST_BIN)
  message(FATAL_ERROR "KALVETRA_HOST_BIN must name the host build's bin folder (tools/build.sh sets it)")
endif()
list(APPEND CMAKE_PREFIX_PATH ${KALVETRA_DEPS_PREFIX})
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(GTest REQUIRED CONFIG)

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_compile_options(-Wall -Wextra -Wno-cast-function-type)
# Static C++ runtime: nothing to ship beside the executable.
add_link_options(-static -static-libgcc -static-libstdc++)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)

# The portable core, shared with the host build.
add_subdirectory(render)
add_subdirectory(skin)
add_subdirectory(toolkit)
add_subdirectory(controls)
add_subdirectory(payload)
add_subdirectory(installer)
add_subdirectory(tests/win)
add_subdirectory(tests/win_installer)
add_subdirectory(tests/win_portable)
add_subdirectory(tests/bench)
add_subdirectory(tests/e2e)
add_subdirectory(tests/payload)
