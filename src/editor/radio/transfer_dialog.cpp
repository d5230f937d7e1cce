#include "editor/radio/transfer_dialog.h"

#include <algorithm>

namespace qm47 {

const char* const kTransferInstructions =
    "1.Connect the KVX cable between the PC serial port and the radio.\r\n"
    "2.On the radio, press and hold [DISTRESS] and [CALL] keys while\r\n"
    "   turning the power on.\r\n"
    "   The radios display will show UART.\r\n"
    "3.Press the [OK] button to start.";

std::string OperationTitle(int mode) {
  switch (mode) {
    case transfer_mode::Read: return "Read from Radio";
    case transfer_mode::Program: return "Program to Radio";
    case transfer_mode::ClearMmsi: return "Clear MMSI Data";
    case transfer_mode::ClearDscLog: return "Clear DSC Log Data";
    case transfer_mode::ClearDistressLog: return "Clear Distress Log Data";
    default: return "";
  }
}

int ProgressBarLeft(int percent, int frameWidth) {
  const int p = std::min(percent, 100);
  return frameWidth * p / 100 - frameWidth;
}

TransferDialog::TransferDialog(int mode, Link& link, Transfers& transfers)
    : mode_(mode), caption_(OperationTitle(mode)), link_(link), transfers_(transfers) {
  link_.SetCaption(caption_);
}

void TransferDialog::Load() {
  const BusyScope busy(link_.ui());
  link_.ShowStatus("starting at debug mode..");
  link_.ShowProgress(0);
}

void TransferDialog::Ok() {
  if (state_ != DialogState::Idle) return;
  state_ = DialogState::Running;
  TransferResult r;
  {
    const BusyScope busy(link_.ui());
    r = Run();
    link_.ShowProgress(0);
  }
  result_ = r;
  state_ = r.closesDialog ? DialogState::Closed : DialogState::Idle;
  if (state_ == DialogState::Closed) link_.PortClose();
}

TransferResult TransferDialog::Run() {
  link_.ShowStatus("startsync...");
  const int told = link_.messagesShown();
  if (!link_.Connect()) {
    link_.ShowStatus(kCannotSync);
    TransferResult r;
    r.ending = link_.CancelRequested() ? Ending::Cancelled : Ending::Failed;
    r.diagnosis = link_.Diagnosis();
    TellRadioState(r, link_.messagesShown() == told);
    return r;
  }
  link_.ShowStatus("sync ok");
  TransferResult r;
  switch (mode_) {
    case transfer_mode::Read:
      r = transfers_.RunReadTransfer();
      break;
    case transfer_mode::Program:
      transfers_.PrepareImageForProgram();
      r = transfers_.RunProgramTransfer();
      break;
    case transfer_mode::ClearMmsi:
    case transfer_mode::ClearDscLog:
    case transfer_mode::ClearDistressLog:
      r = transfers_.RunClearTransfer(mode_);
      break;
    default:
      // Connected, nothing to do: the dialog closes as after any finished run.
      r.ending = Ending::Done;
      r.closesDialog = true;
      return r;
  }
  // A read-back that found differences is listed by the command that asked for it.
  const bool listed = transfers_.readBack() && !transfers_.readBack()->differing.empty();
  if (finished_) finished_(r);
  if (!r.completed() && !listed) TellRadioState(r, false);
  return r;
}

void TransferDialog::TellRadioState(const TransferResult& r, bool connectUntold) {
  if (!tellsRadioState_) return;
  MessageBox box;
  box.caption = caption_;
  const std::string state = RadioStateText(mode_, r.radio);
  if (connectUntold) {
    // Silence, or a cancel during the connect: nothing else has been said.
    box.text = kCannotSync;
    box.icon = Icon::Critical;
    box.detail = (r.diagnosis.empty() ? std::string() : r.diagnosis + ". ") + state;
  } else {
    box.text = state;
    box.icon = r.radio == RadioState::Unchanged ? Icon::Information : Icon::Exclamation;
    if (!r.diagnosisShown && !r.diagnosis.empty()) box.detail = "What happened: " + r.diagnosis + ".";
    if (r.radio == RadioState::PartlyWritten && !r.written.empty()) {
      box.detail += std::string(box.detail.empty() ? "" : "\n") + "Sent to the radio before it stopped: " + AreasText(r.written) + ".";
    }
  }
  link_.ui().Show(box);
}

bool TransferDialog::Cancel() {
  if (state_ == DialogState::Running) {
    link_.RequestCancel();
    return false;
  }
  return RequestClose();
}

bool TransferDialog::RequestClose() {
  if (state_ == DialogState::Running) return false;
  state_ = DialogState::Closed;
  link_.PortClose();
  return true;
}

void TransferDialog::Help(bool helpExists, const std::function<std::optional<HelpFailure>(int topic)>& open) {
  if (!HelpEnabled()) return;
  if (!helpExists) {
    link_.Message(kNoHelpMessage, Icon::Information);
    return;
  }
  if (const auto failure = open(kTransferHelpTopic)) {
    link_.ui().MessageWithDetail(failure->description, failure->detail, caption_, Icon::None, Buttons::Ok);
  }
}

}  // namespace qm47
