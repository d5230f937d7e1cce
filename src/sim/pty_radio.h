// The virtual radio on a pseudo-terminal, for the real serial-port code to talk to.
// Bytes move at the line rate the tool set on its end (10 bits per byte).
#pragma once

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

  // The line rate the tool's end runs at, in baud (the terminal's default until set).
  int LineRate() const;

 private:
  void SendPaced(const Bytes& bytes);

  RadioEngine& radio_;
  bool throttle_;
  int master_ = -1;
  int slave_ = -1;  // held open so the tool's close and re-open never hang up the line
};

}  // namespace qm47::sim
