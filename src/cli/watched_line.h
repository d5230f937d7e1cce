// The serial line with a note of when the radio was last asked or heard, so the
// command line can tell a silent radio from a busy transfer.
#pragma once

#include <chrono>

#include "link/serial_line.h"

namespace qm47::cli {

class WatchedLine final : public SerialLine {
 public:
  using Time = std::chrono::steady_clock::time_point;

  explicit WatchedLine(SerialLine& line) : line_(line) {}

  // How long nothing has crossed the line either way.
  std::chrono::steady_clock::duration Quiet() const { return std::chrono::steady_clock::now() - last_; }

  std::optional<IoError> Open(const std::string& settings) override { return line_.Open(settings); }
  void Close() override { line_.Close(); }
  bool IsOpen() const override { return line_.IsOpen(); }
  std::string Settings() const override { return line_.Settings(); }
  std::string Name() const override { return line_.Name(); }
  std::size_t BytesWaiting() override { return line_.BytesWaiting(); }
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
  void FlushInput() override { line_.FlushInput(); }
  bool WaitForInput(Clock::Duration max) override { return line_.WaitForInput(max); }
  std::optional<IoError> Fault() const override { return line_.Fault(); }

 private:
  SerialLine& line_;
  Time last_ = std::chrono::steady_clock::now();
};

}  // namespace qm47::cli
