// A radio transfer on the session: the transfer dialog's logic over the session's
// image, record, model and flags, and what the session knows the radio holds after it.
//
// Beside it in radio/: the transfer dialog's rules (captions, the bar, the account of the
// radio's state), the backup of every read, and the change list before programming.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "editor/radio/radio_backup.h"
#include "editor/session/session.h"
#include "editor/radio/transfer_dialog.h"
#include "link/link.h"
#include "link/serial_line.h"
#include "link/transfers.h"
#include "seams/clock.h"

namespace qm47 {

// "COM1 (/dev/ttyUSB0)": the port number as the menu names it, and the device it stands for.
std::string SerialPortText(int number, const std::string& device);

// Which transfer a dialog runs, and how.
struct TransferJob {
  int mode = transfer_mode::Read;
  // A read into a scratch image: the session's image and record stay as the user left them.
  bool scratch = false;
  // A program transfer reads the written areas back and compares them.
  bool verify = false;
  // With `verify`: only the blocks written are read back, not every settings block.
  bool checkWrittenOnly = false;
  // A program transfer writes only what differs from the radio's last whole read in this
  // session, when there is one and the radio is still the one read.
  bool changedOnly = false;
  // A program transfer first reads the whole radio on the same connection (kept as a
  // backup); `beforeWrite`, told where the backup went, then decides whether anything is
  // written.
  bool readFirst = false;
  std::function<bool(const RadioBackup& kept)> beforeWrite = {};
};

// What a transfer left for the command that ran it.
struct TransferOutcome {
  bool completed = false;             // ended with "Complete!!"
  TransferResult result;              // how it ended, and what the radio may now hold
  std::optional<RadioBackup> backup;  // a read: where what the radio sent was kept
  std::optional<ReadBack> readBack;   // a verified program transfer: what the radio holds
};

class RadioTransfer {
 public:
  RadioTransfer(Session& s, SerialLine& line, Clock& clock, int mode);
  // The same with another user interface than the session's (the CLI adds its notes).
  RadioTransfer(Session& s, SerialLine& line, Clock& clock, int mode, UserInterface& ui);
  RadioTransfer(Session& s, SerialLine& line, Clock& clock, const TransferJob& job, UserInterface& ui);

  TransferDialog& dialog() { return dialog_; }
  Link& link() { return link_; }
  Transfers& transfers() { return transfers_; }
  // The last press of OK ended with "Complete!!".
  bool succeeded() const { return dialog_.completed(); }
  TransferOutcome outcome() const;

 private:
  // Every read is kept before anything else happens to it, and remembered as the radio's.
  void Received(std::span<const std::uint8_t> radio, bool whole);
  // What the session knows of the radio after a transfer that may have written to it.
  void Finished(const TransferResult& result);

  Session& s_;
  int mode_;
  MemoryImage scratchImage_;
  SettingsRecord scratchRecord_;
  std::optional<RadioBackup> backup_;
  Link link_;
  Transfers transfers_;
  TransferDialog dialog_;
};

}  // namespace qm47
