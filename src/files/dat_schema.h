// The .dat settings file described once: its sections in file order and, in each, its
// keys in order with the field, kind, "#" mark and condition of every key. The writer
// and the reader both walk these tables, so a key cannot be spelt two ways.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/models.h"
#include "model/settings_record.h"

namespace qm47 {

// [MAIN] comes first and names the model; only MODELTYPE is read back, for the model check.
inline constexpr std::string_view kDatMainSection = "MAIN";
inline constexpr std::string_view kDatModelTypeKey = "MODELTYPE";

enum class DatKind {
  Flag,       // "1" / "0"
  Number,     // decimal; the reader takes it only within [min, max]
  Text,       // as stored, behind "#" when marked
  Frequency,  // MHz, shortest decimal form
  Position,   // a region channel's place: the reader puts the section's values there
};

enum class DatCondition { Always, ModelHasAtis, ModelHasScrambler };
bool DatApplies(DatCondition condition, const ModelDescriptor& model);

// How a repeated key names its index: not at all, "PosRequest0", "TX TOT 0", or by a
// list of names ("USA", "INTL", ...).
enum class DatIndexStyle { None, Appended, Spaced, Named };

using DatFieldRef = std::variant<bool*, std::int16_t*, std::int32_t*, std::string*, double*>;
using DatConstFieldRef =
    std::variant<const bool*, const std::int16_t*, const std::int32_t*, const std::string*, const double*>;

// One key, or one repeated key with its index range, without the field it fills.
struct DatKeyRow {
  std::string_view key;  // the whole key, or the stem the index is added to (none when Named)
  DatKind kind = DatKind::Flag;
  bool marked = false;  // written behind "#", which keeps leading spaces on reading
  DatCondition condition = DatCondition::Always;
  std::int32_t min = 0, max = 0;  // Number: the values the image field holds
  DatIndexStyle style = DatIndexStyle::None;
  int first = 0, count = 1;
  std::span<const std::string_view> names;  // Named: the key of index i is names[i]
  // Shares the index loop of the key before it, so their lines alternate:
  // PosRequest0, PosRequestTX0, PosRequest1, ...
  bool alternates = false;
};

// The key's text for index `i`, into `out` (a buffer reused from key to key).
void DatKeyName(const DatKeyRow& row, int i, std::string& out);

// A key and its field in `Element`: the record, or one element of a record table.
template <class Element>
struct DatKey : DatKeyRow {
  DatFieldRef (*field)(Element&, std::size_t index) = nullptr;
  DatConstFieldRef (*read)(const Element&, std::size_t index) = nullptr;
};

// A section with one value of the record per key.
struct DatRecordSection {
  std::string_view name;
  DatCondition condition = DatCondition::Always;
  std::span<const DatKey<SettingsRecord>> keys;
};

// One section per element of a record table, named prefix + number.
template <class Element>
struct DatNumberedSections {
  std::string_view prefix;
  int firstNumber = 0;  // the number of element 0's section
  // Region channels: sections are read by running number up to the first one missing
  // and placed by their Position key, not by their number.
  bool placedByPosition = false;
  std::vector<Element>& (*table)(SettingsRecord&) = nullptr;
  const std::vector<Element>& (*readTable)(const SettingsRecord&) = nullptr;
  std::span<const DatKey<Element>> keys;
};
using DatTableSections = std::variant<DatNumberedSections<Channel>, DatNumberedSections<DirectoryEntry>>;

// In file order: the record sections after [MAIN], then the table sections.
std::span<const DatRecordSection> DatRecordSections();
std::span<const DatTableSections> DatTables();

// Calls visit(key, index, name) for every key of `keys` that `model` has, in file order.
template <class Element, class Visit>
void ForEachDatKey(std::span<const DatKey<Element>> keys, const ModelDescriptor& model, Visit&& visit) {
  std::string name;
  std::size_t loop = 0;
  while (loop < keys.size()) {
    std::size_t end = loop + 1;
    while (end < keys.size() && keys[end].alternates) ++end;
    const DatKeyRow& lead = keys[loop];
    for (int i = lead.first; i < lead.first + lead.count; ++i) {
      for (std::size_t k = loop; k < end; ++k) {
        if (!DatApplies(keys[k].condition, model)) continue;
        DatKeyName(keys[k], i, name);
        visit(keys[k], i, std::string_view(name));
      }
    }
    loop = end;
  }
}

}  // namespace qm47
