#include <cstdio>
#include <iostream>

#include <unistd.h>

#include "cli/cli.h"

namespace qm47::cli {

Answer CliUserInterface::Message(const std::string& text, const std::string& /*caption*/, Icon /*icon*/,
                                 Buttons buttons) {
  if (progressShown_) {
    std::cerr << '\n';
    progressShown_ = false;
  }
  std::cerr << text << std::endl;
  switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return yes_ ? Answer::Ok : Answer::Cancel;
    case Buttons::YesNo: return yes_ ? Answer::Yes : Answer::No;
    case Buttons::YesNoCancel: return yes_ ? Answer::Yes : Answer::Cancel;
    case Buttons::RetryCancel: return yes_ ? Answer::Retry : Answer::Cancel;
  }
  return Answer::Cancel;
}

Answer CliUserInterface::MessageWithDetail(const std::string& text, const std::string& detail,
                                           const std::string& caption, Icon icon, Buttons buttons) {
  const Answer answer = Message(text, caption, icon, buttons);
  if (!detail.empty()) std::cerr << detail << std::endl;
  return answer;
}

std::string CliUserInterface::HowToChooseModel(int number, const std::string& /*name*/) const {
  return "run qm47-cli with --model " + std::to_string(number);
}

void CliUserInterface::Progress(int value, int maximum) {
  // Only a person at a terminal wants the moving line.
  if (!isatty(STDERR_FILENO) || maximum <= 0) return;
  std::fprintf(stderr, "\r%3d%% (%d/%d)", 100 * value / maximum, value, maximum);
  std::fflush(stderr);
  progressShown_ = value < maximum;
  if (!progressShown_) std::fputc('\n', stderr);
}

void CliUserInterface::Monitor(const std::string& line) {
  if (verbose_) std::cerr << line << std::endl;
}

}  // namespace qm47::cli
