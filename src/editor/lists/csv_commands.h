// Export and import of one list as a CSV file, for the window's File menu and qm47-cli.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "editor/lists/csv_lists.h"
#include "editor/session/session.h"
#include "editor/pages/tree.h"

namespace qm47 {

inline constexpr const char* kCsvFilter = "CSV files(*.csv)|*.csv|All files(*.*)|*.*";
// A list of 240 channels is about 20 KB; anything far larger is not one of ours.
inline constexpr std::size_t kMaxCsvFileBytes = 4u << 20;
inline constexpr const char* kCsvRefusedMessage = "The CSV file was not imported.";

// The list a page belongs to: a plan's list or channel page, the weather page, a directory
// or one of its entries. Nothing for the other pages.
std::optional<CsvList> CsvListOfPage(const PageRef& page);

// The choice offered from a page that belongs to no list, in the order of kCsvLists.
ItemChoice CsvListChoice(const std::string& title);

// Writes the list to `path` (atomically). On failure says why and returns false.
bool ExportListFile(Session& s, CsvList list, const std::string& path);

enum class CsvImportOutcome { Changed, Unchanged, Refused };
// Reads `path` into the list as one edit through the session when every cell is accepted,
// an undo step named after the import ("Import USA list"); otherwise (or when the file
// cannot be read) says why, naming each refused cell by row and column, and changes nothing.
CsvImportOutcome ImportListFile(Session& s, CsvList list, const std::string& path);

// The File menu's entries: after the pending entry is validated, the list of the page
// shown (or the one the user picks) and a file dialog. The import returns its summary
// when the file was taken (the window draws the page again and shows it), nothing when it
// was refused or cancelled.
void ExportListCommand(Session& s, const PageRef& shown, const std::function<bool()>& validate);
std::optional<std::string> ImportListCommand(Session& s, const PageRef& shown, const std::function<bool()>& validate);

}  // namespace qm47
