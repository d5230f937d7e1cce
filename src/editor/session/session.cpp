#include "editor/session/session.h"

#include <algorithm>

#include "model/codec.h"

namespace qm47 {

Session::Session(std::string dataFolder_, IniFile catalogue_, PreferenceStore& prefs_, UserInterface& ui_,
                 StartupFlags flags_, ErrorLog log_)
    : dataFolder(std::move(dataFolder_)),
      catalogue(std::move(catalogue_)),
      prefs(prefs_),
      ui(ui_),
      startup(flags_),
      errorLog(std::move(log_)) {}

Answer Session::Say(const std::string& text, Icon icon, Buttons buttons) {
  return ui.Message(text, model.title, icon, buttons);
}

Answer Session::SayWhy(const std::string& text, const std::string& detail, Icon icon, Buttons buttons) {
  return ui.MessageWithDetail(text, detail, model.title, icon, buttons);
}

bool Session::Edit(unsigned areas, const std::function<void(SettingsRecord&)>& change, std::string_view typing) {
  if (EditsHeld()) return false;
  SettingsRecord before = record;
  change(record);
  history.Record(before, record, areas, typing);
  MarkEdited();
  Notify(areas, true);
  return true;
}

bool Session::Undo() { return AfterStep(history.Undo(record)); }

bool Session::Redo() { return AfterStep(history.Redo(record)); }

bool Session::AfterStep(const std::optional<unsigned>& areas) {
  if (!areas) return false;
  if (history.AtSaved()) {
    flags.dirty = false;
  } else {
    MarkEdited();
  }
  Notify(*areas, false);
  return true;
}

void Session::MarkEdited() {
  flags.dirty = true;
  flags.onFile = false;
}

void Session::ForgetEdits() {
  flags.dirty = false;
  history.Clear(true);
}

void Session::Changed(unsigned areas) { Notify(areas, false); }

bool Session::Tidy(unsigned areas, const std::function<void(SettingsRecord&)>& change) {
  SettingsRecord tidy = record;
  change(tidy);
  if (tidy == record) return false;
  // In place, so what points into the record stays valid.
  change(record);
  Notify(areas, false);
  return true;
}

bool Session::TidyForStorage() {
  const int number = model.number;
  return Tidy(record_area::All & ~record_area::Image, [number](SettingsRecord& r) { PutInStoredForm(r, number); });
}

int Session::Observe(RecordObserver observer) {
  observers_.emplace_back(++nextObserver_, std::move(observer));
  return nextObserver_;
}

void Session::Forget(int observerId) {
  std::erase_if(observers_, [&](const auto& o) { return o.first == observerId; });
}

void Session::Notify(unsigned areas, bool byUser) {
  const RecordChange change{areas, byUser, ++revision_};
  // Observers may come and go while they are told: each one still observing is told once.
  std::vector<int> ids;
  for (const auto& o : observers_) ids.push_back(o.first);
  for (const int id : ids) {
    const auto it = std::find_if(observers_.begin(), observers_.end(), [&](const auto& o) { return o.first == id; });
    if (it == observers_.end()) continue;
    const RecordObserver observe = it->second;
    observe(change);
  }
}

void SetModel(Session& s, int number) { s.model = DescriptorFromCatalogue(s.catalogue, number); }

}  // namespace qm47
