// A user who answers from a script and remembers every message shown.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "seams/user_interface.h"

namespace qm47::testing {

class RecordingUi : public UserInterface {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    Icon icon;
    Buttons buttons;
    std::string detail;
  };

  Answer Message(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override {
    shown.push_back({text, caption, icon, buttons, {}});
    if (!answers.empty()) {
      const Answer a = answers.front();
      answers.pop_front();
      return a;
    }
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  }
  Answer MessageWithDetail(const std::string& text, const std::string& detail, const std::string& caption, Icon icon,
                           Buttons buttons) override {
    const Answer a = Message(text, caption, icon, buttons);
    shown.back().detail = detail;
    return a;
  }
  void Monitor(const std::string& line) override { monitor.push_back(line); }
  void Pause(int milliseconds) override { pausedMs += milliseconds; }

  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& s : shown) t.push_back(s.text);
    return t;
  }

  std::vector<Shown> shown;
  std::deque<Answer> answers;
  std::vector<std::string> monitor;
  int pausedMs = 0;
};

}  // namespace qm47::testing
