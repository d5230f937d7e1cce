#include "sim/memory_pipe.h"

#include <cctype>

namespace qm47::sim {

namespace {
// "57600,N,8,1" -> 57600; 0 for settings without a rate.
int BaudOf(const std::string& settings) {
  int baud = 0;
  for (char c : settings) {
    if (!std::isdigit(static_cast<unsigned char>(c)) || baud > 10'000'000) break;
    baud = baud * 10 + (c - '0');
  }
  return baud;
}
}  // namespace

MemoryPipe::MemoryPipe(RadioEngine& radio, Clock& clock, std::string name)
    : radio_(radio), clock_(clock), name_(std::move(name)) {}

std::optional<IoError> MemoryPipe::Open(const std::string& settings) {
  Close();
  if (openFault_) {
    if (goodOpens_ <= 0) return openFault_;
    --goodOpens_;
  }
  open_ = true;
  settings_ = settings;
  baud_ = BaudOf(settings);
  opens_.push_back(settings);
  return std::nullopt;
}

void MemoryPipe::Close() {
  open_ = false;
  input_.clear();
}

std::optional<std::uint8_t> MemoryPipe::ReadByte() {
  if (!open_ || input_.empty()) return std::nullopt;
  const std::uint8_t b = input_.front();
  input_.pop_front();
  return b;
}

std::optional<IoError> MemoryPipe::Write(std::span<const std::uint8_t> bytes) {
  if (!open_) return port_error::NotOpen();
  if (writeFault_) {
    if (goodWrites_ <= 0) return writeFault_;
    --goodWrites_;
  }
  written_.insert(written_.end(), bytes.begin(), bytes.end());
  const Reply reply = radio_.Receive(bytes, baud_);
  const Bytes answer = filter_ ? filter_(reply.bytes) : reply.bytes;
  // At another rate a UART makes garbage of the answer, which the tool must not take for one.
  if (reply.rate == baud_) input_.insert(input_.end(), answer.begin(), answer.end());
  return std::nullopt;
}

bool MemoryPipe::WaitForInput(Clock::Duration max) {
  if (open_ && !input_.empty()) return true;
  clock_.Sleep(max);
  return open_ && !input_.empty();
}

}  // namespace qm47::sim
