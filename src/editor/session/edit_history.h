// Undo and redo of the user's edits: one step per edit call, each holding only what the
// edit changed, so a long session of clicks costs little memory.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/settings_record.h"

namespace qm47 {

// The entries of one table of the record that a step changed.
template <class T>
struct TableChange {
  std::size_t table = 0;        // which of the record's tables
  bool whole = false;           // it changed length: both kept whole
  std::vector<std::size_t> at;  // the entries that changed, when not whole
  std::vector<T> before;
  std::vector<T> after;
};

// What one step changed: the radio-wide groups whole, the tables entry by entry.
class RecordPatch {
 public:
  // The difference from `before` to `after`. Both come back as they went in; the
  // arguments are not const only because the tables are set aside while the rest is copied.
  static RecordPatch Between(SettingsRecord& before, SettingsRecord& after);

  bool empty() const { return !head_ && channels_.empty() && directories_.empty(); }
  // Puts the values from before (`undo`) or after the step into `rec`.
  void Apply(SettingsRecord& rec, bool undo) const;

 private:
  struct Head {
    SettingsRecord before;  // everything but the tables
    SettingsRecord after;
  };

  std::optional<Head> head_;
  std::vector<TableChange<Channel>> channels_;
  std::vector<TableChange<DirectoryEntry>> directories_;
};

class EditHistory {
 public:
  // Names the steps that follow (the page being edited), for "Undo Common Setup".
  void SetPlace(std::string name) { place_ = std::move(name); }
  const std::string& Place() const { return place_; }

  // One edit from `before` to `after`. Consecutive edits with the same non-empty `typing`
  // key (the keystrokes of one stretch of typing in one box) make a single step. An edit
  // that changed nothing is no step.
  void Record(SettingsRecord& before, SettingsRecord& after, unsigned areas, std::string_view typing = {});
  // The next edit makes a step of its own, whatever its typing key (a new stretch of typing).
  void Seal() { sealed_ = true; }

  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < steps_.size(); }
  // The place of the step Undo or Redo would take; empty when there is none or it has no name.
  std::string UndoName() const { return CanUndo() ? steps_[done_ - 1].name : std::string(); }
  std::string RedoName() const { return CanRedo() ? steps_[done_].name : std::string(); }

  // Takes back the last step (or does the next one again) in `rec`; the record areas it
  // touched, nothing when there was no step.
  std::optional<unsigned> Undo(SettingsRecord& rec);
  std::optional<unsigned> Redo(SettingsRecord& rec);

  // The record as it is now is the one on file.
  void MarkSaved();
  // The record changed outside the history (a clear of the radio): no step leads back to
  // the state on file any more.
  void ForgetSaved() { saved_.reset(); }
  // True when the record is the state last saved or loaded.
  bool AtSaved() const { return saved_ == done_; }

  // A load replaced the record: nothing to undo. `clean`: the new record is the one on file.
  void Clear(bool clean);

 private:
  struct Step {
    std::string name;
    unsigned areas = 0;
    std::string typing;
    RecordPatch patch;
  };
  // The last step takes `before` -> `after` into itself; false when it is no typing step.
  bool Merge(SettingsRecord& before, SettingsRecord& after, unsigned areas, std::string_view typing);

  std::vector<Step> steps_;
  std::size_t done_ = 0;  // steps_[0, done_) are done, the rest can be redone
  std::optional<std::size_t> saved_ = 0;
  bool sealed_ = true;  // the last step takes no more keystrokes
  std::string place_;
};

}  // namespace qm47
