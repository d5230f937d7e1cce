// The virtual radio on an in-memory line: what the tool writes reaches the engine at
// once, at the rate the line was opened at, and its answer waits to be read if the line
// is at the rate the radio answered at. Waiting for input that never comes moves the
// clock, so a virtual clock runs the link's time-outs in no time.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/serial_line.h"
#include "sim/radio_engine.h"

namespace qm47::sim {

class MemoryPipe final : public SerialLine {
 public:
  MemoryPipe(RadioEngine& radio, Clock& clock, std::string name = "virtual radio");

  std::optional<IoError> Open(const std::string& settings) override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  std::string Settings() const override { return open_ ? settings_ : std::string(); }
  std::string Name() const override { return name_; }
  std::size_t BytesWaiting() override { return open_ ? input_.size() : 0; }
  std::optional<std::uint8_t> ReadByte() override;
  std::optional<IoError> Write(std::span<const std::uint8_t> bytes) override;
  void FlushInput() override { input_.clear(); }
  bool WaitForInput(Clock::Duration max) override;

  // Test hooks: refuse opens or writes after `after` good ones, inject raw bytes from the "radio".
  void FailOpens(std::optional<IoError> fault, int after = 0) {
    openFault_ = std::move(fault);
    goodOpens_ = after;
  }
  void FailWrites(std::optional<IoError> fault, int after = 0) {
    writeFault_ = std::move(fault);
    goodWrites_ = after;
  }
  void Inject(std::string_view bytes) { input_.insert(input_.end(), bytes.begin(), bytes.end()); }
  // Rewrites the radio's answers before the tool sees them (nullptr: as they are).
  void SetAnswerFilter(std::function<Bytes(const Bytes&)> filter) { filter_ = std::move(filter); }

  // Everything the tool wrote, and the settings of every open, oldest first.
  const Bytes& written() const { return written_; }
  const std::vector<std::string>& opens() const { return opens_; }
  void ClearWritten() { written_.clear(); }

 private:
  RadioEngine& radio_;
  Clock& clock_;
  std::string name_;
  bool open_ = false;
  std::string settings_;
  int baud_ = 0;
  std::deque<std::uint8_t> input_;
  Bytes written_;
  std::vector<std::string> opens_;
  std::optional<IoError> openFault_;
  int goodOpens_ = 0;
  std::optional<IoError> writeFault_;
  int goodWrites_ = 0;
  std::function<Bytes(const Bytes&)> filter_;
};

}  // namespace qm47::sim
