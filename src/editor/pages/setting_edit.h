// Write-through of the settings pages: where each list and box stores its value, the
// edit one user action makes, and applying it through the session with the tree update.
#pragma once

#include <functional>

#include "editor/pages/entry_events.h"
#include "editor/pages/page_controls.h"
#include "editor/session/session.h"
#include "editor/pages/tree.h"

namespace qm47 {

// The stored value at a place: flags as 0 or 1. 0 when the place is out of range.
int StoredSetting(const SettingsRecord& rec, SettingPlace place);
// Flags store value != 0. False (and no change) when the place is out of range.
bool StoreSetting(SettingsRecord& rec, SettingPlace place, int value);

// What the navigation tree needs after an edit.
enum class TreeUpdate {
  None,
  StatusNames,  // the group nodes' texts ("USA(BOAT)")
  Nodes,        // a group came or went: the node set itself
};

// One user action, ready for the session's edit call.
struct SettingEdit {
  unsigned areas = 0;                          // record_area bits
  std::function<void(SettingsRecord&)> apply;  // empty: the action stores nothing
  TreeUpdate tree = TreeUpdate::None;
};

// The user chose item `item` of the list: the item's value goes into the list's place.
SettingEdit ItemChosen(const ListControl& list, int item);
// The user checked or cleared a settings box (a box without a place stores nothing).
SettingEdit BoxToggled(const CheckControl& box, bool checked);
// A text box's stored entry (EntryOutcome::store) as an edit, with its area and tree update.
SettingEdit TextStored(const EntryStore& store);

// Which record areas a text field's place belongs to.
unsigned AreaOf(const EntryPlace& place);

struct EditResult {
  bool applied = false;  // false while the page-loading flag is raised, or for an empty edit
  unsigned areas = 0;    // what to redraw (the open page follows its own state again)
  TreeChange tree;       // rebuilt: build the tree widget again and follow the current node
};

// Session::Edit (dirty flag, observers), then the tree update the edit asks for.
EditResult ApplyEdit(Session& s, NavigationTree& tree, const SettingEdit& edit);

}  // namespace qm47
