#include "gui/page_entries.h"

namespace qm47 {

EntryFieldAdapter* PageEntries::Editing() const {
  for (EntryFieldAdapter* entry : entries_) {
    if (entry->box().hasFocus()) return entry;
  }
  for (EntryFieldAdapter* entry : entries_) {
    if (entry->pending()) return entry;
  }
  return nullptr;
}

EntryWindowState PageEntries::PendingEntry() const {
  EntryWindowState window;
  if (const EntryFieldAdapter* entry = Editing()) window.focus = entry->State();
  return window;
}

void PageEntries::ApplyEntry(const EntryOutcome& outcome) {
  if (EntryFieldAdapter* entry = Editing()) entry->Draw(outcome);
}

}  // namespace qm47
