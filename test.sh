#!/usr/bin/env bash
# Builds the game and runs every test: the normal build, an ASan+UBSan build, an optimised
# build, a short fuzzing run of every file reader and the benchmarks in a short mode.
# Every build here treats warnings as errors.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
jobs=$(nproc)
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
if command -v ninja >/dev/null; then export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Ninja}; fi

echo "== formatting"
./tools/check-format.sh

echo "== build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDW_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
./tools/check-rebuild.sh build
./tools/check-comma.sh build
(cd build && ctest --output-on-failure -j "$jobs")

echo "== the game on bare X screens (Xvfb)"
tests/display_xvfb.sh build

# Built only, so that warnings the optimiser alone sees stop us here, not a packager.
echo "== optimised build (Release, GCC)"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DDW_WERROR=ON \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build-release -j "$jobs"

echo "== sanitizer build (ASan+UBSan)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DDW_SANITIZE=ON -DDW_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/../tests/lsan.supp \
  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

if command -v clang++ >/dev/null; then
  echo "== fuzzing (${DW_FUZZ_SECONDS:=20} s per reader)"
  cmake -S . -B build-fuzz -DDW_FUZZ=ON -DDW_WERROR=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
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
