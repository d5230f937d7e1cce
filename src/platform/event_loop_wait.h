// Waiting inside a window: the event loop runs (repaints, the transfer dialog's Cancel)
// while the time passes, and no core is burnt.
#pragma once

namespace qm47 {

// Runs the event loop for `milliseconds`, then returns. Needs a QCoreApplication.
void WaitProcessingEvents(int milliseconds);
// Handles what is pending now, without waiting for more.
void ProcessPendingEvents();

}  // namespace qm47
