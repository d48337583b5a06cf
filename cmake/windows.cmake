# Windows build (MinGW): toolkit, installer, payload and the Windows tests. The same tree is
# configured twice: for i686 (the product) and for x86_64 (its native 64-bit variant).
enable_language(RC)
if(NOT KALVETRA_HOST_BIN)
  message(FATAL_ERROR "KALVETRA_HOST_BIN must name the host build's bin folder (tools/build.sh sets it)")
endif()
if(NOT KALVETRA_OUTPUT_BIN)
  set(KALVETRA_OUTPUT_BIN ${CMAKE_BINARY_DIR}/bin)
endif()
list(APPEND CMAKE_PREFIX_PATH ${KALVETRA_DEPS_PREFIX})
# Every library is linked in: a shipped program imports only DLLs that Windows itself has.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(GTest REQUIRED CONFIG)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KALVETRA_WIN64 ON)
  set(KALVETRA_BINARY_ARCH x86_64)
  # Where the Windows tests run: "x64" is the 64-bit prefix, natively.
  set(KALVETRA_TEST_RUNS x64)
else()
  set(KALVETRA_WIN64 OFF)
  set(KALVETRA_BINARY_ARCH i686)
  # "32" is 32-bit Windows, "64" is 64-bit Windows, where the program runs under WOW64.
  set(KALVETRA_TEST_RUNS 32 64)
endif()

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
# Warnings that catch a value, pointer or handle squeezed through a narrower type (a 64-bit
# LRESULT, LONG_PTR or size_t into an int, say); the code of both builds keeps them clean.
add_compile_options(-Wall -Wextra -Wno-cast-function-type -Wconversion -Wno-sign-conversion
                    -Wint-to-pointer-cast $<$<COMPILE_LANGUAGE:C>:-Wpointer-to-int-cast>)
# Static C++ runtime: nothing to ship beside the executable.
add_link_options(-static -static-libgcc -static-libstdc++)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)
# Screenshots of both builds go to one folder of the whole build (beside build/host).
get_filename_component(kalvetra_build_root ${KALVETRA_HOST_BIN} DIRECTORY)
get_filename_component(kalvetra_build_root ${kalvetra_build_root} DIRECTORY)
set(KALVETRA_SCREENSHOT_DIR ${kalvetra_build_root}/screenshots CACHE PATH "Where the end-to-end tests save screenshots")

# kalvetra_windows_test(<name> COMMAND <command...> [LABEL <label>] [TIMEOUT <s>]
#                       [FIRST_RUN_ONLY] [SCREENSHOTS])
# One test per Windows it runs on, named <name>.<run> (32, 64 or x64); "@RUN@" in the command
# stands for the run. A test of a program this machine cannot run (32-bit code) ends as
# skipped, never as passed. Tests of one prefix change its files and registry, so they never
# run at once. SCREENSHOTS sets the screenshot folder in the first run of each build.
function(kalvetra_windows_test name)
  cmake_parse_arguments(T "FIRST_RUN_ONLY;SCREENSHOTS" "LABEL;TIMEOUT" "COMMAND" ${ARGN})
  if(NOT T_LABEL)
    set(T_LABEL windows)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(runs ${KALVETRA_TEST_RUNS})
  list(GET runs 0 first_run)
  if(T_FIRST_RUN_ONLY)
    set(runs ${first_run})
  endif()
  foreach(run IN LISTS runs)
    set(bits ${run})
    if(run STREQUAL "x64")
      set(bits 64)
    endif()
    set(environment KALVETRA_PREFIX_BITS=${bits} KALVETRA_BINARY_ARCH=${KALVETRA_BINARY_ARCH} KALVETRA_RUN_TAG=${run})
    if(T_SCREENSHOTS AND run STREQUAL first_run)
      list(APPEND environment KALVETRA_SCREENSHOT_DIR=${KALVETRA_SCREENSHOT_DIR})
    endif()
    list(TRANSFORM T_COMMAND REPLACE "@RUN@" ${run} OUTPUT_VARIABLE command)
    add_test(NAME ${name}.${run} COMMAND ${command})
    set_tests_properties(${name}.${run} PROPERTIES ENVIRONMENT "${environment}" RESOURCE_LOCK wine-prefix-${bits}
                         TIMEOUT ${T_TIMEOUT} LABELS "${T_LABEL};${KALVETRA_BINARY_ARCH}" SKIP_RETURN_CODE 77)
  endforeach()
endfunction()

# kalvetra_ship(<target>): what ships carries no symbols; they are kept beside the build in
# symbols/<file>.debug, linked from the program for the debugger.
function(kalvetra_ship target)
  set(symbols ${CMAKE_BINARY_DIR}/symbols)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${symbols}
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${symbols}/$<TARGET_FILE_NAME:${target}>.debug
    COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE:${target}>
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${symbols}/$<TARGET_FILE_NAME:${target}>.debug $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

# The portable core, shared with the host build.
add_subdirectory(render)
add_subdirectory(skin)
add_subdirectory(skinpaint)
add_subdirectory(toolkit)
add_subdirectory(skinframework)
add_subdirectory(forms)
add_subdirectory(controls)
add_subdirectory(menus)
add_subdirectory(payload)
add_subdirectory(installer)
add_subdirectory(tests/win)
add_subdirectory(tests/win_framework)
add_subdirectory(tests/win_installer)
add_subdirectory(tests/win_forms)
add_subdirectory(tests/win_dialogs)
add_subdirectory(tests/win_menus)
add_subdirectory(tests/win_portable)
add_subdirectory(tests/bench)
add_subdirectory(tests/bench_framework)
add_subdirectory(tests/bench_controls)
add_subdirectory(tests/bench_startup)
add_subdirectory(tests/e2e)
add_subdirectory(tests/payload)
add_subdirectory(tests/imports)
