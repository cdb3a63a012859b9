#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, where they are missing.
set -euo pipefail
want=(cmake ninja-build g++ pkg-config libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev libfreetype-dev
      libfontconfig-dev fonts-ipafont-mincho timgm6mb-soundfont libgtest-dev libbenchmark-dev clang clang-format
      libclang-rt-dev xvfb "$@")
# One query for them all: this runs before every start of the game.
declare -A installed=()
while read -r name status; do
  [ "$status" = "install ok installed" ] && installed[$name]=1
done < <(dpkg-query -W -f='${Package} ${Status}\n' "${want[@]}" 2>/dev/null || true)
missing=()
for p in "${want[@]}"; do
  [ -n "${installed[$p]:-}" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
