#!/usr/bin/env bash
# Builds the benchmarks in Release, generates the stress levels, runs every benchmark program
# on each and prints a table of the figures, their floors, ratios, growth and peak memory.
#
#   tools/bench.sh [size ...]        default sizes: large/4 large
#   tools/bench.sh large/4 large max
#   tools/bench.sh large large*4       (a scaling pair beyond the processor caches)
#
# Environment: ZR3_BENCH_BUILD (build folder, default build-bench), ZR3_BENCH_REPS (repetitions
# per benchmark, default 3; the table shows their median).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZR3_BENCH_BUILD:-$root/build-bench}
levels=$build/levels
reps=${ZR3_BENCH_REPS:-3}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(large/4 large)

gui=OFF
if [ -f "$root/src/ui/CMakeLists.txt" ] && [ -f "$root/bench/ui/CMakeLists.txt" ]; then gui=ON; fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZR3_BUILD_BENCHMARKS=ON \
  -DZR3_BUILD_GUI=$gui >/dev/null
ninja -C "$build" -j2 zr3_bench_all zr3 >"$build/bench-build.log" ||
  { cat "$build/bench-build.log" >&2; exit 1; }
mkdir -p "$levels"

programs=()
for program in "$build"/bench/zr3_bench_* "$build"/bench/ui/zr3_bench_*; do
  [ -x "$program" ] || continue
  case $(basename "$program") in zr3_bench_memory) ;; *) programs+=("$program") ;; esac
done

for size in "${sizes[@]}"; do
  name=$(echo "$size" | tr "/*" "_x")
  level=$levels/$name.zr3
  "$build/bench/zr3_make_stress" "$size" "$level" >/dev/null
  "$build/bench/zr3_bench_memory" "$level" >"$levels/$name.memory"
  "$build/zr3" export-json "$level" "$levels/$name.json"
  "$build/bench/zr3_bench_memory" --json "$levels/$name.json" >"$levels/$name.json-memory"
  rm -f "$levels/$name.json"
  rm -f "$levels/$name".zr3_bench_*.json
  for program in "${programs[@]}"; do
    echo "running $(basename "$program") on $size" >&2
    QT_QPA_PLATFORM=offscreen "$program" --file="$level" \
      --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
      --benchmark_out="$levels/$name.$(basename "$program").json" --benchmark_out_format=json \
      >/dev/null 2>"$levels/$name.log" || { cat "$levels/$name.log" >&2; exit 1; }
  done
done

python3 "$root/tools/bench_table.py" "$levels" "${sizes[@]}"

# zr3 check of 100 levels in one call on two workers against one after another.
echo "running zr3_batch_ratio on 100 levels of large/16" >&2
"$build/bench/zr3_batch_ratio" --benchmark_repetitions="$reps" 2>/dev/null | tail -1
