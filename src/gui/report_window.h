// The text report in a window of its own (File > Print to File), and the printed report.
#pragma once

#include <QMainWindow>
#include <QPlainTextEdit>
#include <string>

#include "editor/session.h"

namespace qm47 {

class ReportWindow final : public QMainWindow {
  Q_OBJECT

 public:
  // A window of its own over `parent`, deleted when closed.
  ReportWindow(Session& s, QWidget* parent);

 private:
  void MakeText();
  void Save();

  Session& s_;
  QPlainTextEdit* text_;
  std::string image_;  // the text image as built, which Save writes
};

// The printed report on a printer the user chooses; false when cancelled or failed.
bool PrintSettingsReport(Session& s, QWidget* parent);

}  // namespace qm47
