#!/usr/bin/env bash
# Installs what is missing, builds the game, makes its data and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
# A new build tree uses Ninja where it is installed: its check of a built tree is the quickest.
if command -v ninja >/dev/null; then export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Ninja}; fi
# The build configures again by itself when CMakeLists.txt or the set of sources changes,
# so a configured tree goes straight to the (quick) build check.
if [ ! -f build/build.ninja ] && [ ! -f build/Makefile ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build -j "$(nproc)" --target duskwarden
cd build/game
exec ./duskwarden "$@"
