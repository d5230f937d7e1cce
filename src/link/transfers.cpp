#include "link/transfers.h"

#include <cmath>
#include <cstdio>
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
}  // namespace

bool IsSettingsAddress(Address a) {
  return (a >= area::SingleBytesFirst && a < area::SkippedFirst) || (a >= area::SkippedEnd && a < area::DscLogFirst);
}

Transfers::Transfers(Link& link, MemoryImage& image, SettingsRecord& record, const ModelDescriptor& model,
                     bool& pageLoading, bool& transferSuccess)
    : link_(link),
      image_(image),
      record_(record),
      model_(model),
      pageLoading_(pageLoading),
      transferSuccess_(transferSuccess) {}

int Transfers::Percent(Address a) const {
  return static_cast<int>(std::lround(static_cast<double>(a) / kLastAddress * 100.0));
}

void Transfers::Trap(const char* source, const IoError& fault) {
  link_.errorLog().WriteErrorLog(source, fault);
  link_.Diagnose(std::string(source) + ": " + std::to_string(fault.number) + " " + fault.description);
  link_.ui().Message(std::to_string(fault.number) + "\r\r" + fault.description, source, Icon::Critical,
                     Buttons::Ok);
  link_.cancel() = true;
  link_.PortClose();
}

void Transfers::Succeeded() {
  transferSuccess_ = true;
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
  const Bytes request = BuildFrame("#CEPSR", "00", "", "");
  int attempts = link_.options().retryCount;
  for (;;) {
    link_.SendFrame(request);
    const LinkStatus r = link_.ReadAck();
    if (r == LinkStatus::Ok) break;
    link_.Diagnose(std::string("the status request on ") + link_.line().Name() + ": " +
                   (r == LinkStatus::TimedOut     ? "no answer within 10 s"
                    : r == LinkStatus::ErrorReply ? "the radio answered ERROR"
                                                  : "no #CMDOK"));
    if (r == LinkStatus::TimedOut && --attempts > 0) continue;
    if (r == LinkStatus::ErrorReply) {
      if (--attempts > 0) continue;
      if (!link_.ConfirmResync()) return false;
      attempts = 1;
      continue;
    }
    return false;
  }

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

void Transfers::ReadDataChkModel() {
  try {
    if (!link_.PortOpen()) {
      link_.error() = true;
      return;
    }
    link_.ShowStatus("model check...");
    std::vector<std::uint8_t> buffer(kImageSize, 0);
    const auto [first, second] = ModelCodeAddresses();
    link_.ReadBlock(buffer, first, 2);
    if (!link_.error()) link_.ReadBlock(buffer, second, 2);
    // A cancel seen only after the last answer arrived must still stop the transfer.
    if (link_.cancel()) {
      link_.error() = true;
      return;
    }
    if (link_.error()) {
      link_.ui().Message(kCommunicationError, kModelCheckCaption, Icon::Critical, Buttons::Ok);
      return;
    }
    const auto word = [&](Address a) {
      return buffer[static_cast<std::size_t>(a)] * 256 + buffer[static_cast<std::size_t>(a) + 1];
    };
    if (adopt_ && !ModelCodeMatches(model_.number, word(first), word(second))) adopt_(word(first), word(second));
    if (!ModelCodeMatches(model_.number, word(first), word(second))) {
      link_.error() = true;
      link_.Diagnose("the radio holds model codes " + std::to_string(word(first)) + " and " +
                     std::to_string(word(second)) + ", the selected model " + model_.name + " has " +
                     std::to_string(model_.code));
      const ModelCodeReport report = DescribeModelCodes("The radio", word(first), word(second), model_.number);
      const std::string advice =
          report.fits ? " To use it, " + link_.ui().HowToChooseModel(report.fits, ModelName(report.fits)) + "." : "";
      link_.ui().MessageWithDetail(kModelTypeError, report.text + advice, kReadCaption, Icon::Critical, Buttons::Ok);
    }
  } catch (const LinkFault& f) {
    Trap("frmRadio.ReadDataChkModel", f.error);
    // The port is closed now; no transfer may follow an unfinished check.
    link_.error() = true;
  } catch (const std::exception& e) {
    Trap("frmRadio.ReadDataChkModel", FaultOf(e));
    link_.error() = true;
  }
}

// ---- block loops ----

void Transfers::FinishLoop(const char* caption) {
  // Whatever a cancelled loop was doing, the radio is told to abort it.
  if (link_.cancel()) link_.SendCancel();
  link_.PortClose();
  if (link_.cancel()) return;
  if (!link_.error()) {
    link_.clock().Sleep(kSettle);
  } else {
    link_.ui().Message(kCommunicationError, caption, Icon::Critical, Buttons::Ok);
  }
}

void Transfers::ReadData(std::span<std::uint8_t> buffer) {
  try {
    // A loop that cannot reach the radio must not look like a finished one.
    if (!link_.PortOpen()) {
      link_.error() = true;
      return;
    }
    link_.ShowProgress(0);
    for (Address a = 0; a < kImageSize; a += area::BlockSize) {
      link_.ShowProgress(Percent(a));
      link_.ReadBlock(buffer, a, area::BlockSize);
      if (link_.error() || link_.cancel()) break;
    }
    FinishLoop(kReadCaption);
  } catch (const LinkFault& f) {
    Trap("frmRadio.ReadData", f.error);
  } catch (const std::exception& e) {
    Trap("frmRadio.ReadData", FaultOf(e));
  }
}

void Transfers::WriteData() {
  try {
    if (!link_.PortOpen()) {
      link_.error() = true;
      return;
    }
    link_.ShowProgress(0);
    for (Address a = 0; a < kImageSize; a += area::BlockSize) {
      link_.ShowProgress(Percent(a));
      if (a == 0) {
        WriteSingleBytes();
      } else if ((a >= area::SkippedFirst && a < area::SkippedEnd) || a >= area::DscLogFirst) {
        link_.clock().Sleep(kIdleStep);
      } else {
        link_.WriteBlock(image_, a, area::BlockSize);
      }
      if (link_.error() || link_.cancel()) break;
    }
    FinishLoop(kProgramCaption);
  } catch (const LinkFault& f) {
    Trap("frmRadio.WriteData", f.error);
  } catch (const std::exception& e) {
    Trap("frmRadio.WriteData", FaultOf(e));
  }
}

// The 62 single bytes are all tried, and a byte the radio refused still fails the
// transfer afterwards. A byte that drew no answer on any attempt ends them at once: the
// radio has gone silent, and 30 s more for each byte left would help nobody. So does a
// Cancel. The diagnosis names the first byte that failed.
void Transfers::WriteSingleBytes() {
  bool failed = false;
  std::string firstFailure;
  for (Address j = area::SingleBytesFirst; j < area::SingleBytesEnd; ++j) {
    const LinkStatus r = link_.WriteBlock(image_, j, 1);
    if (link_.cancel()) return;
    if (!link_.error()) continue;
    if (!failed) firstFailure = link_.Diagnosis();
    failed = true;
    if (r == LinkStatus::TimedOut) break;
  }
  if (!failed) return;
  link_.error() = true;
  link_.Diagnose(firstFailure);
}

void Transfers::VerifyData(std::span<std::uint8_t> buffer) {
  try {
    if (!link_.PortOpen()) {
      link_.error() = true;
      return;
    }
    std::vector<Address> blocks;
    for (Address a = 0; a < kImageSize; a += area::BlockSize) {
      if (IsSettingsAddress(a) || IsSettingsAddress(a + area::BlockSize - 1)) blocks.push_back(a);
    }
    // The bar runs over the blocks read, so it moves evenly and ends full.
    link_.ShowProgress(0);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      link_.ShowProgress(static_cast<int>(std::lround(100.0 * static_cast<double>(i) / (blocks.size() - 1))));
      link_.ReadBlock(buffer, blocks[i], area::BlockSize);
      if (link_.error() || link_.cancel()) break;
    }
    FinishLoop(kProgramCaption);
  } catch (const LinkFault& f) {
    Trap("frmRadio.VerifyData", f.error);
  } catch (const std::exception& e) {
    Trap("frmRadio.VerifyData", FaultOf(e));
  }
}

void Transfers::ClearData() {
  try {
    if (!link_.PortOpen()) {
      link_.error() = true;
      return;
    }
    link_.ShowProgress(0);
    link_.WriteBlock(image_, addr::UserMmsiCount, 1);
    if (!link_.error() && !link_.cancel()) link_.ShowProgress(100);
    FinishLoop(kClearCaption);
  } catch (const LinkFault& f) {
    Trap("frmRadio.ClearData", f.error);
  } catch (const std::exception& e) {
    Trap("frmRadio.ClearData", FaultOf(e));
  }
}

void Transfers::ClearLog(int step, Address first, Address last, int length) {
  if (!link_.PortOpen()) {
    link_.error() = true;
    return;
  }
  link_.ShowProgress(0);
  for (Address a = 0; a < kImageSize; a += step) {
    link_.ui().ProcessEvents();
    // A block attempt clears the flag, so a Cancel taken here must count before the next write.
    if (link_.cancel()) break;
    link_.ShowProgress(Percent(a));
    if (a >= first && a <= last) {
      link_.WriteBlock(image_, a, length);
      if (link_.error() || link_.cancel()) break;
    } else {
      link_.clock().Sleep(kIdleStep);
    }
    if (link_.cancel()) break;
  }
  FinishLoop(kProgramCaption);
}

void Transfers::ClearDataDsc() {
  try {
    ClearLog(area::BlockSize, area::DscLogFirst, area::DscLogLastBlock, area::BlockSize);
  } catch (const LinkFault& f) {
    Trap("frmRadio.ClearDataDsc", f.error);
  } catch (const std::exception& e) {
    Trap("frmRadio.ClearDataDsc", FaultOf(e));
  }
}

void Transfers::ClearDataDistress() {
  try {
    ClearLog(area::DistressRecordSize, area::DistressLogFirst, area::DistressLogLastBlock, area::DistressRecordSize);
  } catch (const LinkFault& f) {
    Trap("frmRadio.ClearDataDistress", f.error);
  } catch (const std::exception& e) {
    Trap("frmRadio.ClearDataDistress", FaultOf(e));
  }
}

// ---- the transfer procedures ----

template <class Body>
void Transfers::Run(Body body) {
  pageLoading_ = true;
  link_.ui().SetBusy(true);
  if (!StatusCheck()) {
    link_.Message(kNotReady, Icon::Critical);
  } else {
    ReadDataChkModel();
    if (!link_.error()) body();
  }
  link_.ui().SetBusy(false);
  pageLoading_ = false;
}

void Transfers::RunReadTransfer() {
  Run([&] {
    link_.ShowStatus("radio reading...");
    // The radio's bytes land in a copy; the image changes only after a clean read.
    std::vector<std::uint8_t> buffer(image_.bytes().begin(), image_.bytes().end());
    ReadData(buffer);
    if (link_.error() || link_.cancel()) return;
    if (onRead_) onRead_(buffer, true);
    for (Address a = 0; a < kImageSize; ++a) {
      if (IsSettingsAddress(a)) image_.bytes()[static_cast<std::size_t>(a)] = buffer[static_cast<std::size_t>(a)];
    }
    DecodeImage(image_, record_);
    Succeeded();
  });
}

void Transfers::RunProgramTransfer() {
  readBack_.reset();
  Run([&] {
    link_.ShowStatus("radio writing...");
    WriteData();
    if (link_.error() || link_.cancel()) return;
    if (verify_ && !Verify()) return;
    Succeeded();
  });
}

// True when the radio holds what was written. A radio that answered every write but
// kept other bytes ends the transfer without "Complete!!" and with readBack() saying where.
bool Transfers::Verify() {
  link_.ShowStatus("radio verifying...");
  ReadBack back{image_, {}};
  VerifyData(back.radio.bytes());
  if (link_.error() || link_.cancel()) return false;
  if (onRead_) onRead_(back.radio.bytes(), false);
  for (Address a = 0; a < kImageSize; ++a) {
    if (IsSettingsAddress(a) && back.radio.GetByte(a) != image_.GetByte(a)) back.differing.push_back(a);
  }
  const bool same = back.differing.empty();
  if (!same) {
    char first[8];
    std::snprintf(first, sizeof first, "0x%04X", static_cast<unsigned>(back.differing.front()));
    link_.Diagnose("the radio answered every write but holds other values in " +
                   std::to_string(back.differing.size()) + " bytes, the first at " + first);
  }
  readBack_ = std::move(back);
  return same;
}

void Transfers::RunClearTransfer(int mode) {
  if (mode < transfer_mode::ClearMmsi || mode > transfer_mode::ClearDistressLog) return;
  Run([&] {
    const bool ok = [&] {
      if (mode == transfer_mode::ClearMmsi) {
        link_.ShowStatus("radio clear...");
        const std::uint8_t old = image_.GetByte(addr::UserMmsiCount);
        image_.SetByte(addr::UserMmsiCount, 0);
        ClearData();
        if (!link_.error() && !link_.cancel()) return true;
        image_.SetByte(addr::UserMmsiCount, old);
        return false;
      }
      const MemoryImage backup = image_;
      auto& bytes = image_.bytes();
      if (mode == transfer_mode::ClearDscLog) {
        link_.ShowStatus("radio clear DSC...");
        for (Address a = area::DscLogFirst; a < area::DistressLogFirst; ++a) bytes[static_cast<std::size_t>(a)] = 0xFF;
        ClearDataDsc();
      } else {
        link_.ShowStatus("radio clear Distress...");
        for (Address r = area::DistressLogFirst; r <= area::DistressLogLastRecord; r += area::DistressRecordSize) {
          for (int i = 0; i < area::DistressClearedBytes; ++i) bytes[static_cast<std::size_t>(r + i)] = 0xFF;
        }
        ClearDataDistress();
      }
      if (!link_.error() && !link_.cancel()) return true;
      image_ = backup;
      return false;
    }();
    if (ok) Succeeded();
  });
}

}  // namespace qm47
