#include "seams/clock.h"

#include <thread>

namespace qm47 {

Clock::TimePoint SteadyClock::Now() const { return std::chrono::steady_clock::now(); }

void SteadyClock::Sleep(Duration d) {
  if (d.count() > 0) std::this_thread::sleep_for(d);
}

}  // namespace qm47
