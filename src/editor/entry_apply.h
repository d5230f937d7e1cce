// Carrying out what a free-text field's event decided, the same for a box's own events
// and for the check before a command: the store goes through the session's edit call
// (observers, dirty flag, undo step), a user edit raises the dirty flag even before
// anything is stored, and the stores of one stretch of typing in one field undo as one
// step. The window then draws the outcome's text, focus and messages.
#pragma once

#include "editor/entry_events.h"
#include "editor/session.h"

namespace qm47 {

// What changed in the record, for the views that show it.
struct EntryRedraw {
  bool stored = false;  // the record took the outcome's store (nothing while a page loads)
  unsigned areas = 0;   // record_area bits of that store; the observers were told the same
};

EntryRedraw ApplyEntryOutcome(Session& s, const EntryOutcome& outcome);

}  // namespace qm47
