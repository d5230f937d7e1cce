// The events of a free-text field, decided without a widget: the window forwards focus
// gained, text changed, focus lost and validate, and applies what comes back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/pages/entry_rules.h"
#include "model/settings_record.h"
#include "seams/user_interface.h"

namespace qm47 {

// The field an event happened in, as the window sees it.
struct EntryFieldState {
  EntryPlace place;
  std::string text;
  bool pending = false;  // the window's one pending flag: an edit not yet checked
};

struct EntryMessage {
  std::string text;
  std::string caption;
  Icon icon = Icon::Exclamation;
  Buttons buttons = Buttons::Ok;
  std::string detail;  // the line under the text: which field, its rule, a value it takes

  bool operator==(const EntryMessage&) const = default;
  MessageBox Box() const { return {text, caption, icon, buttons, DefaultButton::First, detail}; }
};

struct EntryStore {
  EntryPlace place;
  EntryValue value;

  bool operator==(const EntryStore&) const = default;
};

// What the window does after an event, in this order: ApplyEntryOutcome (entry_apply.h:
// the store, the dirty flag, the undo step), show the text, show the messages, put the
// focus back when `keepFocus`. The tree follows the store as it follows every edit.
struct EntryOutcome {
  bool pending = false;  // the pending flag after the event
  bool edited = false;   // a user edit: sets the dirty flag even when nothing is stored yet
  bool newTypingStep = false;  // the field took the focus: its next store is an undo step of its own
  std::optional<EntryStore> store;
  std::optional<std::string> show;  // the field's new text
  bool selectAll = false;
  std::optional<std::string> hint;  // status bar, first panel
  std::vector<EntryMessage> messages;
  bool keepFocus = false;
  bool valid = true;  // false: the command that asked must not go on
};

EntryOutcome EntryFocusGained(const EntryFieldState& field);
// `pageActive`: the page's panel is enabled and the page-loading flag is clear.
EntryOutcome EntryTextChanged(const EntryFieldState& field, bool pageActive);
// The focus left without a check: a valid pending entry is stored, an invalid one is
// replaced by the stored value, silently.
EntryOutcome EntryFocusLost(const EntryFieldState& field, const SettingsRecord& rec);
// The check that may refuse: "Data Error!!" under the field's title, focus kept.
EntryOutcome EntryValidate(const EntryFieldState& field);
// The focus went off the page (to the tree, a menu): as EntryFocusLost, except that a
// pending entry checked when left waits for ValidatePendingEntry, which runs before the
// page changes or a command acts, so a refused entry is said once and stays on screen.
EntryOutcome EntryFocusLeftPage(const EntryFieldState& field, const SettingsRecord& rec);

// The channel page as the check before a command sees it.
struct ChannelPageEntry {
  bool enableChecked = false;
  bool expansion = false;  // the receive frequency can be edited
  std::string rxText;
  std::string displayLeftText;
};

struct EntryWindowState {
  std::optional<EntryFieldState> focus;  // the free-text field holding the focus, if any
  std::optional<ChannelPageEntry> channelPage;  // set while the channel page is shown
  std::string programTitle;  // caption of the channel page's message
};

// Run before page changes and before every command that reads or replaces the data:
// the focused field's pending entry is validated and stored, and an enabled expansion
// channel must have a receive frequency and a two-character display name.
EntryOutcome ValidatePendingEntry(const EntryWindowState& window);

inline constexpr const char* kChannelDataErrorMessage = "Data Error!!\nPlease input correct data.";

}  // namespace qm47
