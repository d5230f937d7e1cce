#include "platform/event_loop_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace qm47 {

void WaitProcessingEvents(int milliseconds) {
  if (milliseconds <= 0) {
    ProcessPendingEvents();
    return;
  }
  QEventLoop loop;
  QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

void ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

}  // namespace qm47
