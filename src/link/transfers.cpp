#include "link/transfers.h"

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

Transfers::Transfers(Link& link, MemoryImage& image, SettingsRecord& record, const ModelDescriptor& model)
    : link_(link), image_(image), record_(record), model_(model) {}

int Transfers::Percent(Address a) const {
  return static_cast<int>(std::lround(static_cast<double>(a) / kLastAddress * 100.0));
}

template <class Step>
Ending Transfers::Trapped(const char* source, Step step) {
  const auto trap = [&](const IoError& fault) {
    link_.errorLog().WriteErrorLog(source, fault);
    link_.Diagnose(std::string(source) + ": " + std::to_string(fault.number) + " " + fault.description);
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

void Transfers::Succeeded() {
  link_.ClearStatus();
  link_.Message(kComplete, Icon::Information);
}

// ---- status and model checks ----

bool Transfers::StatusCheck() {
  for (;;) {
    link_.ShowStatus("status check..");
    bool again = false;
    bool ready = false;
    try {
      ready = StatusCheckOnce(again);
    } catch (const LinkFault& f) {
      link_.Diagnose("port fault during the status check: " + f.error.description);
      return false;
    } catch (const std::exception&) {
      return false;
    }
    if (again) continue;
    return ready;
  }
}

// One pass of the status check; `again` when the user asked to retry a busy radio.
bool Transfers::StatusCheckOnce(bool& again) {
  if (link_.Request(BuildFrame("#CEPSR", "00", "", ""), "the status request", false) != LinkStatus::Ok) return false;

  const auto notReady = [&](const char* message, const char* why) {
    link_.Diagnose(std::string("the status answer: ") + why);
    if (message) link_.Message(message, Icon::Critical);
    link_.ShowStatus("status check.. NG!!");
    return false;
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
    return true;
  }
  if (status == "01") {
    const Answer a = link_.ui().MessageWithDefault(kBusy, link_.caption(), Icon::Exclamation, Buttons::RetryCancel,
                                                   DefaultButton::Second);
    if (a == Answer::Retry) {
      again = true;
      return false;
    }
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

Ending Transfers::ReadData(std::span<std::uint8_t> buffer) {
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
    return EndLoop(loop, kReadCaption);
  });
}

Ending Transfers::WriteData(bool hold) {
  return Trapped("frmRadio.WriteData", [&] {
    if (!link_.PortOpen()) return Ending::Failed;
    link_.ShowProgress(0);
    Ending loop = Ending::Done;
    for (Address a = 0; a < kImageSize && loop == Ending::Done; a += area::BlockSize) {
      link_.ShowProgress(Percent(a));
      if (a == 0) {
        loop = WriteSingleBytes();
      } else if ((a >= area::SkippedFirst && a < area::SkippedEnd) || a >= area::DscLogFirst) {
        link_.clock().Sleep(kIdleStep);
      } else {
        radio_ = RadioState::PartlyWritten;
        loop = link_.WriteBlock(image_, a, area::BlockSize).ending;
      }
      if (link_.CancelRequested()) loop = Ending::Cancelled;
    }
    if (loop == Ending::Done) radio_ = RadioState::WrittenUnchecked;
    return EndLoop(loop, kProgramCaption, hold);
  });
}

// The 62 single bytes are all tried, and a byte the radio refused still fails the
// transfer afterwards. A byte that drew no answer on any attempt ends them at once: the
// radio has gone silent, and 30 s more for each byte left would help nobody. So does a
// Cancel. The diagnosis names the first byte that failed.
Ending Transfers::WriteSingleBytes() {
  std::string firstFailure;
  for (Address j = area::SingleBytesFirst; j < area::SingleBytesEnd; ++j) {
    radio_ = RadioState::PartlyWritten;
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

Ending Transfers::VerifyData(std::span<std::uint8_t> buffer) {
  return Trapped("frmRadio.VerifyData", [&] {
    if (!link_.PortOpen()) return Ending::Failed;
    std::vector<Address> blocks;
    for (Address a = 0; a < kImageSize; a += area::BlockSize) {
      if (IsSettingsAddress(a) || IsSettingsAddress(a + area::BlockSize - 1)) blocks.push_back(a);
    }
    // The bar runs over the blocks read, so it moves evenly and ends full.
    link_.ShowProgress(0);
    Ending loop = Ending::Done;
    for (std::size_t i = 0; i < blocks.size() && loop == Ending::Done; ++i) {
      link_.ShowProgress(static_cast<int>(std::lround(100.0 * static_cast<double>(i) / (blocks.size() - 1))));
      loop = link_.ReadBlock(buffer, blocks[i], area::BlockSize).ending;
    }
    if (link_.CancelRequested()) loop = Ending::Cancelled;
    return EndLoop(loop, kProgramCaption);
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
  return Run([&] {
    link_.ShowStatus("radio writing...");
    // The read-back follows on the connected port: re-opened, it would run at another rate.
    if (const Ending e = WriteData(verify_); e != Ending::Done) return e;
    if (verify_) {
      if (const Ending e = Verify(); e != Ending::Done) return e;
    }
    radio_ = RadioState::Written;
    Succeeded();
    return Ending::Done;
  });
}

// Done when the radio holds what was written. A radio that answered every write but kept
// other bytes fails the transfer, with readBack() saying where.
Ending Transfers::Verify() {
  link_.ShowStatus("radio verifying...");
  ReadBack back{image_, {}};
  if (const Ending e = VerifyData(back.radio.bytes()); e != Ending::Done) return e;
  if (onRead_) onRead_(back.radio.bytes(), false);
  for (Address a = 0; a < kImageSize; ++a) {
    if (IsSettingsAddress(a) && back.radio.GetByte(a) != image_.GetByte(a)) back.differing.push_back(a);
  }
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
