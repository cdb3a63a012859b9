#!/usr/bin/env bash
# Fails on any C or C++ source that clang-format, with the root .clang-format, would change.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h' | grep -v '^tests/fuzz/corpus/')
else
  mapfile -t files < <(find src tests tools bench -name '*.c' -o -name '*.cpp' -o -name '*.h' | grep -v '^tests/fuzz/corpus/')
fi
clang-format --dry-run -Werror "${files[@]}"
echo "All ${#files[@]} sources are formatted."
