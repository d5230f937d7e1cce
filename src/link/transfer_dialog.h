// What the transfer dialog does, without drawing it: its caption and instructions,
// where the progress bar stands, what OK runs and when the dialog stays open.
#pragma once

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

// Left edge of the bar inside a frame `frameWidth` wide: wholly outside at 0, filling it at 100.
int ProgressBarLeft(int percent, int frameWidth);

enum class DialogState { Idle, Running, Closed };

// Why the help viewer could not show a topic: the system's words and what to do instead.
struct HelpFailure {
  std::string description;
  std::string detail;
};

class TransferDialog {
 public:
  TransferDialog(int mode, Link& link, Transfers& transfers, bool& pageLoading);

  int mode() const { return mode_; }
  const std::string& caption() const { return caption_; }
  // The source stands on the left: the radio for a read, the PC otherwise.
  bool RadioOnLeft() const { return mode_ == transfer_mode::Read; }
  DialogState state() const { return state_; }
  bool OkEnabled() const { return state_ == DialogState::Idle; }
  bool HelpEnabled() const { return state_ == DialogState::Idle; }

  // Loading: the first monitor text and an empty bar.
  void Load();
  // OK: connect, run the mode's transfer, then close unless the error flag is raised.
  void Ok();
  // Cancel: raises the cancel flag while a transfer runs, else closes. True when closed.
  bool Cancel();
  // Close box: refused while a transfer runs; closing releases the port.
  bool RequestClose();
  // Help: topic kTransferHelpTopic through `open` when the program has help, else the
  // documented message. A viewer that fails is reported without an icon.
  void Help(bool helpExists, const std::function<std::optional<HelpFailure>(int topic)>& open);

 private:
  int mode_;
  std::string caption_;
  Link& link_;
  Transfers& transfers_;
  bool& pageLoading_;
  DialogState state_ = DialogState::Idle;
};

}  // namespace qm47
