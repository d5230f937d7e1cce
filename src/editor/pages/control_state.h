// What a page control shows, decided without a widget: the window copies each field
// into the control with the same object name and adds nothing of its own.
#pragma once

#include <string>
#include <vector>

#include "editor/pages/entry_rules.h"

namespace qm47 {

// Status-bar hints shared by the pages.
inline constexpr const char* kCheckBoxHint = "[Space]:An effective and invalid change.";
inline constexpr const char* kListHint = "[Up]/[Down]:Change of a Selection item.";
inline constexpr const char* kGridHint = "[Double click],[Enter]:Jump the Setting screen.";

// What every control of every page has. A label beside a control follows its enabling.
struct ControlState {
  std::string name;     // objectName; members of a control array end in "_" and their index
  std::string caption;  // its own caption, or that of the label beside it
  std::string row;      // the row label where the page is laid out in rows ("POS Request", "No.3")
  std::string group;    // the frame or column it sits in ("Scanning Function")
  std::string tab;      // the tab it sits on; empty on a page without tabs
  bool visible = true;
  bool enabled = true;
  std::string hint;     // first panel of the status bar while it has the focus
  int helpContext = 0;  // 0: none
};

enum class LineColour { WindowText, InactiveTitle };

// A line from a control to the one that depends on it: lit while that one is enabled.
struct ConnectingLine {
  bool visible = true;
  LineColour colour = LineColour::WindowText;
};
inline LineColour Lit(bool enabled) { return enabled ? LineColour::WindowText : LineColour::InactiveTitle; }

// A column of the channel and directory grids.
struct GridColumn {
  std::string header;
  int widthTwips = 0;  // 15 twips to a pixel at 96 dpi

  bool operator==(const GridColumn&) const = default;
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
