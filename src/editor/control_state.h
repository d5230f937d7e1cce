// What a page control shows, decided without a widget: the window copies each field
// into the control with the same object name and adds nothing of its own.
#pragma once

#include <string>
#include <vector>

#include "editor/entry_rules.h"

namespace qm47 {

// Status-bar hints shared by the pages.
inline constexpr const char* kCheckBoxHint = "[Space]:An effective and invalid change.";
inline constexpr const char* kListHint = "[Up]/[Down]:Change of a Selection item.";
inline constexpr const char* kGridHint = "[Double click],[Enter]:Jump the Setting screen.";

struct ControlState {
  std::string name;     // objectName: "chkCEnable", "txtCN_0"
  std::string caption;  // the control's own caption, or of the label beside a box or list
  bool visible = true;
  bool enabled = true;  // a box's label (and unit label) follows it
  std::string hint;     // status bar, first panel, while focused
  int helpContext = 0;  // 0: none
};

struct CheckBoxState : ControlState {
  bool checked = false;
};

// A free-text box: its key filter, length and store come from the entry rule of `entry`.
struct TextBoxState : ControlState {
  std::string text;
  bool readOnly = false;  // read-only boxes take the button-face colour, others the window colour
  std::string unit;       // the label after the box ("MHz"), empty for none
  EntryPlace entry;
};

struct ListState : ControlState {
  std::vector<std::string> items;
  int index = 0;
};

}  // namespace qm47
