#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>

namespace zr3bench {

// Registers one figure as every benchmark program times it: real time in milliseconds, at
// least 0.3 s of repetitions.
inline void RegisterFigure(const char* name, std::function<void(benchmark::State&)> body) {
  benchmark::RegisterBenchmark(name,
                               [body = std::move(body)](benchmark::State& state) { body(state); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->MinTime(0.3);
}

// The same for a figure whose work runs on more threads than one: its processor time counts
// every thread of the process.
inline benchmark::internal::Benchmark* RegisterThreadedFigure(const char* name,
                                                              void (*body)(benchmark::State&)) {
  return benchmark::RegisterBenchmark(name, body)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->MeasureProcessCPUTime()
      ->MinTime(0.3);
}

// Reports the bytes each iteration moved, for the table's size column.
inline void CountBytes(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["bytes"] = static_cast<double>(bytes);
}

}  // namespace zr3bench
