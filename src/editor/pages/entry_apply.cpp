#include "editor/pages/entry_apply.h"

#include "editor/pages/setting_edit.h"

namespace qm47 {

namespace {

// Stores into one field share a key; a new stretch of typing seals the history first, so
// the key need not count the stretches.
std::string TypingKey(const EntryPlace& place) {
  return std::to_string(static_cast<int>(place.field)) + "." + std::to_string(place.group) + "." +
         std::to_string(place.index);
}

}  // namespace

bool ApplyEntryOutcome(Session& s, const EntryOutcome& outcome) {
  bool stored = false;
  if (outcome.newTypingStep) s.history.Seal();
  if (outcome.store) {
    const EntryStore& store = *outcome.store;
    stored = s.Edit(AreaOf(store.place), [&](SettingsRecord& rec) { StoreEntry(rec, store.place, store.value); },
                    TypingKey(store.place));
  }
  if (outcome.edited && !s.EditsHeld()) s.MarkEdited();
  return stored;
}

}  // namespace qm47
