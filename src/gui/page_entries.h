// The text boxes of one page, for the check before a command or a page change: the
// focused box with an edit waiting for its check, else any box with one (assistive
// technology sets a box's text without its focus), else the focused box.
#pragma once

#include <vector>

#include "editor/pages/entry_events.h"
#include "gui/entry_field.h"

namespace qm47 {

class PageEntries {
 public:
  void Add(EntryFieldAdapter* entry) { entries_.push_back(entry); }
  EntryWindowState PendingEntry() const;
  void ApplyEntry(const EntryOutcome& outcome);

 private:
  EntryFieldAdapter* Editing() const;

  std::vector<EntryFieldAdapter*> entries_;
};

}  // namespace qm47
