#!/usr/bin/env bash
# The clean item against GEOS's polygonize on the same linework, in one run: the build-and-clean phase and
# the whole job (read, build, clean, write) as bench_polygon runs it, and the whole job through the
# library's exported entry point (tools/ostrandrun, a process of its own, its peak memory beside it), each
# as a ratio to polygonize. Installs Debian's python3-shapely when it is missing (GEOS through Debian's own
# Python, not a virtual environment's).
# Usage: bench/polygon/run-geos-compare.sh [BUILD_DIR]; CLEAN_FILES=N spreads the clean item over N files
# (default 80, the size of a nationwide delivery).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
python=/usr/bin/python3
files=${CLEAN_FILES:-80}

if ! dpkg-query -W -f='${Status}' python3-shapely 2>/dev/null | grep -q 'install ok installed'; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends python3-shapely ||
    { "${sudo_cmd[@]}" apt-get update -q && "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends python3-shapely; }
fi

cmake --build "$build" -j3 --target bench_polygon ostrandrun Ostrand >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench_polygon" --only clean --files "$files" --keep "$work/clean" --linework "$work/links.wkb" |
  tee "$work/ours.txt"
mkdir -p "$work/export"
/usr/bin/time -f '%e %M' -o "$work/export.time" \
  "$build/tools/ostrandrun" 8 "$(cat "$work/clean/clean.files")" "$work/export/clean.shp" "$work/export/clean.log" |
  tee "$work/export.txt"
read -r export_s export_kb <"$work/export.time"
echo "through the export: ${export_s} s, peak $((export_kb / 1024)) MB"
"$python" "$here/geos_polygonize.py" "$work/links.wkb" | tee "$work/geos.txt"
ours=$(awk '$1 == "build" || $1 == "clean" { s += $2 } END { printf "%.3f", s }' "$work/ours.txt")
job=$(awk '$1 == "job" { printf "%.3f", $2 }' "$work/ours.txt")
geos=$(sed -n 's/.*polygons: \([0-9.]*\) s.*/\1/p' "$work/geos.txt")
awk -v b="$ours" -v j="$job" -v e="$export_s" -v g="$geos" 'BEGIN {
  printf "build-and-clean %.3f s = %.2f x polygonize; whole job %.3f s = %.2f x; through the export %.2f s = %.2f x; GEOS polygonize %.3f s\n",
         b, b / g, j, j / g, e, e / g, g }'
