#!/usr/bin/env bash
# Installs the Debian packages Velmora needs to build, test and run; does nothing when all are present.
set -euo pipefail
packages=(cmake g++ pkg-config qt6-base-dev libsqlite3-dev libshp-dev libgtest-dev libgmock-dev
          gdal-bin xvfb xauth x11-utils fonts-noto-cjk qt6-translations-l10n
          clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
