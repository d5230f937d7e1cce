// Ctrl+C, SIGTERM and SIGHUP during a radio command: noted, never acted on in the handler,
// so the running transfer ends as Cancel ends it and no further step starts.
#pragma once

#include <csignal>

namespace qm47::cli {

// While one lives, SIGINT, SIGTERM and SIGHUP are noted instead of ending the tool, for
// the whole command: a signal between two transfers is kept for the next check. Each
// handler goes with its first signal, so a second one ends the tool at once. Blocking
// calls are not restarted, so a write stuck on a full pipe gives way to the signal.
class InterruptGuard {
 public:
  InterruptGuard();
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  struct sigaction saved_[3] = {};
};

// The first signal noted, 0 for none.
int PendingInterrupt();

// "SIGINT", "SIGTERM", "SIGHUP".
const char* SignalName(int signal);

}  // namespace qm47::cli
