// The virtual radio on a pseudo-terminal, for the real serial-port code to talk to.
// Bytes move at the line rate they are sent at (10 bits per byte): the tool's towards the
// radio, the radio's answers at the radio's rate, which reach the tool only while its end
// is at that rate too.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "sim/radio_engine.h"

namespace qm47::sim {

class PtyRadio {
 public:
  PtyRadio(RadioEngine& radio, bool throttle);
  ~PtyRadio();
  PtyRadio(const PtyRadio&) = delete;
  PtyRadio& operator=(const PtyRadio&) = delete;

  // Creates the pseudo-terminal; its device path, or nullopt with `error` set.
  std::optional<std::string> Open(std::string& error);
  // Answers the tool until `keepGoing` says no (asked at least every 50 ms).
  void Serve(const std::function<bool()>& keepGoing);
  // Called with the rest of an answer the tool's end could not take: it was at `toolRate`.
  void SetOnLost(std::function<void(const Bytes& bytes, int rate, int toolRate)> onLost) {
    onLost_ = std::move(onLost);
  }

  // The line rate the tool's end runs at, in baud (the terminal's default until set).
  int LineRate() const;

 private:
  using Clock = std::chrono::steady_clock;
  using Time = Clock::time_point;
  struct Heard {
    Bytes bytes;
    int baud;
    Time complete;  // when its last bit has crossed the line
  };
  struct Outgoing {
    Bytes bytes;
    int baud;
    std::size_t sent = 0;
  };

  bool ReadInput(Time now);
  void HearDue(Time now);
  void SendDue(Time now);
  std::optional<Time> NextDue() const;

  RadioEngine& radio_;
  bool throttle_;
  int master_ = -1;
  int slave_ = -1;  // held open so the tool's close and re-open never hang up the line
  std::function<void(const Bytes&, int, int)> onLost_;
  std::deque<Heard> heard_;
  std::deque<Outgoing> outgoing_;
  Time inFree_{};        // when the tool's bytes so far have crossed
  Time outFree_{};       // when the radio's bytes so far have crossed
  std::size_t chunk_ = 0;  // bytes of the front answer on the line, due at chunkDue_
  Time chunkDue_{};
};

}  // namespace qm47::sim
