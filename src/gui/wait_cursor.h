// The hourglass for a scope: put back however the scope ends, so an exception never
// leaves the pointer busy.
#pragma once

#include <QApplication>

namespace qm47 {

class WaitCursor {
 public:
  explicit WaitCursor(Qt::CursorShape shape = Qt::WaitCursor) { QApplication::setOverrideCursor(shape); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace qm47
