#!/usr/bin/env bash
# Builds Velmora with AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitize/ (program folder
# build-sanitize/Velmora/); the normal build/ is left alone. Optimised with debug information: the
# sanitized suite must stay quick enough for CI, and its reports need file and line.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j "${VELMORA_BUILD_JOBS:-$(nproc)}"
