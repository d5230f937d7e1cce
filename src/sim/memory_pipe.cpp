#include "sim/memory_pipe.h"

namespace qm47::sim {

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
  Bytes answer = radio_.Receive(bytes);
  if (filter_) answer = filter_(answer);
  input_.insert(input_.end(), answer.begin(), answer.end());
  return std::nullopt;
}

bool MemoryPipe::WaitForInput(Clock::Duration max) {
  if (open_ && !input_.empty()) return true;
  clock_.Sleep(max);
  return open_ && !input_.empty();
}

}  // namespace qm47::sim
