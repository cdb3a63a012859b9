#!/usr/bin/env bash
# Builds the game and runs every test: the normal build, an ASan+UBSan build, a short
# fuzzing run of every file reader and the benchmarks in a short mode.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
jobs=$(nproc)
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

echo "== build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

echo "== the game on bare X screens (Xvfb)"
tests/display_xvfb.sh build

echo "== sanitizer build (ASan+UBSan)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DDW_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/../tests/lsan.supp \
  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

if command -v clang++ >/dev/null; then
  echo "== fuzzing (${DW_FUZZ_SECONDS:=20} s per reader)"
  cmake -S . -B build-fuzz -DDW_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build build-fuzz -j "$jobs"
  for f in build-fuzz/*_fuzz; do
    name=$(basename "$f")
    corpus=tests/fuzz/corpus/${name%_fuzz}
    work=build-fuzz/work/$name
    mkdir -p "$work"
    "$f" -max_total_time="$DW_FUZZ_SECONDS" -max_len=65536 -print_final_stats=0 "$work" "$corpus" 2>&1 \
      | grep -E 'Done|ERROR|SUMMARY' || true
    [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "fuzzer $name failed"; exit 1; }
  done
fi

if [ -x build/duskwarden_bench ]; then
  echo "== benchmarks (short)"
  build/duskwarden_bench --benchmark_min_time=0.2
fi
echo "All tests passed."
