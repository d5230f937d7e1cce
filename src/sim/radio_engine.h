// The radio's side of the programming protocol, for tests and qm47-sim: a 16384-byte
// memory, the ping, the rate command, sync, status, read, write and abort, with faults
// that can be switched on to play a misbehaving radio.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/frame.h"
#include "model/memory_map.h"

namespace qm47::sim {

using Memory = std::array<std::uint8_t, kImageSize>;

// Counts are 1-based; 0 switches a fault off.
struct RadioFaults {
  int busyCount = 0;            // the first N status answers say "01"
  int errorAtCommand = 0;       // "ERROR" to the Nth command ...
  int errorCount = 1;           // ... and to this many after it (all commands from N on when < 0)
  int corruptAtData = 0;        // the Nth data answer carries a wrong checksum
  int wrongAddressAtData = 0;   // the Nth data answer names the next block's address
  int wrongLengthAtData = 0;    // the Nth data answer names one byte more than it carries
  int cutAtData = 0;            // the Nth data answer stops halfway, without its line end
  int vanishAtCommand = 0;      // the radio goes away instead of answering the Nth command
  int silentAtCommand = 0;      // no answer at all to the Nth command ...
  int silentCount = 1;          // ... and this many after it (all from N on when < 0)
  bool noPingEcho = false;      // a radio already at the fast rate ignores the ping
  int dropWriteAt = 0;          // the first write request covering this address is answered
                                // as written but the memory keeps its old bytes (0: off)
};

enum class Direction { FromTool, FromRadio };

class RadioEngine {
 public:
  // A memory holding `modelCode` at 0x0000 and 0x3FFE, everything else 0xFF.
  explicit RadioEngine(std::uint16_t modelCode = 4100);
  explicit RadioEngine(const Memory& memory);

  void SetFaults(const RadioFaults& faults) { faults_ = faults; }
  const RadioFaults& faults() const { return faults_; }
  // Called with every line (or single byte) that crosses the line, for --trace.
  void SetTrace(std::function<void(Direction, const std::string&)> trace) { trace_ = std::move(trace); }
  // Called after every accepted write request.
  void SetOnWrite(std::function<void(const Memory&)> onWrite) { onWrite_ = std::move(onWrite); }

  // Bytes from the tool in; what the radio answers out.
  Bytes Receive(std::span<const std::uint8_t> bytes);

  const Memory& memory() const { return memory_; }
  Memory& memory() { return memory_; }
  void SetModelCode(std::uint16_t code);

  bool fastRate() const { return fastRate_; }
  int commandCount() const { return commands_; }
  int writeCount() const { return writes_; }
  // True once the radio has gone away (vanishAtCommand): it answers nothing more.
  bool vanished() const { return vanished_; }
  // Every line the tool sent, without CR LF, oldest first.
  const std::vector<std::string>& toolLines() const { return toolLines_; }

 private:
  void Line(const std::string& line, Bytes& out);
  void Answer(const std::string& line, Bytes& out);
  bool Counted(int at, int count) const;
  void Emit(Bytes& out, std::string_view text);
  void EmitFrame(Bytes& out, const Bytes& frame);
  void Trace(Direction d, const std::string& text);

  Memory memory_{};
  RadioFaults faults_;
  std::function<void(Direction, const std::string&)> trace_;
  std::function<void(const Memory&)> onWrite_;
  std::string line_;
  bool overlong_ = false;
  bool fastRate_ = false;
  bool vanished_ = false;
  int commands_ = 0;
  int statusAnswers_ = 0;
  int dataAnswers_ = 0;
  int writes_ = 0;
  bool dropped_ = false;
  std::vector<std::string> toolLines_;
};

// Printable form of a line: TAB as \t, CR as \r, LF as \n, other controls as \xNN.
std::string Printable(std::string_view text);

}  // namespace qm47::sim
