#include "editor/session/edit_history.h"

#include <array>

namespace qm47 {

namespace {

constexpr std::array kChannelTables = {&SettingsRecord::CHUSA, &SettingsRecord::CHINT, &SettingsRecord::CHCAN,
                                       &SettingsRecord::CHWX, &SettingsRecord::CHEXP};
constexpr std::array kDirectoryTables = {&SettingsRecord::CHMMSID, &SettingsRecord::CHGRPID};

// The tables moved out of a record for as long as this lives, so the rest of it is
// copied and compared without them. Whatever is not listed above counts as the rest.
class TablesAside {
 public:
  explicit TablesAside(SettingsRecord& rec) : rec_(rec) { Swap(); }
  ~TablesAside() { Swap(); }
  TablesAside(const TablesAside&) = delete;
  TablesAside& operator=(const TablesAside&) = delete;

 private:
  void Swap() {
    for (std::size_t i = 0; i < kChannelTables.size(); ++i) channels_[i].swap(rec_.*kChannelTables[i]);
    for (std::size_t i = 0; i < kDirectoryTables.size(); ++i) directories_[i].swap(rec_.*kDirectoryTables[i]);
  }

  SettingsRecord& rec_;
  std::array<std::vector<Channel>, kChannelTables.size()> channels_;
  std::array<std::vector<DirectoryEntry>, kDirectoryTables.size()> directories_;
};

template <class T>
void AddChange(std::vector<TableChange<T>>& changes, std::size_t table, const std::vector<T>& before,
               const std::vector<T>& after) {
  TableChange<T> change;
  change.table = table;
  if (before.size() != after.size()) {
    change.whole = true;
    change.before = before;
    change.after = after;
  } else {
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (before[i] == after[i]) continue;
      change.at.push_back(i);
      change.before.push_back(before[i]);
      change.after.push_back(after[i]);
    }
    if (change.at.empty()) return;
  }
  changes.push_back(std::move(change));
}

template <class T, std::size_t N>
void Put(SettingsRecord& rec, const std::array<std::vector<T> SettingsRecord::*, N>& tables,
         const std::vector<TableChange<T>>& changes, bool undo) {
  for (const TableChange<T>& change : changes) {
    std::vector<T>& table = rec.*tables[change.table];
    const std::vector<T>& values = undo ? change.before : change.after;
    if (change.whole) {
      table = values;
      continue;
    }
    for (std::size_t i = 0; i < change.at.size(); ++i) {
      if (change.at[i] < table.size()) table[change.at[i]] = values[i];
    }
  }
}

}  // namespace

RecordPatch RecordPatch::Between(SettingsRecord& before, SettingsRecord& after) {
  RecordPatch patch;
  {
    const TablesAside asideBefore(before);
    const TablesAside asideAfter(after);
    if (!(before == after)) patch.head_ = Head{before, after};
  }
  for (std::size_t i = 0; i < kChannelTables.size(); ++i) {
    AddChange(patch.channels_, i, before.*kChannelTables[i], after.*kChannelTables[i]);
  }
  for (std::size_t i = 0; i < kDirectoryTables.size(); ++i) {
    AddChange(patch.directories_, i, before.*kDirectoryTables[i], after.*kDirectoryTables[i]);
  }
  return patch;
}

void RecordPatch::Apply(SettingsRecord& rec, bool undo) const {
  if (head_) {
    const TablesAside aside(rec);
    rec = undo ? head_->before : head_->after;
  }
  Put(rec, kChannelTables, channels_, undo);
  Put(rec, kDirectoryTables, directories_, undo);
}

void EditHistory::Record(SettingsRecord& before, SettingsRecord& after, unsigned areas, std::string_view typing) {
  if (Merge(before, after, areas, typing)) return;
  RecordPatch patch = RecordPatch::Between(before, after);
  if (patch.empty()) return;
  // A new edit after some undos: the undone steps can no longer be redone.
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
  if (saved_ && *saved_ > done_) saved_.reset();
  steps_.push_back({place_, areas, std::string(typing), std::move(patch)});
  ++done_;
  sealed_ = typing.empty();
}

bool EditHistory::Merge(SettingsRecord& before, SettingsRecord& after, unsigned areas, std::string_view typing) {
  if (typing.empty() || sealed_ || done_ == 0 || done_ != steps_.size() || steps_.back().typing != typing) return false;
  Step& last = steps_.back();
  // The step now runs from the record before its first keystroke to this one.
  last.patch.Apply(before, true);
  last.patch = RecordPatch::Between(before, after);
  last.areas |= areas;
  if (last.patch.empty()) {  // typed and taken back: nothing left to undo
    steps_.pop_back();
    --done_;
    sealed_ = true;
  }
  return true;
}

std::optional<unsigned> EditHistory::Undo(SettingsRecord& rec) {
  if (!CanUndo()) return std::nullopt;
  sealed_ = true;
  const Step& step = steps_[--done_];
  step.patch.Apply(rec, true);
  return step.areas;
}

std::optional<unsigned> EditHistory::Redo(SettingsRecord& rec) {
  if (!CanRedo()) return std::nullopt;
  sealed_ = true;
  const Step& step = steps_[done_++];
  step.patch.Apply(rec, false);
  return step.areas;
}

void EditHistory::MarkSaved() {
  saved_ = done_;
  sealed_ = true;
}

void EditHistory::Clear(bool clean) {
  steps_.clear();
  done_ = 0;
  saved_ = clean ? std::optional<std::size_t>(0) : std::nullopt;
  sealed_ = true;
}

}  // namespace qm47
