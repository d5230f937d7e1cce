#include "link/transfer_dialog.h"

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

TransferDialog::TransferDialog(int mode, Link& link, Transfers& transfers, bool& pageLoading)
    : mode_(mode), caption_(OperationTitle(mode)), link_(link), transfers_(transfers), pageLoading_(pageLoading) {
  link_.SetCaption(caption_);
}

void TransferDialog::Load() {
  link_.ui().SetBusy(true);
  link_.ShowStatus("starting at debug mode..");
  link_.ShowProgress(0);
  link_.ui().SetBusy(false);
}

void TransferDialog::Ok() {
  if (state_ != DialogState::Idle) return;
  state_ = DialogState::Running;
  pageLoading_ = true;
  link_.ui().SetBusy(true);
  const auto idle = [&] {
    link_.ui().SetBusy(false);
    pageLoading_ = false;
  };

  link_.ShowStatus("startsync...");
  if (!link_.Connect()) {
    link_.ShowStatus("can not syncing!!");
    idle();
    state_ = DialogState::Idle;
    return;
  }
  link_.ShowStatus("sync ok");
  switch (mode_) {
    case transfer_mode::Read:
      transfers_.RunReadTransfer();
      break;
    case transfer_mode::Program:
      transfers_.PrepareImageForProgram();
      transfers_.RunProgramTransfer();
      break;
    case transfer_mode::ClearMmsi:
    case transfer_mode::ClearDscLog:
    case transfer_mode::ClearDistressLog:
      transfers_.RunClearTransfer(mode_);
      break;
    default:
      break;
  }
  link_.ShowProgress(0);
  idle();
  if (link_.error()) {
    state_ = DialogState::Idle;
  } else {
    state_ = DialogState::Closed;
    link_.PortClose();
  }
}

bool TransferDialog::Cancel() {
  if (pageLoading_) {
    link_.cancel() = true;
    return false;
  }
  return RequestClose();
}

bool TransferDialog::RequestClose() {
  if (pageLoading_) return false;
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
