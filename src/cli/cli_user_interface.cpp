#include <cstdio>
#include <iostream>

#include <unistd.h>

#include "cli/cli.h"

namespace qm47::cli {

namespace {
constexpr const char* kWaiting = "waiting for the radio\u2026";
// Columns of kWaiting: the progress line is padded to cover it.
constexpr int kLineWidth = 22;
}  // namespace

CliUserInterface::CliUserInterface(bool yes) : yes_(yes), terminal_(isatty(STDERR_FILENO) != 0) {}

void CliUserInterface::EndProgressLine() {
  if (progressShown_) std::cerr << '\n';
  progressShown_ = false;
  waiting_ = false;
}

Answer CliUserInterface::Show(const MessageBox& box) {
  EndProgressLine();
  std::cerr << box.text << std::endl;
  if (!box.detail.empty()) std::cerr << box.detail << std::endl;
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
  std::cerr << text << std::endl;
}

void CliUserInterface::DrawProgress() {
  char text[32] = "";
  if (maximum_ > 0) std::snprintf(text, sizeof text, "%3d%% (%d/%d)", 100 * value_ / maximum_, value_, maximum_);
  std::fprintf(stderr, "\r%-*s", kLineWidth, text);
  std::fflush(stderr);
}

void CliUserInterface::Progress(int value, int maximum) {
  // Only a person at a terminal wants the moving line.
  if (!terminal_ || maximum <= 0) return;
  value_ = value;
  maximum_ = maximum;
  waiting_ = false;
  DrawProgress();
  progressShown_ = value < maximum;
  if (!progressShown_) std::fputc('\n', stderr);
}

void CliUserInterface::Waiting(bool waiting) {
  if (!terminal_ || waiting == waiting_) return;
  waiting_ = waiting;
  if (waiting) {
    std::fprintf(stderr, "\r%s", kWaiting);
    std::fflush(stderr);
    progressShown_ = true;
  } else if (progressShown_) {
    DrawProgress();
  }
}

void CliUserInterface::Monitor(const std::string& line) {
  if (verbose_) Line(line);
}

}  // namespace qm47::cli
