// The radio's side of the programming protocol, for tests and qm47-sim: a 16384-byte
// memory, the ping, the rate command, sync, status, read, write and abort, with faults
// that can be switched on to play a misbehaving radio. Like a real radio it hears only
// bytes sent at the line rate it is at; anything else is noise, which it counts.
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

inline constexpr int kPowerOnRate = 19200;  // the rate a radio listens at after power-on ...
inline constexpr int kFastRate = 57600;     // ... and after it has answered ACMD:002, until power-off

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
  bool noPingEcho = false;      // the ping goes unanswered even at the radio's rate
  int dropWriteAt = 0;          // the first write request covering this address is answered
                                // as written but the memory keeps its old bytes (0: off)
  bool slowOnly = false;        // ignores ACMD:002 and stays at 19200, for the tool's 19200-baud mode
};

enum class Direction { FromTool, FromRadio };

// One line (or single byte) on the line, for --trace.
struct TraceEvent {
  Direction direction;
  std::string text;  // printable
  int baud;          // the rate it crossed at
  int radioRate;     // the rate the radio was at: the tool's bytes at another are noise
};

// "tool  > #CMDSY\r\n  @57600"; noise as "tool  > (noise) P  @19200, radio at 57600".
std::string TraceLine(const TraceEvent& event);

// What the radio says to one Receive, and the rate it leaves at: the radio's rate when the
// bytes came. An answer never spans a rate change, since what follows ACMD:002 at the old
// rate is noise.
struct Reply {
  Bytes bytes;
  int rate = 0;
};

// The bytes the radio has been sent, by the rate they came at.
struct RateTally {
  std::size_t heard = 0;       // at the radio's rate
  std::size_t probeNoise = 0;  // a later connect's "P", "0" and "ACMD:002" CR LF at 19200 to a
                               // radio still at 57600: a connect cannot know it kept that rate
  std::size_t stray = 0;       // anything else at a rate the radio was not at
};

class RadioEngine {
 public:
  // A memory holding `modelCode` at 0x0000 and 0x3FFE, everything else 0xFF.
  explicit RadioEngine(std::uint16_t modelCode = 4100);
  explicit RadioEngine(const Memory& memory);

  void SetFaults(const RadioFaults& faults) { faults_ = faults; }
  const RadioFaults& faults() const { return faults_; }
  // Called with every line (or single byte) that crosses the line, and with the noise.
  void SetTrace(std::function<void(const TraceEvent&)> trace) { trace_ = std::move(trace); }
  // Called after every accepted write request.
  void SetOnWrite(std::function<void(const Memory&)> onWrite) { onWrite_ = std::move(onWrite); }

  // Bytes from the tool, sent with its port at `baud`, in; what the radio answers out.
  Reply Receive(std::span<const std::uint8_t> bytes, int baud);

  const Memory& memory() const { return memory_; }
  Memory& memory() { return memory_; }
  void SetModelCode(std::uint16_t code);

  // The rate the radio listens and answers at.
  int rate() const { return rate_; }
  // As an earlier connect leaves the radio: at 57600 until power-off.
  void SwitchToFastRate() { rate_ = kFastRate; }
  bool fastRate() const { return rate_ == kFastRate; }
  RateTally tally() const;
  std::size_t strayBytes() const { return tally().stray; }
  // The first few runs of stray bytes: their text, the rate they came at and the radio's.
  std::string StrayReport() const;
  int commandCount() const { return commands_; }
  int writeCount() const { return writes_; }
  // True once the radio has gone away (vanishAtCommand): it answers nothing more.
  bool vanished() const { return vanished_; }
  // Every line the radio heard from the tool, without CR LF, oldest first.
  const std::vector<std::string>& toolLines() const { return toolLines_; }

 private:
  void Line(const std::string& line, Bytes& out);
  void Answer(const std::string& line, Bytes& out);
  bool Counted(int at, int count) const;
  void Emit(Bytes& out, std::string_view text);
  void EmitFrame(Bytes& out, const Bytes& frame);
  void Trace(Direction d, const std::string& text, int baud = 0);
  void Noise(std::uint8_t b, int baud);
  void EndProbeLine();
  void Stray(std::string_view text, int baud, int radioRate);

  struct StrayRun {
    std::string text;  // the first bytes of the run
    std::size_t count;
    int baud;
    int radioRate;
  };

  Memory memory_{};
  RadioFaults faults_;
  std::function<void(const TraceEvent&)> trace_;
  std::function<void(const Memory&)> onWrite_;
  std::string line_;
  bool overlong_ = false;
  int rate_ = kPowerOnRate;
  bool rateLineEnd_ = false;  // just switched: an LF at the old rate still ends the rate command
  RateTally tally_;
  std::string probeLine_;  // so far a rate command of a later connect's probe
  std::vector<StrayRun> strays_;
  bool strayOpen_ = false;  // the last byte went to strays_.back()
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
