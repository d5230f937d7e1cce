#include "seams/clock.h"

#include <thread>

namespace qm47 {

Clock::TimePoint SteadyClock::Now() const { return std::chrono::steady_clock::now(); }

void SteadyClock::Sleep(Duration d) {
  if (d.count() > 0) std::this_thread::sleep_for(d);
}

Clock::TimePoint ScaledClock::Now() const {
  const auto real = std::chrono::steady_clock::now() - start_;
  return start_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(real * factor_);
}

void ScaledClock::Sleep(Duration d) {
  if (d.count() > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(d.count() / factor_));
}

}  // namespace qm47
