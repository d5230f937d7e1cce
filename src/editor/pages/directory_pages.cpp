#include "editor/pages/directory_pages.h"

#include <algorithm>

#include "editor/session/help_topics.h"
#include "editor/pages/setting_lists.h"
#include "report/value_format.h"

namespace qm47 {

namespace {

bool Individual(Directory which) { return which == Directory::Individual; }

bool InDirectory(const SettingsRecord& rec, Directory which, int number) {
  return number >= 1 && static_cast<std::size_t>(number) <= Entries(rec, which).size();
}

}  // namespace

std::vector<DirectoryEntry>& Entries(SettingsRecord& rec, Directory which) {
  return Individual(which) ? rec.CHMMSID : rec.CHGRPID;
}

const std::vector<DirectoryEntry>& Entries(const SettingsRecord& rec, Directory which) {
  return Individual(which) ? rec.CHMMSID : rec.CHGRPID;
}

int CountInUse(const SettingsRecord& rec, Directory which) {
  const auto& list = Entries(rec, which);
  const auto firstFree = std::find_if(list.begin(), list.end(), [](const DirectoryEntry& e) { return !e.InUse; });
  return static_cast<int>(firstFree - list.begin());
}

DirectoryListState DirectoryListFor(const SettingsRecord& rec, Directory which) {
  DirectoryListState grid;
  grid.directory = which;
  grid.columns = {{"No.", 800}, {Individual(which) ? "STATION NAME" : "GROUP NAME", 2500}, {"MMSI", 2150}};
  const auto& list = Entries(rec, which);
  for (std::size_t k = 0; k < list.size(); ++k) {
    grid.rows.push_back({std::to_string(k + 1), list[k].TagName, Pad9OrDashes(list[k].Mmsid)});
  }
  return grid;
}

std::string DirectoryRowNode(const SettingsRecord& rec, Directory which, int row) {
  return InDirectory(rec, which, row) ? DirectoryNodeKey(which, row) : std::string();
}

DirectoryEntryState DirectoryEntryFor(const SettingsRecord& rec, Directory which, int number) {
  const bool individual = Individual(which);
  const auto& list = Entries(rec, which);
  const bool exists = InDirectory(rec, which, number);
  const int inUse = CountInUse(rec, which);
  const bool used = exists && number <= inUse;
  const bool firstFree = exists && number == inUse + 1;
  // A new entry follows only an entry that holds an MMSI: an empty one ends the list in the radio.
  const bool addable = firstFree && (number == 1 || !list[static_cast<std::size_t>(number - 2)].Mmsid.empty());
  const int help = individual ? help_context::IndividualEntry : help_context::GroupEntry;

  DirectoryEntryState page;
  page.directory = which;
  page.number = number;

  page.add.name = "chkGEnable";
  page.add.caption = "Add";
  page.add.checked = used;
  page.add.enabled = addable;
  page.remove.name = "chkGDelete";
  page.remove.caption = "Delete";
  page.remove.checked = !used;
  page.remove.enabled = used;
  for (CheckControl* box : {&page.add, &page.remove}) {
    box->hint = kCheckBoxHint;
    box->helpContext = help;
  }

  const int at = number - 1;
  page.name = BoundText(rec, {individual ? EntryField::IndividualName : EntryField::GroupName, at},
                        individual ? "Station Name" : "Group Name", false);
  page.name.helpContext = help + 1;
  page.mmsi = BoundText(rec, {individual ? EntryField::IndividualMmsi : EntryField::GroupMmsi, at}, "MMSI", false);
  page.mmsi.helpContext = help + 2;
  page.name.enabled = page.mmsi.enabled = used;

  page.groupDigit.name = "lblGroup";
  page.groupDigit.caption = "0";
  page.groupDigit.visible = !individual;
  page.groupDigit.enabled = used;
  return page;
}

bool AddDirectoryEntry(Session& s, Directory which, int number, bool checked) {
  if (!checked || !DirectoryEntryFor(s.record, which, number).add.enabled) return false;
  return s.Edit(record_area::Directories,
                [&](SettingsRecord& rec) { Entries(rec, which)[static_cast<std::size_t>(number - 1)].InUse = true; });
}

bool DeleteDirectoryEntry(Session& s, Directory which, int number, bool checked) {
  if (!checked || s.EditsHeld() || !DirectoryEntryFor(s.record, which, number).remove.enabled) return false;
  // No is the default: Enter or Space on a box that just got the focus must not delete.
  if (s.ui.MessageWithDefault(kDeleteQuestion, s.model.title, Icon::Critical, Buttons::YesNo,
                              DefaultButton::Second) != Answer::Yes)
    return false;
  return s.Edit(record_area::Directories, [&](SettingsRecord& rec) {
    auto& list = Entries(rec, which);
    std::move(list.begin() + number, list.end(), list.begin() + (number - 1));
    list.back() = {};
  });
}

}  // namespace qm47
