#include "gui/input_blocker.h"

#include <QApplication>
#include <QEvent>

namespace qm47 {

void InputBlocker::Block(bool on) {
  if (on) {
    if (depth_++ == 0) qApp->installEventFilter(this);
  } else if (depth_ > 0 && --depth_ == 0) {
    qApp->removeEventFilter(this);
  }
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!window_ || !widget || widget->window() != window_) return false;
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Accepted here, the key is no shortcut; its key press is then dropped below.
      event->accept();
      return true;
    case QEvent::Close:
      event->ignore();
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
      return true;
    default:
      return false;
  }
}

}  // namespace qm47
