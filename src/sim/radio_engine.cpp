#include "sim/radio_engine.h"

#include <cctype>
#include <cstdio>
#include <utility>

namespace qm47::sim {

namespace {
constexpr std::size_t kMaxLine = 512;
constexpr std::string_view kRateCommand = "ACMD:002\r\n";
constexpr std::size_t kStrayRuns = 4;
constexpr std::size_t kStrayText = 40;

bool AllHex(std::string_view s) {
  for (char c : s) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

bool IsToolReply(const std::string& line) {
  return line == "#CMDOK" || line == "#CMDSM" || line == "#CMDER" || line == "#CMDUN";
}
}  // namespace

std::string Printable(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (u < 0x20 || u >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", u);
      out += buf;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string TraceLine(const TraceEvent& e) {
  const bool noise = e.direction == Direction::FromTool && e.baud != e.radioRate;
  std::string line = e.direction == Direction::FromTool ? "tool  > " : "radio < ";
  if (noise) line += "(noise) ";
  line += e.text + "  @" + std::to_string(e.baud);
  if (noise) line += ", radio at " + std::to_string(e.radioRate);
  return line;
}

RadioEngine::RadioEngine(std::uint16_t modelCode) {
  memory_.fill(0xFF);
  SetModelCode(modelCode);
}

RadioEngine::RadioEngine(const Memory& memory) : memory_(memory) {}

void RadioEngine::SetModelCode(std::uint16_t code) {
  for (Address a : {addr::ModelCode, addr::ModelCodeCopy}) {
    memory_[static_cast<std::size_t>(a)] = static_cast<std::uint8_t>(code >> 8);
    memory_[static_cast<std::size_t>(a) + 1] = static_cast<std::uint8_t>(code & 0xFF);
  }
}

void RadioEngine::Trace(Direction d, const std::string& text, int baud) {
  if (trace_) trace_({d, Printable(text), baud > 0 ? baud : rate_, rate_});
}

void RadioEngine::Emit(Bytes& out, std::string_view text) {
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(kCr);
  out.push_back(kLf);
  Trace(Direction::FromRadio, std::string(text) + "\r\n");
}

void RadioEngine::EmitFrame(Bytes& out, const Bytes& frame) {
  out.insert(out.end(), frame.begin(), frame.end());
  Trace(Direction::FromRadio, std::string(frame.begin(), frame.end()));
}

bool RadioEngine::Counted(int at, int count) const {
  if (at <= 0 || commands_ < at) return false;
  return count < 0 || commands_ < at + count;
}

Reply RadioEngine::Receive(std::span<const std::uint8_t> bytes, int baud) {
  Reply reply{{}, rate_};
  Bytes& out = reply.bytes;
  std::string noise;
  for (std::uint8_t b : bytes) {
    if (vanished_) break;
    if (std::exchange(rateLineEnd_, false) && b == kLf && baud == kPowerOnRate) {
      // The rate command's own line end, on its way while the OK went out.
      ++tally_.heard;
      continue;
    }
    if (baud != rate_) {
      // A UART at another rate makes garbage of the byte and of the line it was part of.
      line_.clear();
      overlong_ = false;
      noise.push_back(static_cast<char>(b));
      Noise(b, baud);
      continue;
    }
    EndProbeLine();
    strayOpen_ = false;
    ++tally_.heard;
    if (b == kCan) {
      line_.clear();
      overlong_ = false;
      Trace(Direction::FromTool, "\x18");
      out.push_back(kAck);
      Trace(Direction::FromRadio, "\x06");
      continue;
    }
    if (line_.empty() && !overlong_ && (b == 'P' || b == '0')) {
      // Ping and its confirmation are single bytes without a line end.
      Trace(Direction::FromTool, std::string(1, static_cast<char>(b)));
      if (b == 'P' && !faults_.noPingEcho) {
        out.push_back('P');
        Trace(Direction::FromRadio, "P");
      }
      continue;
    }
    if (b == kLf && line_.empty() && !overlong_) continue;
    if (b == kCr) {
      std::string line;
      line.swap(line_);
      const bool overlong = overlong_;
      overlong_ = false;
      Trace(Direction::FromTool, line + "\r\n");
      if (overlong) {
        ++commands_;
        toolLines_.push_back(line);
        Emit(out, "ERROR");
      } else if (!line.empty()) {
        Line(line, out);
      }
      continue;
    }
    if (line_.size() < kMaxLine) {
      line_.push_back(static_cast<char>(b));
    } else {
      overlong_ = true;
    }
  }
  // Once noise, the rest of the call is noise too: the radio's rate only ever leaves `baud`.
  if (!noise.empty()) Trace(Direction::FromTool, noise, baud);
  return reply;
}

void RadioEngine::Noise(std::uint8_t b, int baud) {
  // A connect starts at 19200 and cannot know the radio kept 57600 from an earlier one.
  const bool probe = baud == kPowerOnRate && rate_ == kFastRate;
  if (probe && static_cast<char>(b) == kRateCommand[probeLine_.size()]) {
    probeLine_.push_back(static_cast<char>(b));
    if (probeLine_.size() == kRateCommand.size()) {
      tally_.probeNoise += probeLine_.size();
      probeLine_.clear();
    }
    strayOpen_ = false;
    return;
  }
  EndProbeLine();
  if (probe && (b == 'P' || b == '0')) {
    ++tally_.probeNoise;
    strayOpen_ = false;
    return;
  }
  Stray(std::string_view(reinterpret_cast<const char*>(&b), 1), baud, rate_);
}

// A rate command cut short or gone wrong was no probe after all.
void RadioEngine::EndProbeLine() {
  if (probeLine_.empty()) return;
  Stray(probeLine_, kPowerOnRate, kFastRate);
  probeLine_.clear();
}

void RadioEngine::Stray(std::string_view text, int baud, int radioRate) {
  tally_.stray += text.size();
  if (!strayOpen_ || strays_.back().baud != baud || strays_.back().radioRate != radioRate) {
    strayOpen_ = strays_.size() < kStrayRuns;
    if (!strayOpen_) return;
    strays_.push_back({{}, 0, baud, radioRate});
  }
  StrayRun& run = strays_.back();
  if (run.text.size() < kStrayText) run.text.append(text.substr(0, kStrayText - run.text.size()));
  run.count += text.size();
}

RateTally RadioEngine::tally() const {
  RateTally t = tally_;
  t.stray += probeLine_.size();
  return t;
}

std::string RadioEngine::StrayReport() const {
  std::vector<StrayRun> runs = strays_;
  if (!probeLine_.empty() && runs.size() < kStrayRuns) {
    runs.push_back({probeLine_, probeLine_.size(), kPowerOnRate, kFastRate});
  }
  std::string report;
  std::size_t shown = 0;
  for (const StrayRun& r : runs) {
    if (!report.empty()) report += "; ";
    report += "\"" + Printable(r.text) + (r.count > r.text.size() ? "...\"" : "\"") + " at " +
              std::to_string(r.baud) + " baud (radio at " + std::to_string(r.radioRate) + ")";
    shown += r.count;
  }
  if (shown < strayBytes()) report += "; ...";
  return report;
}

void RadioEngine::Line(const std::string& line, Bytes& out) {
  toolLines_.push_back(line);
  if (IsToolReply(line)) return;
  if (faults_.slowOnly && line == "ACMD:002") return;
  ++commands_;
  if (commands_ == faults_.vanishAtCommand) {
    vanished_ = true;
    return;
  }
  if (Counted(faults_.silentAtCommand, faults_.silentCount)) return;
  if (Counted(faults_.errorAtCommand, faults_.errorCount)) {
    Emit(out, "ERROR");
    return;
  }
  Answer(line, out);
}

void RadioEngine::Answer(const std::string& line, Bytes& out) {
  if (line == "ACMD:002") {
    Emit(out, "OK");  // still at the old rate
    rateLineEnd_ = rate_ != kFastRate;
    rate_ = kFastRate;
    return;
  }
  if (line == "#CMDSY") {
    Emit(out, "#CMDOK");
    return;
  }
  const std::string command = line.substr(0, 6);
  if ((command != "#CEPSR" && command != "#CEPRD" && command != "#CEPWR") || !CheckFrame(line)) {
    Emit(out, "ERROR");
    return;
  }
  const std::vector<std::string> f = SplitFields(line);

  if (command == "#CEPSR") {
    Emit(out, "#CMDOK");
    const bool busy = statusAnswers_++ < faults_.busyCount;
    EmitFrame(out, BuildFrame("#CEPSD", busy ? "01" : "00", "", ""));
    return;
  }

  const bool write = command == "#CEPWR";
  if (f.size() != (write ? 5u : 4u) || f[1].size() != 4 || f[2].size() != 2 || !AllHex(f[1]) || !AllHex(f[2])) {
    Emit(out, "ERROR");
    return;
  }
  const auto address = static_cast<std::size_t>(HexValue(f[1]));
  const auto length = static_cast<std::size_t>(HexValue(f[2]));
  if (length == 0 || address + length > memory_.size()) {
    Emit(out, "ERROR");
    return;
  }

  if (write) {
    const std::string& data = f[3];
    if (data.size() != 2 * length || !AllHex(data)) {
      Emit(out, "ERROR");
      return;
    }
    const auto drop = static_cast<std::size_t>(faults_.dropWriteAt);
    const bool dropThis = faults_.dropWriteAt > 0 && !dropped_ && address <= drop && drop < address + length;
    dropped_ = dropped_ || dropThis;
    for (std::size_t i = 0; i < length && !dropThis; ++i) {
      memory_[address + i] = static_cast<std::uint8_t>(HexValue(std::string_view(data).substr(2 * i, 2)));
    }
    ++writes_;
    Emit(out, "#CMDOK");
    if (onWrite_) onWrite_(memory_);
    return;
  }

  Emit(out, "#CMDOK");
  const int n = ++dataAnswers_;
  const unsigned named = n == faults_.wrongAddressAtData ? static_cast<unsigned>(address + length)
                                                         : static_cast<unsigned>(address);
  const std::size_t namedLength = n == faults_.wrongLengthAtData ? length + 1 : length;
  Bytes frame = BuildFrame("#CEPDT", HexField(named, 4), HexField(static_cast<unsigned>(namedLength), 2),
                           HexData(std::span(memory_).subspan(address, length)));
  if (n == faults_.corruptAtData) {
    // Flip the checksum's low digit: still hexadecimal, never right.
    std::uint8_t& digit = frame[frame.size() - 3];
    digit = digit == '0' ? '1' : '0';
  }
  if (n == faults_.cutAtData) frame.resize(frame.size() / 2);
  EmitFrame(out, frame);
}

}  // namespace qm47::sim
