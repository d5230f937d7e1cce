// A radio transfer on the session: the transfer dialog's logic over the session's
// image, record, model and flags.
#pragma once

#include <string>

#include "editor/session.h"
#include "link/link.h"
#include "link/serial_line.h"
#include "link/transfer_dialog.h"
#include "link/transfers.h"
#include "seams/clock.h"

namespace qm47 {

// "COM1 (/dev/ttyUSB0)": the port number as the menu names it, and the device it stands for.
std::string SerialPortText(int number, const std::string& device);

class RadioTransfer {
 public:
  RadioTransfer(Session& s, SerialLine& line, Clock& clock, int mode);
  // The same with another user interface than the session's (the CLI adds its notes).
  RadioTransfer(Session& s, SerialLine& line, Clock& clock, int mode, UserInterface& ui);

  TransferDialog& dialog() { return dialog_; }
  Link& link() { return link_; }
  Transfers& transfers() { return transfers_; }
  // Raised by a transfer that ended with "Complete!!".
  bool succeeded() const { return transferSuccess_; }
  void ClearSuccess() { transferSuccess_ = false; }

 private:
  bool transferSuccess_ = false;
  Link link_;
  Transfers transfers_;
  TransferDialog dialog_;
};

}  // namespace qm47
