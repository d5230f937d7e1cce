// The channel lists and MMSI directories as spreadsheet files: one row per channel or
// entry under a header of the list's .dat keys, and an import that takes a file whole or
// not at all. Beside it in lists/: the menu commands that export and import them.
//
// Cells hold what the pages show (an MMSI as its nine digits, a frequency as 156.0500,
// Scramble as the Scrambler list's Off, 0 .. 3), check boxes as 1 or 0, Position as the
// .dat number. A changed cell must pass the page's entry rule, be an item its list offers,
// hold only what the radio keeps and may not change a box the channel's place greys out;
// a cell that still reads as it was exported is taken as the value it came from.
//
// The plans and the expansion channels add Channel and RX MHz as the grid shows them, and
// the plans List ("usa"), for people: they are never read into the record, and a file may
// lack them. When there, List must name the list imported into and Channel the channel at
// the row's place, so that a file cannot land on another list or on the wrong channels.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/models.h"
#include "model/settings_record.h"

namespace qm47 {

enum class CsvList { Usa, Intl, Canada, Expansion, Weather, Individual, Group };

struct CsvListName {
  CsvList list;
  std::string_view name;   // on the command line and in suggested file names: "usa"
  std::string_view title;  // for people: "USA channels"
};
// In the order of the navigation tree.
inline constexpr std::array<CsvListName, 7> kCsvLists{{
    {CsvList::Usa, "usa", "USA channels"},
    {CsvList::Intl, "intl", "INTL channels"},
    {CsvList::Canada, "canada", "Canada channels"},
    {CsvList::Expansion, "expansion", "expansion channels"},
    {CsvList::Weather, "weather", "weather channels"},
    {CsvList::Individual, "individual", "individual MMSI directory"},
    {CsvList::Group, "group", "group MMSI directory"},
}};

const CsvListName& NameOf(CsvList list);
// Any letter case; nullopt for a name no list has.
std::optional<CsvList> CsvListNamed(std::string_view name);
// "usa, intl, ..." for usage texts.
std::string CsvListNames();

// The record area an import of the list touches.
unsigned CsvListArea(CsvList list);

// The header: the list's .dat keys that the model has, in .dat order; Channel and RX MHz
// follow a plan's Position and lead the expansion channels' keys; List leads a plan's.
std::vector<std::string> CsvColumns(CsvList list, const ModelDescriptor& model);

// The whole file: header, then one row per channel or entry in table order.
std::string ListCsvText(const SettingsRecord& rec, const ModelDescriptor& model, CsvList list);

// One refused cell; column empty when the whole row (or file) is at fault.
struct CsvRefusal {
  std::size_t row = 0;  // as a spreadsheet numbers it: the header is row 1
  std::string column;
  std::string why;
};

struct CsvImport {
  SettingsRecord record;  // the record with the file's rows taken in; use it only when accepted
  std::vector<CsvRefusal> refused;
  std::size_t notListed = 0;  // refusals beyond those kept in `refused`

  bool accepted() const { return refused.empty(); }
};

// Reads `text` into a copy of `rec`. Rows of a channel plan are placed by their Position,
// the other lists' rows fill entries from the first; entries without a row keep their values.
CsvImport ImportListCsv(const SettingsRecord& rec, const ModelDescriptor& model, CsvList list, std::string_view text);

// The refusals one per line ("Row 4, column Mmsid: ..."), at most `maxLines` of them and
// then a line that counts the rest.
std::string RefusalLines(const CsvImport& import, std::size_t maxLines);

// Copies the list's table from `from` into `into`.
// A value that names no list has no columns, an empty file, refuses every import and
// copies nothing.
void TakeList(SettingsRecord& into, const SettingsRecord& from, CsvList list);

}  // namespace qm47
