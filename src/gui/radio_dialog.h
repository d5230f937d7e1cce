// frmRadio, the transfer dialog: instructions, OK and Cancel, the progress bar and the
// monitor line, driving one radio transfer over the chosen serial port.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <memory>
#include <string>

#include "editor/session.h"
#include "editor/transfer.h"
#include "platform/qt_serial_line.h"
#include "seams/clock.h"

namespace qm47 {

class RadioDialog final : public QDialog {
  Q_OBJECT

 public:
  RadioDialog(Session& s, int mode, const std::string& device, QWidget* parent = nullptr);
  ~RadioDialog() override;

  // The transfer ended with "Complete!!".
  bool succeeded() const { return transfer_.succeeded(); }

 protected:
  // The close box: refused while a transfer runs.
  void reject() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class DialogUi;

  void Ok();
  void Cancel();
  void DrawButtons();

  std::unique_ptr<DialogUi> ui_;
  QtSerialLine line_;
  PausingClock clock_;
  RadioTransfer transfer_;
  QLabel* monitor_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace qm47
