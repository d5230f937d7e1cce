// Time, behind a seam so tests run ten-second time-outs in no time.
#pragma once

#include <chrono>

namespace qm47 {

class Clock {
 public:
  using Duration = std::chrono::milliseconds;
  using TimePoint = std::chrono::steady_clock::time_point;

  virtual ~Clock() = default;
  virtual TimePoint Now() const = 0;
  virtual void Sleep(Duration d) = 0;
};

class SteadyClock final : public Clock {
 public:
  TimePoint Now() const override;
  void Sleep(Duration d) override;
};

// Time moves only when somebody sleeps (or a test advances it).
class VirtualClock final : public Clock {
 public:
  TimePoint Now() const override { return now_; }
  void Sleep(Duration d) override { now_ += d; }
  void Advance(Duration d) { now_ += d; }

 private:
  TimePoint now_{};
};

}  // namespace qm47
