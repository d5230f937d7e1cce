// Benchmarks of file work report against the 500 ms pause the editor adds after it.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

namespace qm47::bench {

inline constexpr double kPauseBoundMs = 500.0;
using Clock = std::chrono::steady_clock;

// Wall time per iteration divided by the bound: far below 1 is what we want.
inline void ReportAgainstPause(benchmark::State& state, Clock::time_point start) {
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  state.counters["ratio_to_500ms"] = ms / static_cast<double>(state.iterations()) / kPauseBoundMs;
}

}  // namespace qm47::bench
