// Carrying out what a free-text field's event decided, the same for a box's own events
// and for the check before a command: the store goes through the session's edit call
// (observers, dirty flag, undo step), a user edit raises the dirty flag even before
// anything is stored, and the stores of one stretch of typing in one field undo as one
// step. The window then draws the outcome's text, focus and messages.
#pragma once

#include "editor/pages/entry_events.h"
#include "editor/session/session.h"

namespace qm47 {

// True when the record took the outcome's store (nothing while a page loads); the views
// learn what changed through the session's observers.
bool ApplyEntryOutcome(Session& s, const EntryOutcome& outcome);

}  // namespace qm47
