#include "link/transfers.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "model/codec.h"

namespace qm47 {

using namespace std::chrono_literals;
using namespace transfer_text;

namespace {
constexpr Clock::Duration kIdleStep = 10ms;
constexpr Clock::Duration kSettle = 500ms;
constexpr auto kLongWait = 10s;

IoError FaultOf(const std::exception& e) { return {51, std::string("Internal error: ") + e.what()}; }

bool IsClear(int mode) { return mode >= transfer_mode::ClearMmsi && mode <= transfer_mode::ClearDistressLog; }
}  // namespace

std::string RadioStateText(int mode, RadioState state) {
  const bool clear = IsClear(mode);
  switch (state) {
    case RadioState::Unchanged:
      return "The radio is unchanged.";
    case RadioState::PartlyWritten:
      return clear ? "The radio may be partly cleared: clear it again."
                   : "The radio may be partly programmed: program it again.";
    case RadioState::WrittenUnchecked:
      return clear ? "Every write reached the radio, but the check could not finish: clear it again to be sure."
                   : "Every write reached the radio, but the check could not finish: verify it or program it again.";
    case RadioState::Written:
      return clear ? "The radio is cleared." : "The radio holds what was written.";
  }
  return "";
}

bool IsSettingsAddress(Address a) {
  return (a >= area::SingleBytesFirst && a < area::SkippedFirst) || (a >= area::SkippedEnd && a < area::DscLogFirst);
}

namespace {

bool IsWrittenBlock(Address a) {
  return a >= area::BlockSize && a < area::DscLogFirst && !(a >= area::SkippedFirst && a < area::SkippedEnd);
}

// Every write of the whole program, listed.
WritePlan EveryWriteListed() {
  WritePlan plan;
  plan.whole = false;
  for (Address j = area::SingleBytesFirst; j < area::SingleBytesEnd; ++j) plan.singleBytes.push_back(j);
  for (Address a = 0; a < kImageSize; a += area::BlockSize) {
    if (IsWrittenBlock(a)) plan.blocks.push_back(a);
  }
  return plan;
}

}  // namespace

int WritePlan::requests() const {
  if (whole) return EveryWriteListed().requests();
  return static_cast<int>(singleBytes.size() + blocks.size());
}

bool WritePlan::Writes(Address a) const {
  if (whole) return IsSettingsAddress(a);
  if (std::find(singleBytes.begin(), singleBytes.end(), a) != singleBytes.end()) return true;
  const Address block = a - a % area::BlockSize;
  return a >= area::BlockSize && std::find(blocks.begin(), blocks.end(), block) != blocks.end();
}

WritePlan ChangedWritePlan(const MemoryImage& radio, const MemoryImage& image) {
  WritePlan plan;
  plan.whole = false;
  for (Address j = area::SingleBytesFirst; j < area::SingleBytesEnd; ++j) {
    if (radio.GetByte(j) != image.GetByte(j)) plan.singleBytes.push_back(j);
  }
  for (const Address a : EveryWriteListed().blocks) {
    for (Address i = a; i < a + area::BlockSize; ++i) {
      if (radio.GetByte(i) != image.GetByte(i)) {
        plan.blocks.push_back(a);
        break;
      }
    }
  }
  return plan;
}

std::vector<Address> CheckedBlocks(const WritePlan& plan, ProgramCheck check) {
  std::vector<Address> blocks;
  if (check == ProgramCheck::None) return blocks;
  for (Address a = 0; a < kImageSize; a += area::BlockSize) {
    const bool settings = IsSettingsAddress(a) || IsSettingsAddress(a + area::BlockSize - 1);
    if (!settings) continue;
    if (check == ProgramCheck::Whole || plan.whole) {
      blocks.push_back(a);
    } else if (a == 0 ? !plan.singleBytes.empty()
                      : std::find(plan.blocks.begin(), plan.blocks.end(), a) != plan.blocks.end()) {
      blocks.push_back(a);
    }
  }
  return blocks;
}

std::string AreasText(std::vector<std::pair<Address, int>> writes) {
  std::sort(writes.begin(), writes.end());
  std::string text;
  for (std::size_t i = 0; i < writes.size();) {
    const Address first = writes[i].first;
    Address end = first + writes[i].second;
    for (++i; i < writes.size() && writes[i].first <= end; ++i) end = std::max(end, writes[i].first + writes[i].second);
    if (!text.empty()) text += ", ";
    text += end - first == 1 ? AddressText(first) : AddressText(first) + "-" + AddressText(end - 1);
  }
  return text;
}

Transfers::Transfers(Link& link, MemoryImage& image, SettingsRecord& record, const ModelDescriptor& model)
    : link_(link), image_(image), record_(record), model_(model) {}

int Transfers::Percent(Address a) const {
  return static_cast<int>(std::lround(static_cast<double>(a) / kLastAddress * 100.0));
}

namespace {

// The step a trap names in the error log, as a user would say it.
std::string StepText(std::string_view source) {
  static constexpr std::pair<std::string_view, std::string_view> kSteps[] = {
      {"frmRadio.ReadDataChkModel", "the model check"}, {"frmRadio.ReadData", "the read"},
      {"frmRadio.WriteData", "the write"},             {"frmRadio.VerifyData", "the read-back"},
      {"frmRadio.ReadMmsi", "the MMSI read"},
  };
  for (const auto& [name, text] : kSteps) {
    if (source == name) return std::string(text);
  }
  return "the clear";  // the three clears
}

}  // namespace

template <class Step>
Ending Transfers::Trapped(const char* source, Step step) {
  const auto trap = [&](const IoError& fault) {
    link_.errorLog().WriteErrorLog(source, fault);
    link_.Diagnose("port fault during " + StepText(source) + ": " + std::to_string(fault.number) + " " +
                   fault.description);
    link_.ui().Message(std::to_string(fault.number) + "\r\r" + fault.description, source, Icon::Critical,
                       Buttons::Ok);
    link_.PortClose();
    return Ending::Failed;
  };
  try {
    return step();
  } catch (const LinkFault& f) {
    return trap(f.error);
  } catch (const std::exception& e) {
    return trap(FaultOf(e));
  }
}

void Transfers::Succeeded(const char* text) {
  link_.ClearStatus();
  link_.Message(text, Icon::Information);
}

// ---- status and model checks ----

bool Transfers::StatusCheck() {
  for (;;) {
    link_.ShowStatus("status check..");
    StatusAnswer answer = StatusAnswer::NotReady;
    try {
      answer = StatusCheckOnce();
    } catch (const LinkFault& f) {
      link_.Diagnose("port fault during the status check: " + f.error.description);
      return false;
    } catch (const std::exception&) {
      return false;
    }
    if (answer != StatusAnswer::AskAgain) return answer == StatusAnswer::Ready;
  }
}

// One pass of the status check; AskAgain when the user asked to retry a busy radio.
Transfers::StatusAnswer Transfers::StatusCheckOnce() {
  if (link_.Request(BuildFrame("#CEPSR", "00", "", ""), "the status request", false) != LinkStatus::Ok) {
    return StatusAnswer::NotReady;
  }

  const auto notReady = [&](const char* message, const char* why) {
    link_.Diagnose(std::string("the status answer: ") + why);
    if (message) link_.Message(message, Icon::Critical);
    link_.ShowStatus("status check.. NG!!");
    return StatusAnswer::NotReady;
  };

  const LineRead header = link_.ReadChars(6, kLongWait);
  switch (header.status) {
    case LinkStatus::Ok:
      if (header.text != "#CEPSD") {
        link_.SendLine("#CMDUN");
        return notReady(nullptr, "it did not begin with #CEPSD");
      }
      break;
    case LinkStatus::Cancelled: return notReady(link_text::kCancel, "cancelled");
    case LinkStatus::TimedOut: return notReady(link_text::kTimeOut, "it did not come within 10 s");
    case LinkStatus::ErrorReply:
    case LinkStatus::Unexpected: return notReady(nullptr, "the radio answered ERROR");
  }
  const LineRead rest = link_.ReadLine(kLongWait);
  if (rest.status == LinkStatus::Cancelled) return notReady(link_text::kCancel, "cancelled");
  if (rest.status != LinkStatus::Ok) return notReady(link_text::kTimeOut, "it was not complete within 10 s");
  if (rest.overlong || !CheckFrame("#CEPSD" + rest.text)) {
    link_.SendLine("#CMDSM");
    return notReady(nullptr, "its checksum was wrong");
  }
  link_.SendLine("#CMDOK");

  const std::vector<std::string> fields = SplitFields(rest.text);
  const std::string status = fields.size() > 1 ? fields[1] : std::string();
  if (status == "00") {
    link_.ShowStatus("status check.. OK");
    return StatusAnswer::Ready;
  }
  if (status == "01") {
    const Answer a = link_.ui().MessageWithDefault(kBusy, link_.caption(), Icon::Exclamation, Buttons::RetryCancel,
                                                   DefaultButton::Second);
    if (a == Answer::Retry) return StatusAnswer::AskAgain;
    return notReady(nullptr, "the radio is busy");
  }
  return notReady(nullptr, "the radio reported an unknown status");
}

Ending Transfers::ReadDataChkModel() {
  return Trapped("frmRadio.ReadDataChkModel", [&] { return CheckModel(); });
}

Ending Transfers::CheckModel() {
  if (!link_.PortOpen()) return Ending::Failed;
  link_.ShowStatus("model check...");
  std::vector<std::uint8_t> buffer(kImageSize, 0);
  const auto [first, second] = ModelCodeAddresses();
  BlockResult r = link_.ReadBlock(buffer, first, 2);
  if (r.done()) r = link_.ReadBlock(buffer, second, 2);
  // A cancel seen only after the last answer arrived must still stop the transfer.
  if (r.ending == Ending::Cancelled || link_.CancelRequested()) return Ending::Cancelled;
  if (!r.done()) {
    link_.ui().Message(kCommunicationError, kModelCheckCaption, Icon::Critical, Buttons::Ok);
    return Ending::Failed;
  }
  const auto word = [&](Address a) {
    return buffer[static_cast<std::size_t>(a)] * 256 + buffer[static_cast<std::size_t>(a) + 1];
  };
  modelWords_ = {word(first), word(second)};
  if (adopt_ && !ModelCodeMatches(model_.number, word(first), word(second))) adopt_(word(first), word(second));
  if (ModelCodeMatches(model_.number, word(first), word(second))) return Ending::Done;
  link_.Diagnose("the radio holds model codes " + std::to_string(word(first)) + " and " +
                 std::to_string(word(second)) + ", the selected model " + model_.name + " has " +
                 std::to_string(model_.code));
  const ModelCodeReport report = DescribeModelCodes("The radio", word(first), word(second), model_.number);
  const std::string advice =
      report.fits ? " To use it, " + link_.ui().HowToChooseModel(report.fits, ModelName(report.fits)) + "." : "";
  link_.ui().MessageWithDetail(kModelTypeError, report.text + advice, kReadCaption, Icon::Critical, Buttons::Ok);
  diagnosisShown_ = true;
  return Ending::Failed;
}

// ---- block loops ----

Ending Transfers::EndLoop(Ending loop, const char* caption, bool hold) {
  // Whatever a cancelled loop was doing, the radio is told to abort it.
  if (loop == Ending::Cancelled) link_.SendCancel();
  if (loop != Ending::Done || !hold) link_.PortClose();
  switch (loop) {
    case Ending::Cancelled: break;
    case Ending::Done: link_.clock().Sleep(kSettle); break;
    case Ending::Failed: link_.ui().Message(kCommunicationError, caption, Icon::Critical, Buttons::Ok); break;
  }
  return loop;
}

Ending Transfers::ReadData(std::span<std::uint8_t> buffer, bool hold) {
  return Trapped("frmRadio.ReadData", [&] {
    // A loop that cannot reach the radio must not look like a finished one.
    if (!link_.PortOpen()) return Ending::Failed;
    link_.ShowProgress(0);
    Ending loop = Ending::Done;
    for (Address a = 0; a < kImageSize && loop == Ending::Done; a += area::BlockSize) {
      link_.ShowProgress(Percent(a));
      loop = link_.ReadBlock(buffer, a, area::BlockSize).ending;
    }
    if (link_.CancelRequested()) loop = Ending::Cancelled;
    return EndLoop(loop, kReadCaption, hold);
  });
}

Ending Transfers::WriteData(const WritePlan& plan, bool hold) {
  return Trapped("frmRadio.WriteData", [&] {
    if (!link_.PortOpen()) return Ending::Failed;
    link_.ShowProgress(0);
    Ending loop = plan.whole ? Ending::Done : WriteChanged(plan);
    for (Address a = 0; plan.whole && a < kImageSize && loop == Ending::Done; a += area::BlockSize) {
      link_.ShowProgress(Percent(a));
      if (a == 0) {
        loop = WriteSingleBytes(EveryWriteListed().singleBytes);
      } else if (!IsWrittenBlock(a)) {
        link_.clock().Sleep(kIdleStep);
      } else {
        loop = WriteOne(a, area::BlockSize);
      }
      if (link_.CancelRequested()) loop = Ending::Cancelled;
    }
    if (loop == Ending::Done) radio_ = RadioState::WrittenUnchecked;
    return EndLoop(loop, kProgramCaption, hold);
  });
}

Ending Transfers::WriteOne(Address a, int length) {
  // No request leaves after a stop; one that left may have been written, answered or not.
  if (link_.CancelRequested()) return Ending::Cancelled;
  radio_ = RadioState::PartlyWritten;
  written_.emplace_back(a, length);
  return link_.WriteBlock(image_, a, length).ending;
}

// The same requests in the same order as the whole write, only fewer, and no idle steps
// over what is not written: they pace nothing.
Ending Transfers::WriteChanged(const WritePlan& plan) {
  const double count = std::max(1, plan.requests());
  Ending loop = WriteSingleBytes(plan.singleBytes);
  for (std::size_t i = 0; i < plan.blocks.size() && loop == Ending::Done; ++i) {
    link_.ShowProgress(static_cast<int>(std::lround(100.0 * static_cast<double>(plan.singleBytes.size() + i) / count)));
    loop = WriteOne(plan.blocks[i], area::BlockSize);
    if (link_.CancelRequested()) loop = Ending::Cancelled;
  }
  return loop;
}

// The single bytes are all tried, and a byte the radio refused still fails the
// transfer afterwards. A byte that drew no answer on any attempt ends them at once: the
// radio has gone silent, and 30 s more for each byte left would help nobody. So does a
// Cancel. The diagnosis names the first byte that failed.
Ending Transfers::WriteSingleBytes(const std::vector<Address>& bytes) {
  std::string firstFailure;
  for (const Address j : bytes) {
    if (link_.CancelRequested()) return Ending::Cancelled;
    radio_ = RadioState::PartlyWritten;
    written_.emplace_back(j, 1);
    const BlockResult r = link_.WriteBlock(image_, j, 1);
    if (r.ending == Ending::Cancelled || link_.CancelRequested()) return Ending::Cancelled;
    if (r.done()) continue;
    if (firstFailure.empty()) firstFailure = link_.Diagnosis();
    if (r.silent()) break;
  }
  if (firstFailure.empty()) return Ending::Done;
  link_.Diagnose(firstFailure);
  return Ending::Failed;
}

Ending Transfers::VerifyData(std::span<std::uint8_t> buffer, const std::vector<Address>& blocks, bool hold) {
  return Trapped("frmRadio.VerifyData", [&] {
    if (!link_.PortOpen()) return Ending::Failed;
    // The bar runs over the blocks read, so it moves evenly and ends full.
    link_.ShowProgress(0);
    Ending loop = Ending::Done;
    for (std::size_t i = 0; i < blocks.size() && loop == Ending::Done; ++i) {
      const double last = std::max<double>(1.0, static_cast<double>(blocks.size() - 1));
      link_.ShowProgress(static_cast<int>(std::lround(100.0 * static_cast<double>(i) / last)));
      loop = link_.ReadBlock(buffer, blocks[i], area::BlockSize).ending;
    }
    if (link_.CancelRequested()) loop = Ending::Cancelled;
    return EndLoop(loop, kProgramCaption, hold);
  });
}

Ending Transfers::CheckCleared(Address first, Address last, int length, const char* area, const char* caption) {
  std::vector<std::uint8_t> buffer(kImageSize, 0);
  Ending loop = Ending::Done;
  for (Address a = first; a <= last && loop == Ending::Done; a += length) {
    loop = link_.ReadBlock(buffer, a, length).ending;
  }
  if (link_.CancelRequested()) loop = Ending::Cancelled;
  if (loop != Ending::Done) return EndLoop(loop, caption);
  std::vector<Address> kept;
  for (Address a = first; a < last + length; ++a) {
    if (buffer[static_cast<std::size_t>(a)] != image_.GetByte(a)) kept.push_back(a);
  }
  if (kept.empty()) return EndLoop(Ending::Done, caption);
  radio_ = RadioState::PartlyWritten;
  link_.Diagnose(std::string("the radio answered the clear but kept its ") + area + ": " +
                 std::to_string(kept.size()) + (kept.size() == 1 ? " byte differs" : " bytes differ") +
                 ", the first at " + AddressText(kept.front()));
  link_.PortClose();
  link_.ui().MessageWithDetail(kCommunicationError, link_.Diagnosis() + ".", caption, Icon::Critical, Buttons::Ok);
  diagnosisShown_ = true;
  return Ending::Failed;
}

Ending Transfers::ClearData() {
  return Trapped("frmRadio.ClearData", [&] {
    if (!link_.PortOpen()) return Ending::Failed;
    link_.ShowProgress(0);
    radio_ = RadioState::PartlyWritten;
    Ending e = link_.WriteBlock(image_, addr::UserMmsiCount, 1).ending;
    if (link_.CancelRequested()) e = Ending::Cancelled;
    if (e != Ending::Done) return EndLoop(e, kClearCaption);
    link_.ShowProgress(100);
    radio_ = RadioState::WrittenUnchecked;
    e = CheckCleared(addr::UserMmsiCount, addr::UserMmsiCount, 1, "MMSI count (0x0085)", kClearCaption);
    if (e == Ending::Done) radio_ = RadioState::Written;
    return e;
  });
}

Ending Transfers::ClearLog(int step, Address first, Address last, int length) {
  if (!link_.PortOpen()) return Ending::Failed;
  link_.ShowProgress(0);
  Ending loop = Ending::Done;
  for (Address a = 0; a < kImageSize && loop == Ending::Done; a += step) {
    link_.ui().ProcessEvents();
    if (link_.CancelRequested()) {
      loop = Ending::Cancelled;
      break;
    }
    link_.ShowProgress(Percent(a));
    if (a >= first && a <= last) {
      radio_ = RadioState::PartlyWritten;
      loop = link_.WriteBlock(image_, a, length).ending;
    } else {
      link_.clock().Sleep(kIdleStep);
    }
    if (link_.CancelRequested()) loop = Ending::Cancelled;
  }
  if (loop != Ending::Done) return EndLoop(loop, kProgramCaption);
  radio_ = RadioState::WrittenUnchecked;
  const char* area = first == area::DscLogFirst ? "DSC log (0x3600-0x3CFF)" : "distress log (0x3D00-0x3FDF)";
  const Ending e = CheckCleared(first, last, length, area, kProgramCaption);
  if (e == Ending::Done) radio_ = RadioState::Written;
  return e;
}

Ending Transfers::ClearDataDsc() {
  return Trapped("frmRadio.ClearDataDsc",
                 [&] { return ClearLog(area::BlockSize, area::DscLogFirst, area::DscLogLastBlock, area::BlockSize); });
}

Ending Transfers::ClearDataDistress() {
  return Trapped("frmRadio.ClearDataDistress", [&] {
    return ClearLog(area::DistressRecordSize, area::DistressLogFirst, area::DistressLogLastBlock,
                    area::DistressRecordSize);
  });
}

// ---- the transfer procedures ----

template <class Body>
TransferResult Transfers::Run(Body body) {
  radio_ = RadioState::Unchanged;
  diagnosisShown_ = false;
  readBack_.reset();
  plan_.reset();
  written_.clear();
  checked_ = false;
  TransferResult result;
  {
    const BusyScope busy(link_.ui());
    if (!StatusCheck()) {
      link_.Message(kNotReady, Icon::Critical);
      result.ending = link_.CancelRequested() ? Ending::Cancelled : Ending::Failed;
      // The documented ending: the connect cleared the error, so the dialog closes.
      result.closesDialog = true;
    } else {
      Ending e = ReadDataChkModel();
      if (e == Ending::Done) e = body();
      result.ending = e;
      result.closesDialog = e == Ending::Done || (readBack_ && !readBack_->differing.empty());
    }
  }
  result.radio = radio_;
  result.diagnosis = link_.Diagnosis();
  result.diagnosisShown = diagnosisShown_;
  result.radioUnknown = radio_ != RadioState::Unchanged && !checked_;
  result.plan = plan_;
  result.written = written_;
  return result;
}

TransferResult Transfers::RunReadTransfer() {
  return Run([&] {
    link_.ShowStatus("radio reading...");
    // The radio's bytes land in a copy; the image changes only after a clean read.
    std::vector<std::uint8_t> buffer(image_.bytes().begin(), image_.bytes().end());
    if (const Ending e = ReadData(buffer); e != Ending::Done) return e;
    if (onRead_) onRead_(buffer, true);
    for (Address a = 0; a < kImageSize; ++a) {
      if (IsSettingsAddress(a)) image_.bytes()[static_cast<std::size_t>(a)] = buffer[static_cast<std::size_t>(a)];
    }
    DecodeImage(image_, record_);
    Succeeded();
    return Ending::Done;
  });
}

TransferResult Transfers::RunProgramTransfer() {
  return Run([&] { return Program(); });
}

Ending Transfers::Program() {
  std::optional<MemoryImage> known = program_.changedOnly ? program_.knownRadio : std::nullopt;
  if (program_.readFirst) {
    link_.ShowStatus("radio reading...");
    MemoryImage radio = image_;
    // Held open: re-opened, the port would start at another rate than the radio's.
    if (const Ending e = ReadData(radio.bytes(), true); e != Ending::Done) return e;
    if (onRead_) onRead_(radio.bytes(), true);
    const bool goOn = !program_.beforeWrite || program_.beforeWrite();
    // A stop asked for while the read was looked at: nothing runs to abort, nothing is written.
    link_.ui().ProcessEvents();
    if (!goOn || link_.CancelRequested()) {
      link_.PortClose();
      return goOn ? Ending::Cancelled : Ending::Failed;
    }
    if (program_.changedOnly) known = radio;
  } else if (known) {
    const KnownRadio connected = CheckKnownRadio(*known);
    if (connected.ending != Ending::Done) return connected.ending;
    if (!connected.same) known.reset();
  }
  const ProgramCheck check = program_.check;
  plan_ = known ? ChangedWritePlan(*known, image_) : WritePlan{};
  if (plan_->empty() && check != ProgramCheck::Whole) {
    link_.PortClose();
    checked_ = true;
    Succeeded(kAlreadyHeld);
    return Ending::Done;
  }
  if (!plan_->empty()) {
    link_.ShowStatus("radio writing...");
    // The read-back follows on the connected port: re-opened, it would run at another rate.
    if (const Ending e = WriteData(*plan_, check != ProgramCheck::None); e != Ending::Done) return e;
  }
  if (check != ProgramCheck::None) {
    if (const Ending e = Verify(*plan_, known.value_or(image_)); e != Ending::Done) return e;
  }
  if (radio_ == RadioState::Unchanged) {
    Succeeded(kAlreadyHeld);
    return Ending::Done;
  }
  radio_ = RadioState::Written;
  Succeeded();
  return Ending::Done;
}

// The radio's model words came with the model check; its MMSI is asked for. Another radio,
// or one given another MMSI since, holds settings nobody here has read.
Transfers::KnownRadio Transfers::CheckKnownRadio(const MemoryImage& known) {
  const auto [first, second] = ModelCodeAddresses();
  const auto word = [&](Address a) { return known.GetByte(a) * 256 + known.GetByte(a + 1); };
  KnownRadio out{Ending::Done, modelWords_ == std::pair{word(first), word(second)}};
  if (!out.same) {
    link_.ShowStatus("another radio: writing everything");
    return out;
  }
  constexpr int kMmsiBytes = 5;
  std::vector<std::uint8_t> buffer(kImageSize, 0);
  out.ending = Trapped("frmRadio.ReadMmsi", [&] {
    Ending e = link_.ReadBlock(buffer, addr::UserMmsi, kMmsiBytes).ending;
    if (link_.CancelRequested()) e = Ending::Cancelled;
    if (e != Ending::Done) return EndLoop(e, kProgramCaption);
    for (Address a = addr::UserMmsi; a < addr::UserMmsi + kMmsiBytes; ++a) {
      if (buffer[static_cast<std::size_t>(a)] != known.GetByte(a)) out.same = false;
    }
    if (!out.same) link_.ShowStatus("another MMSI: writing everything");
    return Ending::Done;
  });
  return out;
}

// Done when the radio holds what was written. After a changed-only write a whole check
// also finds blocks the radio holds otherwise than it was known to (changed since it was
// read): those are written and checked once more. A radio that answered a write but kept
// other bytes fails the transfer, with readBack() saying where.
Ending Transfers::Verify(const WritePlan& plan, const MemoryImage& known) {
  link_.ShowStatus("radio verifying...");
  // Blocks not read back stand as the radio is known to hold them.
  ReadBack back{known, {}};
  const auto differing = [&] {
    std::vector<Address> found;
    for (Address a = 0; a < kImageSize; ++a) {
      if (IsSettingsAddress(a) && back.radio.GetByte(a) != image_.GetByte(a)) found.push_back(a);
    }
    return found;
  };
  const std::vector<Address> blocks = CheckedBlocks(plan, program_.check);
  Ending e = VerifyData(back.radio.bytes(), blocks, !plan.whole);
  back.differing = differing();
  const bool dropped = std::any_of(back.differing.begin(), back.differing.end(),
                                   [&](Address a) { return plan.Writes(a); });
  if (e == Ending::Done && !plan.whole && !back.differing.empty() && !dropped) {
    const WritePlan again = ChangedWritePlan(back.radio, image_);
    link_.ShowStatus("radio changed since its read: writing " + std::to_string(again.requests()) + " more");
    e = WriteData(again, true);
    if (e == Ending::Done) e = VerifyData(back.radio.bytes(), CheckedBlocks(again, ProgramCheck::Written), false);
    back.differing = differing();
  } else if (e == Ending::Done && !plan.whole) {
    link_.PortClose();
  }
  if (e != Ending::Done) return e;
  checked_ = true;
  if (onRead_) onRead_(back.radio.bytes(), false);
  const bool same = back.differing.empty();
  if (!same) {
    radio_ = RadioState::PartlyWritten;
    link_.Diagnose("the radio answered every write but holds other values in " +
                   std::to_string(back.differing.size()) + " bytes, the first at " +
                   AddressText(back.differing.front()));
  }
  readBack_ = std::move(back);
  return same ? Ending::Done : Ending::Failed;
}

TransferResult Transfers::RunClearTransfer(int mode) {
  if (!IsClear(mode)) return {};
  return Run([&] {
    if (mode == transfer_mode::ClearMmsi) {
      link_.ShowStatus("radio clear...");
      const std::uint8_t old = image_.GetByte(addr::UserMmsiCount);
      image_.SetByte(addr::UserMmsiCount, 0);
      const Ending e = ClearData();
      if (e == Ending::Done) Succeeded();
      else image_.SetByte(addr::UserMmsiCount, old);
      return e;
    }
    const MemoryImage backup = image_;
    auto& bytes = image_.bytes();
    Ending e;
    if (mode == transfer_mode::ClearDscLog) {
      link_.ShowStatus("radio clear DSC...");
      for (Address a = area::DscLogFirst; a < area::DistressLogFirst; ++a) bytes[static_cast<std::size_t>(a)] = 0xFF;
      e = ClearDataDsc();
    } else {
      link_.ShowStatus("radio clear Distress...");
      for (Address r = area::DistressLogFirst; r <= area::DistressLogLastRecord; r += area::DistressRecordSize) {
        for (int i = 0; i < area::DistressClearedBytes; ++i) bytes[static_cast<std::size_t>(r + i)] = 0xFF;
      }
      e = ClearDataDistress();
    }
    if (e == Ending::Done) Succeeded();
    else image_ = backup;
    return e;
  });
}

}  // namespace qm47
