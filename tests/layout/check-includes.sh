#!/usr/bin/env bash
# Fails when a source file includes a folder above its own: dependencies point one way,
#   platform/ <- convert/core, convert/shapedesc <- convert/<kind> <- app/, viewer/
# and polygon/ and brunhale/ stand beside them on platform/ alone.
# Usage: check-includes.sh [SOURCE_ROOT]
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root" || exit 2
status=0

# check FOLDER ALLOWED_REGEX: every project include of FOLDER's sources must match ALLOWED_REGEX.
check() {
  local folder=$1 allowed=$2
  [ -d "$folder" ] || return 0
  while IFS= read -r hit; do
    local target=${hit#*\#include \"}
    target=${target%%\"*}
    case "$target" in */*) ;; *) continue ;; esac   # local or system-style headers
    if ! [[ "$target" =~ $allowed ]]; then
      echo "upward include: $hit"
      status=1
    fi
  done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$folder" |
           sed -E 's/#[[:space:]]*include[[:space:]]+"/#include "/')
}

check platform            '^platform/'
check convert/core        '^(platform|convert/core)/'
check convert/shapedesc   '^(platform|convert/(core|shapedesc))/'
for kind in convert/*/; do
  kind=${kind%/}
  case "$kind" in convert/core|convert/shapedesc) continue ;; esac
  check "$kind" '^(platform|convert)/'
done
check polygon             '^(platform|polygon)/'
check brunhale            '^(platform|brunhale)/'
exit $status
