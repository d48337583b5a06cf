# Host build: tools that run at build time, and host unit tests.
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(GTest REQUIRED)
add_compile_options(-Wall -Wextra)

add_subdirectory(render)
add_subdirectory(skin)
add_subdirectory(skinpaint)
add_subdirectory(tools)
add_subdirectory(tests/host)
add_subdirectory(tests/bench_host)

# No source folder includes from a folder of a higher layer.
add_test(NAME layering COMMAND ${CMAKE_SOURCE_DIR}/tools/check-layers.sh)
