#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   ./test.sh [CTEST OPTIONS]             the normal build (build/) and its suite
#   ./test.sh --sanitize [CTEST OPTIONS]  everything built with AddressSanitizer and UndefinedBehaviorSanitizer
#                                         (build-sanitize/) and the whole suite run under them
#   ./test.sh --fuzz SECONDS              every fuzz target of tests/fuzz fuzzed for SECONDS (clang, build-fuzz/)
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

case "${1:-}" in
  --sanitize)
    shift
    ./scripts/build-sanitize.sh
    # Leaks of third-party libraries only are listed in lsan.supp; undefined behaviour ends the test.
    # intercept_tls_get_addr=0: the runtime's record of the thread-local blocks of a library loaded with
    # dlopen (libOstrand.so) comes out garbled with this glibc, and the leak check at exit then crashes
    # scanning it ("Tracer caught signal 11"). Without the record those blocks are no roots of the leak
    # check, which can only report more, never hide a leak.
    export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:intercept_tls_get_addr=0"
    export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    cd build-sanitize
    ctest --output-on-failure -j "$(nproc)" "$@"
    ;;
  --fuzz)
    [ $# -eq 2 ] && [[ "$2" =~ ^[0-9]+$ ]] || { echo "usage: ./test.sh --fuzz SECONDS" >&2; exit 2; }
    ./scripts/build-fuzz.sh
    exec tests/fuzz/run-fuzzers.sh build-fuzz "$2"
    ;;
  *)
    ./scripts/build.sh
    cd build
    ctest --output-on-failure -j "$(nproc)" "$@"
    ;;
esac
