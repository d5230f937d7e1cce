#include <cerrno>
#include <cstdio>
#include <iostream>

#include <poll.h>
#include <unistd.h>

#include "cli/cli.h"
#include "cli/interrupts.h"

namespace qm47::cli {

namespace {
constexpr const char* kWaiting = "waiting for the radio\u2026";
// Columns of kWaiting: the progress line is padded to cover it.
constexpr int kLineWidth = 22;
// After a signal, how long a full pipe may hold up what is still to be said.
constexpr int kStuckMs = 1000;

// All of `text` to standard error, straight to the descriptor: a reader that stopped
// reading must not keep a signalled tool from ending, so after a signal a pipe that stays
// full for a second gets no more.
void Err(std::string_view text) {
  std::cerr.flush();
  while (!text.empty()) {
    if (PendingInterrupt() != 0) {
      pollfd p{STDERR_FILENO, POLLOUT, 0};
      if (::poll(&p, 1, kStuckMs) <= 0) return;
    }
    const ssize_t n = ::write(STDERR_FILENO, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}
}  // namespace

CliUserInterface::CliUserInterface(bool yes) : yes_(yes), terminal_(isatty(STDERR_FILENO) != 0) {}

void CliUserInterface::EndProgressLine() {
  if (progressShown_) Err("\n");
  progressShown_ = false;
  waiting_ = false;
}

Answer CliUserInterface::Show(const MessageBox& box) {
  EndProgressLine();
  Err(box.text + "\n");
  if (!box.detail.empty()) Err(box.detail + "\n");
  switch (box.buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return yes_ ? Answer::Ok : Answer::Cancel;
    case Buttons::YesNo: return yes_ ? Answer::Yes : Answer::No;
    case Buttons::YesNoCancel: return yes_ ? Answer::Yes : Answer::Cancel;
    case Buttons::RetryCancel: return yes_ ? Answer::Retry : Answer::Cancel;
  }
  return Answer::Cancel;
}

std::string CliUserInterface::HowToChooseModel(int number, const std::string& /*name*/) const {
  return "run qm47-cli with --model " + std::to_string(number);
}

void CliUserInterface::Line(const std::string& text) {
  EndProgressLine();
  Err(text + "\n");
}

void CliUserInterface::DrawProgress() {
  char text[32] = "";
  if (maximum_ > 0) std::snprintf(text, sizeof text, "%3d%% (%d/%d)", 100 * value_ / maximum_, value_, maximum_);
  char line[40];
  std::snprintf(line, sizeof line, "\r%-*s", kLineWidth, text);
  Err(line);
}

void CliUserInterface::Progress(int value, int maximum) {
  // Only a person at a terminal wants the moving line.
  if (!terminal_ || maximum <= 0) return;
  value_ = value;
  maximum_ = maximum;
  waiting_ = false;
  DrawProgress();
  progressShown_ = value < maximum;
  if (!progressShown_) Err("\n");
}

void CliUserInterface::Waiting(bool waiting) {
  if (!terminal_ || waiting == waiting_) return;
  waiting_ = waiting;
  if (waiting) {
    Err(std::string("\r") + kWaiting);
    progressShown_ = true;
  } else if (progressShown_) {
    DrawProgress();
  }
}

void CliUserInterface::Monitor(const std::string& line) {
  if (verbose_) Line(line);
}

}  // namespace qm47::cli
