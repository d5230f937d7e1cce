// The serial line on a real port or a pseudo-terminal, through QSerialPort.
// Works without a running event loop: reads block briefly on the port itself.
#pragma once

#include <QSerialPort>
#include <optional>
#include <string>

#include "link/serial_line.h"

namespace qm47 {

class QtSerialLine final : public SerialLine {
 public:
  // A port name ("ttyUSB0", "COM3") or a full device path.
  explicit QtSerialLine(std::string device);

  std::optional<IoError> Open(const std::string& settings) override;
  void Close() override;
  bool IsOpen() const override { return port_.isOpen(); }
  std::string Settings() const override;
  std::string Name() const override { return device_; }
  std::size_t BytesWaiting() override;
  std::optional<std::uint8_t> ReadByte() override;
  std::optional<IoError> Write(std::span<const std::uint8_t> bytes) override;
  // Qt's buffer, then the driver's queue, then the last byte on the wire; at most ~2 s.
  void Drain() override;
  void FlushInput() override;
  bool WaitForInput(Clock::Duration max) override;
  std::optional<IoError> Fault() const override { return fault_; }

 private:
  IoError OpenError() const;

  std::string device_;
  mutable QSerialPort port_;
  std::optional<IoError> fault_;
};

struct LineSettings {
  int baud = 0;
  char parity = 'N';
  int dataBits = 8;
  int stopBits = 1;
};
// "57600,N,8,1" -> its parts; nullopt for anything else.
std::optional<LineSettings> ParseLineSettings(const std::string& text);

// Why the current user may not open `path`, and which group to join; "" when it is not that.
std::string PermissionAdvice(const std::string& path);

}  // namespace qm47
