// How the program talks to its user: the window shows real dialogs, the CLI
// prints to stderr and answers by its options, tests script the answers.
#pragma once

#include <string>

namespace qm47 {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };
enum class DefaultButton { First, Second };

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  virtual Answer Message(const std::string& text, const std::string& caption, Icon icon,
                         Buttons buttons) = 0;
  // The same box with a chosen default button ("Radio is busy!!" defaults to Cancel).
  virtual Answer MessageWithDefault(const std::string& text, const std::string& caption, Icon icon,
                                    Buttons buttons, DefaultButton /*defaultButton*/) {
    return Message(text, caption, icon, buttons);
  }
  // The same box with one more line under the documented text: what failed, where,
  // and what to do. A box that cannot show it apart shows both lines as its text.
  virtual Answer MessageWithDetail(const std::string& text, const std::string& detail, const std::string& caption,
                                   Icon icon, Buttons buttons) {
    return Message(detail.empty() ? text : text + "\n" + detail, caption, icon, buttons);
  }
  // How this user chooses another model, for advice in a detail line.
  virtual std::string HowToChooseModel(int /*number*/, const std::string& name) const {
    return "choose " + name + " from the Model menu";
  }
  // Transfer monitor line (shown in debug mode).
  virtual void Monitor(const std::string& /*line*/) {}
  virtual void Progress(int /*value*/, int /*maximum*/) {}
  virtual void SetBusy(bool /*busy*/) {}
  virtual void ProcessEvents() {}
  // A documented pause after file operations; only a window needs it.
  virtual void Pause(int /*milliseconds*/) {}
};

}  // namespace qm47
