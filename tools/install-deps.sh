#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, where they are missing.
set -euo pipefail
want=(cmake g++ pkg-config libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev libfreetype-dev libfontconfig-dev
      fonts-ipafont-mincho timgm6mb-soundfont libgtest-dev libbenchmark-dev clang
      libclang-rt-dev xvfb "$@")
missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
