// Time, behind a seam so tests run ten-second time-outs in no time.
#pragma once

#include <chrono>

#include "seams/user_interface.h"

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

// Steady time running `factor` times as fast: every deadline and pause shrinks alike.
// For tests of whole programs, which cannot swap in a virtual clock.
class ScaledClock final : public Clock {
 public:
  explicit ScaledClock(double factor) : factor_(factor) {}
  TimePoint Now() const override;
  void Sleep(Duration d) override;

 private:
  TimePoint start_ = std::chrono::steady_clock::now();
  double factor_;
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

// Steady time whose sleeps are the user interface's pauses: in a window every wait of
// the link keeps the window repainting and the transfer dialog's Cancel answering.
class PausingClock final : public Clock {
 public:
  explicit PausingClock(UserInterface& ui) : ui_(ui) {}
  TimePoint Now() const override { return std::chrono::steady_clock::now(); }
  void Sleep(Duration d) override { ui_.Pause(static_cast<int>(d.count())); }

 private:
  UserInterface& ui_;
};

}  // namespace qm47
