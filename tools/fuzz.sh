#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds:
#   bash tools/fuzz.sh [SECONDS] [TARGET...]     (default 60 seconds, every target)
# The seed corpus is the demo level plus fuzz/seeds/TARGET; findings go to build-fuzz/findings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-60}
shift || true
"$root/tools/setup-deps.sh"
if [[ ! -f $build/build.ninja ]]; then
  CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZR3_BUILD_FUZZERS=ON -DZR3_BUILD_GUI=OFF -DZR3_BUILD_CLI=OFF -DZR3_BUILD_TESTS=OFF
fi
cmake --build "$build" --parallel
targets=("$@")
if ((${#targets[@]} == 0)); then
  for binary in "$build"/fuzz/fuzz_*; do targets+=("$(basename "$binary")"); done
fi
mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  cp "$root/examples/demo.zr3" "$corpus/demo.zr3"
  seeds=()
  [[ -d $root/fuzz/seeds/$target ]] && seeds=("$root/fuzz/seeds/$target")
  echo "== $target for ${seconds}s"
  # One allocation beyond 512 MB is a finding; the process as a whole may grow further, since
  # libFuzzer keeps its corpus of inputs up to the demo level's size in memory as it grows.
  (cd "$build/findings" && "$build/fuzz/$target" -max_total_time="$seconds" -timeout=1 \
    -malloc_limit_mb=512 -rss_limit_mb=2048 -print_final_stats=1 "$corpus" "${seeds[@]}")
done
