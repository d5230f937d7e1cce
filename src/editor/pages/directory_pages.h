// The MMSI directories' list grid and entry page as data, and the entry page's "Add" and
// "Delete". The entries in use form an unbroken run from entry 1.
//
// Wiring: draw DirectoryListFor / DirectoryEntryFor; a double click or Enter on grid row r
// selects DirectoryRowNode(rec, which, r) through NodeSelection::SelectNode; a click on
// chkGEnable or chkGDelete calls AddDirectoryEntry / DeleteDirectoryEntry with the box's new
// state and draws DirectoryEntryFor again (also when they return false: "Delete" unchecks).
// The tree's "[Enable]" marks follow only when "SM" or "SG" is expanded
// (RefreshDirectoryMarks) or the tree is refreshed.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "editor/pages/page_controls.h"
#include "editor/session/session.h"
#include "editor/pages/tree.h"

namespace qm47 {

inline constexpr const char* kDeleteQuestion = "Are you sure ?";

std::vector<DirectoryEntry>& Entries(SettingsRecord& rec, Directory which);
const std::vector<DirectoryEntry>& Entries(const SettingsRecord& rec, Directory which);

// Entries before the first one not in use: at most the directory's size.
int CountInUse(const SettingsRecord& rec, Directory which);

// MSFlexGrid2: one fixed header row, then every entry, in use or not; cells left-aligned.
struct DirectoryListState {
  std::string name = "MSFlexGrid2";
  std::string hint = kGridHint;
  Directory directory = Directory::Individual;
  std::vector<GridColumn> columns;
  std::vector<std::array<std::string, 3>> rows;  // rows[k]: entry k + 1
};
DirectoryListState DirectoryListFor(const SettingsRecord& rec, Directory which);

// The node a double click or Enter on grid row `row` selects ("SM3"); empty for the header
// row and for rows past the last entry.
std::string DirectoryRowNode(const SettingsRecord& rec, Directory which, int row);

struct DirectoryEntryState {
  Directory directory = Directory::Individual;
  int number = 0;           // entry number from 1
  CheckControl add;         // chkGEnable "Add"
  CheckControl remove;      // chkGDelete "Delete"
  TextControl name;         // txtGPosi
  TextControl mmsi;         // txtGMMSI
  ControlState groupDigit;  // lblGroup: the "0" every group MMSI starts with
};
// An entry number outside the directory gives a page with everything disabled.
DirectoryEntryState DirectoryEntryFor(const SettingsRecord& rec, Directory which, int number);

// "Add" became `checked`: marks the entry in use when it is the first free one and the
// entry before it has an MMSI. True when the record changed.
bool AddDirectoryEntry(Session& s, Directory which, int number, bool checked);
// "Delete" became `checked`: after Yes to "Are you sure ?" the following entries move up
// one and the last becomes free. True when the record changed.
bool DeleteDirectoryEntry(Session& s, Directory which, int number, bool checked);

}  // namespace qm47
