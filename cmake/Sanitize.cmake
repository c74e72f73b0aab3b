# Checked builds, each in a build folder of its own (scripts/build-sanitize.sh, scripts/build-fuzz.sh):
#   VELMORA_SANITIZE  every target built and linked with AddressSanitizer and UndefinedBehaviorSanitizer;
#   VELMORA_FUZZ      (clang) every target instrumented for libFuzzer as well, and the fuzz targets of
#                     tests/fuzz linked against libFuzzer's own main.
# A normal build sets neither and is unchanged.
option(VELMORA_SANITIZE "Build with -fsanitize=address,undefined" OFF)
option(VELMORA_FUZZ "Build the libFuzzer targets (clang)" OFF)

if(VELMORA_SANITIZE OR VELMORA_FUZZ)
  # Undefined behaviour stops the run instead of printing and going on, so a test cannot pass over it.
  set(velmora_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  if(VELMORA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
      message(FATAL_ERROR "VELMORA_FUZZ needs clang: configure with CC=clang CXX=clang++")
    endif()
    list(APPEND velmora_sanitizers -fsanitize=fuzzer-no-link)
  endif()
  add_compile_options(${velmora_sanitizers} -g)
  add_link_options(-fsanitize=address,undefined)
  add_compile_definitions(VELMORA_SANITIZED_BUILD=1)
endif()
