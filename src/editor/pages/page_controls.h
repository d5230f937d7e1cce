// What a settings or directory page draws, as plain data: every control by its
// objectName, with caption, value, list items, and whether it is enabled and visible.
//
// Beside it in pages/: the navigation tree, the channel grids and pages, the settings and
// directory pages, and the entry rules that decide what a control accepts and what the
// record then holds. The window draws these and hands each user action back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/pages/control_state.h"
#include "editor/pages/entry_rules.h"
#include "editor/pages/tree.h"

namespace qm47 {

inline constexpr const char* kCountClearHint = "A Click Inicializes the number of User MMSI setting permission";

// The record field behind a drop-down list or check box of the settings pages.
enum class SettingField {
  Usable, StatusIcon, PriorityCh, TxTot,                                       // per channel group
  TxPoDisplay, Scan, ResumeTime, PttScanClear, DualWatch, OffsetTime,
  MagneticVariation, Weater, Rotary,                                           // common
  DscGroup, PosRequest, PosRequestTX, BeepOut,                                 // DSC basic
  AllShipsCall, AllShipsCallTX, GroupCall, GroupCallTX, IndividualCall,
  IndividualCallTX, DistressRelay,                                             // DSC advanced
  DscDisplay,
  AtisGroup, KikkerGroup,
};

struct SettingPlace {
  SettingField field = SettingField::Usable;
  int index = 0;  // group, call category, row or item of an array field; 0 otherwise

  bool operator==(const SettingPlace&) const = default;
};

struct ListItem {
  std::string text;
  int value = 0;  // what choosing the item stores

  bool operator==(const ListItem&) const = default;
};

struct ListControl : ControlState {
  std::vector<ListItem> items;
  int selected = -1;  // index into items; -1 when the stored value matches no item
  SettingPlace place;
  std::optional<ConnectingLine> line;  // from the control before it in its row, which it depends on
};

struct CheckControl : ControlState {
  bool checked = false;
  std::optional<SettingPlace> place;  // none for the directory's "Add" and "Delete"
};

// A text box: its events go to the entry rules (entry_events.h) with `place`.
struct TextControl : ControlState {
  std::string text;
  int maxLength = 0;
  std::optional<EntryPlace> place;  // none for a read-only box

  bool readOnly() const { return !place; }
};

// A button that runs a radio transfer through MainCommands::ClearRadio.
struct ButtonControl : ControlState {
  int transferMode = -1;
};

// A static text of a page: under a column's heading in the group's table, or under the
// group's controls when it names no column.
struct NoteLabel {
  std::string tab;
  std::string group;
  std::string column;
  std::string text;
};

// A settings page (usable groups, common, DSC, ATIS), whole.
struct SettingsPageState {
  PageKind page = PageKind::None;
  std::vector<std::string> tabs;  // captions in order; empty for a page without tabs
  std::vector<ListControl> lists;
  std::vector<CheckControl> checks;
  std::vector<TextControl> texts;
  std::vector<ButtonControl> buttons;
  std::vector<NoteLabel> notes;

  // By objectName; std::out_of_range for a name the page does not have.
  const ListControl& List(std::string_view name) const;
  const CheckControl& Check(std::string_view name) const;
  const TextControl& Text(std::string_view name) const;
  const ButtonControl& Button(std::string_view name) const;
};

// "cmbUsablePri" and 2 -> "cmbUsablePri_2".
std::string ArrayName(std::string_view name, int index);

}  // namespace qm47
