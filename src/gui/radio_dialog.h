// frmRadio, the transfer dialog: the instructions, the direction of the transfer in two
// pictures with the progress bar between them, OK, Cancel and Help, and in debug mode the
// monitor line. It draws what the dialog's logic (editor/transfer_dialog.h) decides.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <memory>
#include <string>

#include "editor/session/session.h"
#include "editor/radio/transfer.h"
#include "link/serial_line.h"
#include "link/watched_line.h"
#include "seams/clock.h"

namespace qm47 {

class HelpWindow;

// Where a transfer runs: the chosen port, and the time it waits by. By default the
// window's serial port and steady time whose waits keep the window repainting.
struct TransferLine {
  std::function<std::unique_ptr<SerialLine>(const std::string& device)> open;
  Clock* clock = nullptr;
};

class RadioDialog final : public QDialog {
  Q_OBJECT

 public:
  // `port` names the port for the user ("COM1 (/dev/ttyUSB0)"); `clock` nullptr for steady time.
  RadioDialog(Session& s, const TransferJob& job, const std::string& port, SerialLine& line, Clock* clock,
              QWidget* parent = nullptr);
  ~RadioDialog() override;

  // The transfer ended with "Complete!!".
  bool succeeded() const { return transfer_->succeeded(); }
  TransferOutcome outcome() const { return transfer_->outcome(); }
  // What the transfer draws on: monitor line, progress, busy state.
  UserInterface& userInterface();

 protected:
  // The close box: refused while a transfer runs.
  void reject() override;
  // Escape is the Cancel button: during a transfer it cancels the transfer.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class DialogUi;

  void BuildLayout(const std::string& dataFolder, const std::string& port, bool debugMode);
  void Ok();
  void Cancel();
  void Help();
  void DrawButtons();
  void DrawProgress(int percent);
  // A radio silent for a while during a transfer is said to be so, in words.
  void DrawWaiting();

  Session& s_;
  std::unique_ptr<DialogUi> ui_;
  std::unique_ptr<Clock> ownClock_;
  WatchedLine line_;
  std::unique_ptr<RadioTransfer> transfer_;
  QLabel* waiting_ = nullptr;
  QLabel* monitor_ = nullptr;
  QFrame* progressFrame_ = nullptr;
  QLabel* progressBar_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* help_ = nullptr;
  HelpWindow* helpWindow_ = nullptr;
};

}  // namespace qm47
