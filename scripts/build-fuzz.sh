#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang into build-fuzz/ (only they and what they link).
set -euo pipefail
cd "$(dirname "$0")/.."
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "${VELMORA_BUILD_JOBS:-$(nproc)}" --target fuzz_targets
