#!/usr/bin/env bash
# Fails when configuring and building an up-to-date build tree again makes anything:
# a start of the game on a built tree must not recompile or relink.
# Usage: tools/check-rebuild.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:?usage: $0 BUILD_DIR}
[ -f "$dir/CMakeCache.txt" ] || { echo "$dir is not a configured build tree"; exit 1; }
marker=$(mktemp)
trap 'rm -f "$marker"' EXIT
touch "$marker"
cmake -S . -B "$dir" >/dev/null
cmake --build "$dir" >/dev/null
# CMake and the build tool keep their own records up to date on every run; anything else
# written now (objects, libraries, programs, generated sources, game data) was rebuilt.
made=$(find "$dir" -type f -newer "$marker" \
  ! -path "$dir/Testing/*" \
  ! -name '*.cmake' ! -name '*.make' ! -name '*.internal' ! -name '*.includecache' \
  ! -name '*.txt' ! -name '*.marks' ! -name Makefile ! -name Makefile2 \
  ! -name '*.ninja' ! -name .ninja_log ! -name .ninja_deps \
  ! -name cmake.check_cache ! -name cmake.verify_globs ! -name compile_commands.json)
if [ -n "$made" ]; then
  echo "A second configure and build of $dir, with nothing changed, made:"
  echo "$made"
  exit 1
fi
echo "A second configure and build of $dir did nothing."
