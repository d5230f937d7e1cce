// The text report in a window of its own (File > Print to File), with File > Save.
#pragma once

#include <QMainWindow>
#include <QPlainTextEdit>
#include <string>

#include "editor/session/session.h"

namespace qm47 {

class ReportWindow final : public QMainWindow {
  Q_OBJECT

 public:
  // A window of its own over `parent`, deleted when closed. It says "Now, making text
  // image. Please wait..." until the text is built, once, shortly after it is shown.
  ReportWindow(Session& s, QWidget* parent);

  bool textMade() const { return made_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void MakeText();
  void Save();

  Session& s_;
  QPlainTextEdit* text_;
  std::string image_;  // the text image as built, which Save writes
  bool made_ = false;
  bool scheduled_ = false;
};

}  // namespace qm47
