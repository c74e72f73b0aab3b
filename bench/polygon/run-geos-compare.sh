#!/usr/bin/env bash
# The clean item's build-and-clean phase against GEOS's polygonize on the same linework, in one run.
# Installs Debian's python3-shapely when it is missing (GEOS through Debian's own Python, not a virtual
# environment's). Usage: bench/polygon/run-geos-compare.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
python=/usr/bin/python3

if ! dpkg-query -W -f='${Status}' python3-shapely 2>/dev/null | grep -q 'install ok installed'; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends python3-shapely ||
    { "${sudo_cmd[@]}" apt-get update -q && "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends python3-shapely; }
fi

cmake --build "$build" -j3 --target bench_polygon >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench_polygon" --only clean --linework "$work/links.wkb" | tee "$work/ours.txt"
"$python" "$here/geos_polygonize.py" "$work/links.wkb" | tee "$work/geos.txt"
ours=$(awk '$1 == "build" || $1 == "clean" { s += $2 } END { printf "%.3f", s }' "$work/ours.txt")
geos=$(sed -n 's/.*polygons: \([0-9.]*\) s.*/\1/p' "$work/geos.txt")
echo "build-and-clean ${ours} s, GEOS polygonize ${geos} s"
