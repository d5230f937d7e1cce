// "The window takes no input" without greying it out: while blocked, mouse, keys and the
// close box never reach the window's widgets, but message boxes and dialogs still answer.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace qm47 {

class InputBlocker final : public QObject {
 public:
  void SetWindow(QWidget* window) { window_ = window; }
  // Blocks nest: the window takes input again when every Block(true) has its Block(false).
  void Block(bool on);
  bool blocking() const { return depth_ > 0; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
  int depth_ = 0;
};

}  // namespace qm47
