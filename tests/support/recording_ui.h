// A user who answers from a script and remembers every message shown.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "seams/user_interface.h"

namespace qm47::testing {

class RecordingUi : public UserInterface {
 public:
  using Shown = MessageBox;

  Answer Show(const MessageBox& box) override {
    shown.push_back(box);
    if (onShow) onShow();
    if (!answers.empty()) {
      const Answer a = answers.front();
      answers.pop_front();
      return a;
    }
    return box.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  }
  // Answers file dialogs from `files` in turn; cancelled when the script runs out.
  std::optional<std::string> ChooseFile(const FileChoice& choice) override {
    fileChoices.push_back(choice);
    if (files.empty()) return std::nullopt;
    const auto chosen = files.front();
    files.pop_front();
    return chosen;
  }
  // Answers list choices from `items` in turn; cancelled when the script runs out.
  std::optional<int> ChooseItem(const ItemChoice& choice) override {
    itemChoices.push_back(choice);
    if (items.empty()) return std::nullopt;
    const auto chosen = items.front();
    items.pop_front();
    return chosen;
  }
  void Monitor(const std::string& line) override { monitor.push_back(line); }
  // The user's moment to act while the program works (click Cancel, ...).
  void ProcessEvents() override {
    if (onEvents) onEvents();
  }
  void SetBusy(bool busy) override { busy_ = busy; }
  // The window repaints and takes clicks during a pause too.
  void Pause(int milliseconds) override {
    pausedMs += milliseconds;
    if (onPause) onPause();
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& s : shown) t.push_back(s.text);
    return t;
  }
  bool busy() const { return busy_; }

  std::vector<MessageBox> shown;
  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> files;
  std::vector<FileChoice> fileChoices;
  std::deque<std::optional<int>> items;
  std::vector<ItemChoice> itemChoices;
  std::vector<std::string> monitor;
  std::function<void()> onShow;  // what the user sees while the box is up
  std::function<void()> onEvents;
  std::function<void()> onPause;
  int pausedMs = 0;

 private:
  bool busy_ = false;
};

}  // namespace qm47::testing
