# 64-bit Windows binaries inside the i686 tree: built by one call of the x86_64 MinGW compiler
# with the same definitions and static runtime as the rest of the Windows build.
set(KALVETRA_X86_64_CXX x86_64-w64-mingw32-g++-posix)
set(KALVETRA_X86_64_RC x86_64-w64-mingw32-windres)
file(GLOB kalvetra_payload_headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/payload/*.h)

# kalvetra_x86_64_binary(<output file> SHARED|CONSOLE SOURCES <files...> [RC <file.rc>] [LIBS <names...>]
#                        [DEPENDS <files...>])
# Relative source paths are taken from the calling folder.
function(kalvetra_x86_64_binary output kind)
  cmake_parse_arguments(X "" "RC" "SOURCES;LIBS;DEPENDS" ${ARGN})
  set(sources)
  foreach(s IN LISTS X_SOURCES)
    get_filename_component(abs ${s} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND sources ${abs})
  endforeach()
  set(flags -std=c++20 -O2 -Wall -Wextra -Wno-cast-function-type -Wconversion -Wno-sign-conversion -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN
            -DNOMINMAX -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -I${CMAKE_SOURCE_DIR}
            -static -static-libgcc -static-libstdc++)
  if(kind STREQUAL "SHARED")
    list(APPEND flags -shared -s)
  else()
    list(APPEND flags -municode)
  endif()
  if(X_RC)
    set(rc_object ${output}.rc.o)
    add_custom_command(OUTPUT ${rc_object}
      COMMAND ${KALVETRA_X86_64_RC} -i ${X_RC} -o ${rc_object}
      DEPENDS ${X_RC})
    list(APPEND sources ${rc_object})
  endif()
  set(libs)
  foreach(l IN LISTS X_LIBS)
    list(APPEND libs -l${l})
  endforeach()
  add_custom_command(OUTPUT ${output}
    COMMAND ${KALVETRA_X86_64_CXX} ${flags} ${sources} -o ${output} ${libs}
    DEPENDS ${sources} ${kalvetra_payload_headers} ${X_DEPENDS}
    COMMENT "Building 64-bit ${output}"
    VERBATIM)
endfunction()
