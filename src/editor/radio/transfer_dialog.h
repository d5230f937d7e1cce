// What the transfer dialog does, without drawing it: its caption and instructions,
// where the progress bar stands, what OK runs, when the dialog stays open, and what the
// user is told about the radio when a transfer does not complete.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "link/link.h"
#include "link/transfers.h"

namespace qm47 {

// "Read from Radio", "Program to Radio", "Clear MMSI Data", ... ; "" for other modes.
std::string OperationTitle(int mode);

// Five lines joined by CR LF.
extern const char* const kTransferInstructions;
inline constexpr int kTransferHelpTopic = 1012;
// Shown (information icon, dialog caption) when the program has no help file.
inline constexpr const char* kNoHelpMessage =
    "Unable to display Help Contents. There is no Help associated with this project.";
// The monitor text of a failed connect, and the headline when the radio never answered.
inline constexpr const char* kCannotSync = "can not syncing!!";

// Left edge of the bar inside a frame `frameWidth` wide: wholly outside at 0, filling it at 100.
int ProgressBarLeft(int percent, int frameWidth);

// A running transfer whose line has been quiet this long is waiting on a silent radio:
// longer than any pause of the link between a request and its answer.
inline constexpr std::chrono::seconds kSilenceShown{2};
inline bool RadioSeemsSilent(bool running, std::chrono::steady_clock::duration quiet) {
  return running && quiet > kSilenceShown;
}

enum class DialogState { Idle, Running, Closed };

// Why the help viewer could not show a topic: the system's words and what to do instead.
struct HelpFailure {
  std::string description;
  std::string detail;
};

class TransferDialog {
 public:
  TransferDialog(int mode, Link& link, Transfers& transfers);

  int mode() const { return mode_; }
  const std::string& caption() const { return caption_; }
  // The source stands on the left: the radio for a read, the PC otherwise.
  bool RadioOnLeft() const { return mode_ == transfer_mode::Read; }
  DialogState state() const { return state_; }
  bool running() const { return state_ == DialogState::Running; }
  bool OkEnabled() const { return state_ == DialogState::Idle; }
  bool HelpEnabled() const { return state_ == DialogState::Idle; }
  // How the last press of OK ended; nullopt before the first.
  const std::optional<TransferResult>& result() const { return result_; }
  bool completed() const { return result_ && result_->completed(); }

  // Off: a transfer that did not complete is left for the caller to account for (the
  // command line says it in its closing line).
  void SetTellsRadioState(bool tells) { tellsRadioState_ = tells; }
  // Called with the result of every press of OK, before anything is told.
  void OnFinished(std::function<void(const TransferResult&)> finished) { finished_ = std::move(finished); }

  // Loading: the first monitor text and an empty bar.
  void Load();
  // OK: connect, run the mode's transfer, then close unless it failed. A transfer that
  // did not complete ends with one message on what the radio now holds.
  void Ok();
  // Cancel: stops a running transfer, else closes. True when closed.
  bool Cancel();
  // Close box: refused while a transfer runs; closing releases the port.
  bool RequestClose();
  // Help: topic kTransferHelpTopic through `open` when the program has help, else the
  // documented message. A viewer that fails is reported without an icon.
  void Help(bool helpExists, const std::function<std::optional<HelpFailure>(int topic)>& open);

 private:
  TransferResult Run();
  void TellRadioState(const TransferResult& r, bool connectUntold);

  int mode_;
  std::string caption_;
  Link& link_;
  Transfers& transfers_;
  DialogState state_ = DialogState::Idle;
  std::optional<TransferResult> result_;
  bool tellsRadioState_ = true;
  std::function<void(const TransferResult&)> finished_;
};

}  // namespace qm47
