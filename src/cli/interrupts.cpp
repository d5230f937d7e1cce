#include "cli/interrupts.h"

#include <csignal>

namespace qm47::cli {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t noted = 0;

void Note(int signal) {
  if (noted == 0) noted = signal;
}

}  // namespace

InterruptGuard::InterruptGuard() {
  noted = 0;
  for (int i = 0; i < 3; ++i) {
    struct sigaction sa {};
    sa.sa_handler = Note;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESETHAND;
    sigaction(kSignals[i], &sa, &saved_[i]);
    // A signal ignored by whoever started us (SIGINT of a background job) stays ignored.
    if (saved_[i].sa_handler == SIG_IGN) sigaction(kSignals[i], &saved_[i], nullptr);
  }
}

InterruptGuard::~InterruptGuard() {
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &saved_[i], nullptr);
}

int PendingInterrupt() { return noted; }

const char* SignalName(int signal) {
  switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "a signal";
  }
}

}  // namespace qm47::cli
