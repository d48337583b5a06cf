# Fuzz build (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer): the portable
# skin and render core and the fuzz targets. tools/build.sh configures it in build/fuzz.
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
set(kalvetra_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
add_compile_options(-fsanitize=fuzzer-no-link ${kalvetra_sanitizers} -g)
add_link_options(${kalvetra_sanitizers})

add_subdirectory(render)
add_subdirectory(skin)
add_subdirectory(skinpaint)
add_subdirectory(tests/fuzz)
