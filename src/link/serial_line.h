// The serial port as the link sees it: a real port, a pseudo-terminal or a pipe to
// the virtual radio all look the same from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "files/io_error.h"
#include "seams/clock.h"

namespace qm47 {

class SerialLine {
 public:
  virtual ~SerialLine() = default;

  // Opens at a settings text such as "57600,N,8,1", closing first when open.
  // No flow control. nullopt on success.
  virtual std::optional<IoError> Open(const std::string& settings) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // The settings text the open port really runs with.
  virtual std::string Settings() const = 0;
  // Which port this is, for messages ("/dev/ttyUSB0").
  virtual std::string Name() const = 0;

  virtual std::size_t BytesWaiting() = 0;
  // One waiting byte, or nullopt when nothing waits.
  virtual std::optional<std::uint8_t> ReadByte() = 0;
  // Hands the bytes to the port; does not wait for them to drain.
  virtual std::optional<IoError> Write(std::span<const std::uint8_t> bytes) = 0;
  // Waits until every written byte has left the port. Closing or re-opening restores or
  // changes the line's rate at once, so bytes still queued would go out at the wrong one.
  // A line that delivers each write at once has nothing to wait for.
  virtual void Drain() {}
  virtual void FlushInput() = 0;

  // Blocks until input waits or `max` has passed; true when input waits. A port
  // that has failed reports it here instead of returning at once forever.
  virtual bool WaitForInput(Clock::Duration max) = 0;
  virtual std::optional<IoError> Fault() const { return std::nullopt; }
};

// Passes everything to another line; a wrapper overrides only what it watches.
class ForwardingSerialLine : public SerialLine {
 public:
  explicit ForwardingSerialLine(SerialLine& line) : line_(line) {}

  std::optional<IoError> Open(const std::string& settings) override { return line_.Open(settings); }
  void Close() override { line_.Close(); }
  bool IsOpen() const override { return line_.IsOpen(); }
  std::string Settings() const override { return line_.Settings(); }
  std::string Name() const override { return line_.Name(); }
  std::size_t BytesWaiting() override { return line_.BytesWaiting(); }
  std::optional<std::uint8_t> ReadByte() override { return line_.ReadByte(); }
  std::optional<IoError> Write(std::span<const std::uint8_t> bytes) override { return line_.Write(bytes); }
  void Drain() override { line_.Drain(); }
  void FlushInput() override { line_.FlushInput(); }
  bool WaitForInput(Clock::Duration max) override { return line_.WaitForInput(max); }
  std::optional<IoError> Fault() const override { return line_.Fault(); }

 protected:
  SerialLine& line_;
};

// Port faults with the numbers the error log has always used for them.
namespace port_error {
IoError NotOpen();         // 8018
IoError InvalidSettings(const std::string& settings);  // 8015
}  // namespace port_error

}  // namespace qm47
