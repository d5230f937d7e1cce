// How the program talks to its user: the window shows real dialogs, the CLI
// prints to stderr and answers by its options, tests script the answers.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qm47 {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };
enum class DefaultButton { First, Second, Third };

// One message box, whole: every implementation gets the default button and the detail.
struct MessageBox {
  std::string text;     // the documented text, shown exactly
  std::string caption;
  Icon icon = Icon::None;
  Buttons buttons = Buttons::Ok;
  DefaultButton defaultButton = DefaultButton::First;  // "Radio is busy!!" defaults to Cancel
  std::string detail;   // one more line: what failed, where, and what to do ("" when none)
};

// A file dialog. The filter is written as the program's dialogs have always had it:
// "dat files(*.dat)|*.dat|All files(*.*)|*.*".
struct FileChoice {
  enum class Mode { Open, Save };
  Mode mode = Mode::Open;
  std::string title;
  std::string filter;
  std::string startFolder;
  std::string suggestedName;
  bool mustExist = false;  // an open dialog that refuses names of files that do not exist
};

// A short list to pick one entry from.
struct ItemChoice {
  std::string title;
  std::string label;  // what the list is for
  std::vector<std::string> items;
  int preselected = 0;
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  virtual Answer Show(const MessageBox& box) = 0;

  Answer Message(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) {
    return Show({text, caption, icon, buttons, DefaultButton::First, {}});
  }
  Answer MessageWithDefault(const std::string& text, const std::string& caption, Icon icon, Buttons buttons,
                            DefaultButton defaultButton) {
    return Show({text, caption, icon, buttons, defaultButton, {}});
  }
  Answer MessageWithDetail(const std::string& text, const std::string& detail, const std::string& caption, Icon icon,
                           Buttons buttons) {
    return Show({text, caption, icon, buttons, DefaultButton::First, detail});
  }

  // The path the user chose, or nullopt when the dialog was cancelled (or there is none).
  virtual std::optional<std::string> ChooseFile(const FileChoice& /*choice*/) { return std::nullopt; }
  // The index of the entry the user picked, or nullopt when cancelled (or there is no one to ask).
  virtual std::optional<int> ChooseItem(const ItemChoice& /*choice*/) { return std::nullopt; }
  // How this user chooses another model, for advice in a detail line.
  virtual std::string HowToChooseModel(int /*number*/, const std::string& name) const {
    return "choose " + name + " from the Model menu";
  }
  // Transfer monitor line (shown in debug mode).
  virtual void Monitor(const std::string& /*line*/) {}
  virtual void Progress(int /*value*/, int /*maximum*/) {}
  // While busy the window shows the hourglass and takes no input.
  virtual void SetBusy(bool /*busy*/) {}
  virtual void ProcessEvents() {}
  // Every wait of the program: the documented pauses after file operations and the
  // link's pauses. A window keeps repainting and answering Cancel meanwhile.
  virtual void Pause(int /*milliseconds*/) {}
};

// The hourglass for as long as it lives, however the scope is left.
class BusyScope {
 public:
  explicit BusyScope(UserInterface& ui) : ui_(ui) { ui_.SetBusy(true); }
  ~BusyScope() { ui_.SetBusy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  UserInterface& ui_;
};

}  // namespace qm47
