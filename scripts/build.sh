#!/usr/bin/env bash
# Configures and builds Velmora (Release) into build/; the program folder is build/Velmora/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "${VELMORA_BUILD_JOBS:-$(nproc)}"
