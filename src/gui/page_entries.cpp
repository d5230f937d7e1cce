#include "gui/page_entries.h"

namespace qm47 {

EntryFieldAdapter* PageEntries::Editing() const {
  EntryFieldAdapter* focused = nullptr;
  EntryFieldAdapter* pending = nullptr;
  for (EntryFieldAdapter* entry : entries_) {
    if (entry->box().hasFocus()) focused = entry;
    if (entry->pending() && !pending) pending = entry;
  }
  if (focused && focused->pending()) return focused;
  return pending ? pending : focused;
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
