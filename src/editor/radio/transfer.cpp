#include "editor/radio/transfer.h"

#include <algorithm>

namespace qm47 {

std::string SerialPortText(int number, const std::string& device) {
  return "COM" + std::to_string(number) + " (" + device + ")";
}

RadioTransfer::RadioTransfer(Session& s, SerialLine& line, Clock& clock, int mode)
    : RadioTransfer(s, line, clock, TransferJob{mode}, s.ui) {}

RadioTransfer::RadioTransfer(Session& s, SerialLine& line, Clock& clock, int mode, UserInterface& ui)
    : RadioTransfer(s, line, clock, TransferJob{mode}, ui) {}

RadioTransfer::RadioTransfer(Session& s, SerialLine& line, Clock& clock, const TransferJob& job, UserInterface& ui)
    : s_(s),
      mode_(job.mode),
      scratchImage_(s.image),
      scratchRecord_(s.record),
      link_(line, clock, ui, s.errorLog, LinkOptions{s.startup.debugMode, s.startup.baud19200, 3}),
      transfers_(link_, job.scratch ? scratchImage_ : s.image, job.scratch ? scratchRecord_ : s.record, s.model),
      dialog_(job.mode, link_, transfers_) {
  transfers_.OnRadioRead([this](std::span<const std::uint8_t> radio, bool whole) { Received(radio, whole); });
  ProgramOptions program;
  program.check = !job.verify              ? ProgramCheck::None
                  : job.checkWrittenOnly ? ProgramCheck::Written
                                         : ProgramCheck::Whole;
  program.changedOnly = job.changedOnly;
  if (job.changedOnly && !job.readFirst) program.knownRadio = s.radioImage;
  program.readFirst = job.readFirst;
  if (job.beforeWrite) {
    program.beforeWrite = [this, decide = job.beforeWrite] {
      return decide(backup_.value_or(RadioBackup{"", "no backup was written."}));
    };
  }
  transfers_.SetProgramOptions(std::move(program));
  dialog_.OnFinished([this](const TransferResult& r) { Finished(r); });
}

void RadioTransfer::Finished(const TransferResult& result) {
  // Written to without a check that finished: no read of it can be trusted any more.
  if (result.radioUnknown) s_.radioImage.reset();
  if (mode_ == transfer_mode::ClearMmsi && result.completed() && s_.radioImage) {
    s_.radioImage->SetByte(addr::UserMmsiCount, 0);
  }
}

void RadioTransfer::Received(std::span<const std::uint8_t> radio, bool whole) {
  // A verify's read-back is what was just written: nothing worth keeping.
  if (whole) backup_ = BackUpRadio(s_, radio, std::chrono::system_clock::now());
  MemoryImage image;
  std::copy(radio.begin(), radio.end(), image.bytes().begin());
  s_.radioImage = image;
}

TransferOutcome RadioTransfer::outcome() const {
  return {dialog_.completed(), dialog_.result().value_or(TransferResult{}), backup_, transfers_.readBack()};
}

}  // namespace qm47
