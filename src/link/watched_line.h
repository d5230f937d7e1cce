// The serial line with a note of when the radio was last asked or heard, so the user can
// be told a silent radio from a busy transfer.
#pragma once

#include <chrono>

#include "link/serial_line.h"

namespace qm47 {

class WatchedLine final : public ForwardingSerialLine {
 public:
  using Time = std::chrono::steady_clock::time_point;

  explicit WatchedLine(SerialLine& line) : ForwardingSerialLine(line) {}

  // How long nothing has crossed the line either way.
  std::chrono::steady_clock::duration Quiet() const { return std::chrono::steady_clock::now() - last_; }

  std::optional<std::uint8_t> ReadByte() override {
    const auto byte = line_.ReadByte();
    if (byte) last_ = std::chrono::steady_clock::now();
    return byte;
  }
  std::optional<IoError> Write(std::span<const std::uint8_t> bytes) override {
    auto fault = line_.Write(bytes);
    last_ = std::chrono::steady_clock::now();
    return fault;
  }

 private:
  Time last_ = std::chrono::steady_clock::now();
};

}  // namespace qm47
