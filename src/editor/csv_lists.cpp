#include "editor/csv_lists.h"

#include <algorithm>
#include <variant>

#include "editor/channel_page.h"
#include "editor/entry_rules.h"
#include "editor/session.h"
#include "files/csv.h"
#include "files/dat_reader.h"
#include "files/dat_schema.h"

namespace qm47 {

namespace {

// More would only make the message longer; the count of the rest is kept.
constexpr std::size_t kKeptRefusals = 200;

bool IsPlan(CsvList list) { return list == CsvList::Usa || list == CsvList::Intl || list == CsvList::Canada; }
bool IsDirectory(CsvList list) { return list == CsvList::Individual || list == CsvList::Group; }

// The channel group of a list's entry places; weather and directories ignore it.
int GroupOf(CsvList list) {
  switch (list) {
    case CsvList::Intl: return kINTL;
    case CsvList::Canada: return kCanada;
    case CsvList::Expansion: return kEXP;
    default: return kUSA;
  }
}

std::string_view PrefixOf(CsvList list) {
  switch (list) {
    case CsvList::Usa: return "CHUSA";
    case CsvList::Intl: return "CHINT";
    case CsvList::Canada: return "CHCAN";
    case CsvList::Expansion: return "CHEXP";
    case CsvList::Weather: return "CHWX";
    case CsvList::Individual: return "CHMMSID";
    case CsvList::Group: return "CHGRPID";
  }
  return {};
}

// The list's .dat sections; the tables have them for every list, so the first of the
// element's kind is never the answer in earnest.
template <class Element>
const DatNumberedSections<Element>& SectionsOf(CsvList list) {
  const DatNumberedSections<Element>* found = nullptr;
  for (const DatTableSections& tables : DatTables()) {
    const auto* sections = std::get_if<DatNumberedSections<Element>>(&tables);
    if (!sections || (found && sections->prefix != PrefixOf(list))) continue;
    found = sections;
    if (sections->prefix == PrefixOf(list)) break;
  }
  return *found;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view TrimSpaces(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

std::optional<std::u32string> DecodeUtf8(std::string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t extra = lead < 0x80             ? 0
                              : (lead & 0xE0) == 0xC0 ? 1
                              : (lead & 0xF0) == 0xE0 ? 2
                              : (lead & 0xF8) == 0xF0 ? 3
                                                      : 4;
    if (extra == 4 || s.size() - i <= extra) return std::nullopt;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(s[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    out += c;
    i += extra + 1;
  }
  return out;
}

// Check boxes as the .dat writes them, or as a spreadsheet's own truth values.
std::optional<bool> FlagCell(std::string_view v) {
  if (v == "1" || SameNoCase(v, "true")) return true;
  if (v == "0" || SameNoCase(v, "false")) return false;
  return std::nullopt;
}

const void* Address(const DatConstFieldRef& f) {
  return std::visit([](auto* p) -> const void* { return p; }, f);
}

// A box the page greys out for some channels, or for all of them.
enum class Lock { None, TxEnable, Duplex, Scan, Scrambler, Plan };

template <class Element>
struct Column {
  const DatKey<Element>* key = nullptr;
  std::string name;
  std::optional<EntryField> entry;  // the text box whose rule checks the cell
  Lock lock = Lock::None;
};

// The page's box of a key, found by the field it fills so that a renamed key cannot lose it.
std::optional<EntryField> EntryOf(CsvList list, const Channel& probe, const void* field) {
  if (field == &probe.ChTag) return list == CsvList::Weather ? EntryField::WeatherTag : EntryField::ChannelTag;
  if (field == &probe.CHDisplayL) return EntryField::DisplayLeft;
  if (field == &probe.CHDisplayR) return EntryField::DisplayRight;
  if (field == &probe.Rxfreq) return EntryField::RxFrequency;
  if (field == &probe.Txfreq) return EntryField::TxFrequency;
  return std::nullopt;
}

std::optional<EntryField> EntryOf(CsvList list, const DirectoryEntry& probe, const void* field) {
  const bool individual = list == CsvList::Individual;
  if (field == &probe.TagName) return individual ? EntryField::IndividualName : EntryField::GroupName;
  if (field == &probe.Mmsid) return individual ? EntryField::IndividualMmsi : EntryField::GroupMmsi;
  return std::nullopt;
}

Lock LockOf(CsvList list, const Channel& probe, const void* field) {
  if (!IsPlan(list)) return Lock::None;
  if (field == &probe.TxEnable) return Lock::TxEnable;
  if (field == &probe.Duplex) return Lock::Duplex;
  if (field == &probe.ScanMemory) return Lock::Scan;
  if (field == &probe.Scramble) return Lock::Scrambler;
  if (field == &probe.DispayA) return Lock::Plan;
  return Lock::None;
}

Lock LockOf(CsvList, const DirectoryEntry&, const void*) { return Lock::None; }

std::optional<std::string> LockedWhy(Lock lock, const Channel& ch) {
  const ChannelLocks locks = PlanChannelLocks(ch);
  switch (lock) {
    case Lock::None: break;
    case Lock::TxEnable:
      if (locks.txEnable) return "the channel is receive-only; its Tx Enable box is greyed out";
      break;
    case Lock::Duplex:
      if (locks.duplex) return "the channel has no duplex pair; its Duplex box is greyed out";
      break;
    case Lock::Scan:
      if (locks.scan) return "channel 70 carries DSC and is never scanned; its Scan Memory box is greyed out";
      break;
    case Lock::Scrambler:
      if (locks.scrambler) return "channels 16 and 70 have no scrambler; the Scrambler list is greyed out";
      break;
    case Lock::Plan: return "the channel plan sets it; no page changes it";
  }
  return std::nullopt;
}

std::optional<std::string> LockedWhy(Lock, const DirectoryEntry&) { return std::nullopt; }

// Why a text the entry rule's check turns down is wrong.
std::string CheckFailure(const EntryFieldRule& rule) {
  if (rule.check == EntryCheck::Frequency) return "is not a frequency from 137 to 174 MHz on a 25 kHz step (or empty)";
  return "is not " + std::to_string(rule.digits) + " digits (or empty)";
}

std::int32_t NumberOf(const DatFieldRef& f) {
  if (auto* const* small = std::get_if<std::int16_t*>(&f)) return **small;
  return *std::get<std::int32_t*>(f);
}

void SetNumber(const DatFieldRef& f, std::int32_t value) {
  if (auto* const* small = std::get_if<std::int16_t*>(&f)) {
    **small = static_cast<std::int16_t>(value);
  } else {
    *std::get<std::int32_t*>(f) = value;
  }
}

// ---------------------------------------------------------------- one list

template <class Element>
class ListCsv {
 public:
  ListCsv(CsvList list, const ModelDescriptor& model) : list_(list), sections_(SectionsOf<Element>(list)) {
    const Element probe{};
    ForEachDatKey(sections_.keys, model, [&](const DatKey<Element>& key, int, std::string_view name) {
      const void* field = Address(key.read(probe, 0));
      columns_.push_back({&key, std::string(name), EntryOf(list, probe, field), LockOf(list, probe, field)});
    });
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& c : columns_) names.push_back(c.name);
    return names;
  }

  std::string Text(const SettingsRecord& rec) const {
    std::vector<CsvRow> rows{Names()};
    const std::vector<Element>& table = sections_.readTable(rec);
    for (std::size_t k = 0; k < table.size(); ++k) {
      CsvRow& row = rows.emplace_back();
      for (const auto& c : columns_) row.push_back(Cell(rec, c, k));
    }
    return CsvText(rows);
  }

  std::vector<Element>& Table(SettingsRecord& rec) const { return sections_.table(rec); }
  const std::vector<Element>& Table(const SettingsRecord& rec) const { return sections_.readTable(rec); }
  const std::vector<Column<Element>>& columns() const { return columns_; }
  CsvList list() const { return list_; }

  // What the file shows of entry `k`.
  std::string Cell(const SettingsRecord& rec, const Column<Element>& c, std::size_t k) const {
    if (c.entry) {
      const EntryValue value = StoredEntry(rec, Place(c, k));
      // An empty frequency box stands for none; a spreadsheet shows that as an empty cell.
      if (RuleFor(*c.entry).check == EntryCheck::Frequency && !(value.mhz > 0)) return "";
      return ShownText(*c.entry, value);
    }
    const DatConstFieldRef f = c.key->read(Table(rec)[k], 0);
    if (const auto* flag = std::get_if<const bool*>(&f)) return **flag ? "1" : "0";
    if (const auto* small = std::get_if<const std::int16_t*>(&f)) return std::to_string(**small);
    if (const auto* large = std::get_if<const std::int32_t*>(&f)) return std::to_string(**large);
    if (const auto* text = std::get_if<const std::string*>(&f)) return **text;
    return std::to_string(*std::get<const double*>(f));
  }

  EntryPlace Place(const Column<Element>& c, std::size_t k) const {
    return {*c.entry, static_cast<int>(k), GroupOf(list_)};
  }

 private:
  CsvList list_;
  const DatNumberedSections<Element>& sections_;
  std::vector<Column<Element>> columns_;
};

// ---------------------------------------------------------------- import

template <class Element>
class Importer {
 public:
  Importer(const ListCsv<Element>& csv, const SettingsRecord& before, CsvImport& out)
      : csv_(csv), before_(before), out_(out), rowOf_(csv.Table(before).size(), 0) {}

  void Run(std::vector<CsvRow> rows) {
    // Spreadsheets may end a file with empty lines.
    while (!rows.empty() && rows.back() == CsvRow{""}) rows.pop_back();
    if (rows.empty()) {
      Refuse(1, "", "the file is empty; its first row names the columns: " + Joined(csv_.Names()));
      return;
    }
    if (!Header(rows[0])) return;
    for (std::size_t r = 1; r < rows.size(); ++r) Row(r + 1, rows[r], r - 1);
    if constexpr (std::is_same_v<Element, DirectoryEntry>) CheckRun();
  }

 private:
  using Col = Column<Element>;

  void Refuse(std::size_t row, std::string column, std::string why) {
    if (out_.refused.size() >= kKeptRefusals) {
      ++out_.notListed;
      return;
    }
    out_.refused.push_back({row, std::move(column), std::move(why)});
  }

  bool Header(const CsvRow& header) {
    const auto& columns = csv_.columns();
    const std::size_t before = out_.refused.size();
    std::vector<bool> seen(columns.size(), false);
    order_.assign(header.size(), nullptr);
    for (std::size_t i = 0; i < header.size(); ++i) {
      const std::string_view name = TrimSpaces(header[i]);
      const auto it =
          std::find_if(columns.begin(), columns.end(), [&](const Col& c) { return SameNoCase(c.name, name); });
      if (name.empty()) {
        Refuse(1, "", "cell " + std::to_string(i + 1) + " of the header names no column");
        continue;
      }
      if (it == columns.end()) {
        Refuse(1, header[i],
               "is not a column of the " + std::string(NameOf(csv_.list()).title) +
                   " for this model; its columns are " + Joined(csv_.Names()));
        continue;
      }
      const auto at = static_cast<std::size_t>(it - columns.begin());
      if (seen[at]) {
        Refuse(1, header[i], "appears twice");
        continue;
      }
      seen[at] = true;
      order_[i] = &*it;
    }
    for (std::size_t k = 0; k < columns.size(); ++k) {
      if (!seen[k]) Refuse(1, columns[k].name, "is missing from the header row");
    }
    return out_.refused.size() == before && out_.notListed == 0;
  }

  void Row(std::size_t row, const CsvRow& cells, std::size_t ordinal) {
    if (cells.size() != order_.size()) {
      Refuse(row, "",
             "has " + std::to_string(cells.size()) + " cells where the header has " + std::to_string(order_.size()));
      return;
    }
    const std::optional<std::size_t> k = EntryOfRow(row, cells, ordinal);
    if (!k) return;
    rowOf_[*k] = row;
    for (std::size_t i = 0; i < cells.size(); ++i) Cell(row, *order_[i], cells[i], *k);
  }

  // Plan channels are placed by their Position, the other lists' rows fill entries in turn.
  std::optional<std::size_t> EntryOfRow(std::size_t row, const CsvRow& cells, std::size_t ordinal) {
    const std::size_t size = rowOf_.size();
    const auto position =
        std::find_if(order_.begin(), order_.end(), [](const Col* c) { return c->key->kind == DatKind::Position; });
    if (position == order_.end()) {
      if (ordinal < size) return ordinal;
      Refuse(row, "",
             "is one row too many: the " + std::string(NameOf(csv_.list()).title) + " have " + std::to_string(size) +
                 " entries");
      return std::nullopt;
    }
    const std::string& text = cells[static_cast<std::size_t>(position - order_.begin())];
    const auto k = DatNumber(TrimSpaces(text), 0, static_cast<std::int32_t>(size) - 1);
    if (!k) {
      Refuse(row, (*position)->name, Quoted(text) + " is not a channel position from 0 to " + std::to_string(size - 1));
      return std::nullopt;
    }
    const auto at = static_cast<std::size_t>(*k);
    if (rowOf_[at] != 0) {
      Refuse(row, (*position)->name,
             "position " + std::to_string(at) + " is also in row " + std::to_string(rowOf_[at]));
      return std::nullopt;
    }
    return at;
  }

  void Cell(std::size_t row, const Col& c, const std::string& cell, std::size_t k) {
    // A cell that reads as it was written is the value it came from, whatever the rules say of it.
    if (c.key->kind == DatKind::Position || cell == csv_.Cell(before_, c, k)) return;
    if (c.entry) {
      EntryCell(row, c, cell, k);
      return;
    }
    Element& element = csv_.Table(out_.record)[k];
    const DatFieldRef f = c.key->field(element, 0);
    const std::string_view v = TrimSpaces(cell);
    if (bool* const* flag = std::get_if<bool*>(&f)) {
      const std::optional<bool> on = FlagCell(v);
      if (!on) return Refuse(row, c.name, Quoted(cell) + " is not 1 or 0");
      if (*on == **flag) return;
      if (auto why = LockedWhy(c.lock, element)) return Refuse(row, c.name, *why);
      **flag = *on;
      return;
    }
    if (c.key->kind != DatKind::Number) return Refuse(row, c.name, "cannot be changed from a file");
    const std::optional<std::int32_t> number = DatNumber(v, c.key->min, c.key->max);
    if (!number) {
      return Refuse(row, c.name,
                    Quoted(cell) + " is not a whole number from " + std::to_string(c.key->min) + " to " +
                        std::to_string(c.key->max));
    }
    if (*number == NumberOf(f)) return;
    if (auto why = LockedWhy(c.lock, element)) return Refuse(row, c.name, *why);
    SetNumber(f, *number);
  }

  // The text box's own rules: the characters it lets in, its length and its check.
  void EntryCell(std::size_t row, const Col& c, const std::string& cell, std::size_t k) {
    const EntryFieldRule& rule = RuleFor(*c.entry);
    const std::optional<std::u32string> text = DecodeUtf8(cell);
    if (!text) return Refuse(row, c.name, "is not UTF-8 text; save the file as CSV UTF-8");
    if (!AcceptsText(*c.entry, *text))
      return Refuse(row, c.name, Quoted(cell) + " holds a character this field does not take");
    if (text->size() > static_cast<std::size_t>(rule.maxLength)) {
      return Refuse(row, c.name, Quoted(cell) + " is longer than " + std::to_string(rule.maxLength) + " characters");
    }
    const EntryCheckResult checked = CheckEntry(*c.entry, cell);
    if (!checked.valid) return Refuse(row, c.name, Quoted(cell) + " " + CheckFailure(rule));
    StoreEntry(out_.record, csv_.Place(c, k), checked.value);
  }

  // The radio keeps a directory as a packed list that the first entry without an MMSI ends.
  void CheckRun() {
    const auto& now = csv_.Table(out_.record);
    const auto& was = csv_.Table(before_);
    const auto enable = std::find_if(csv_.columns().begin(), csv_.columns().end(),
                                     [](const Col& c) { return c.key->kind == DatKind::Flag; });
    for (std::size_t k = 1; k < now.size(); ++k) {
      const DirectoryEntry& prev = now[k - 1];
      if (!now[k].InUse || (prev.InUse && !prev.Mmsid.empty())) continue;
      if (now[k] == was[k] && prev == was[k - 1]) continue;  // not this file's doing
      Refuse(rowOf_[k] != 0 ? rowOf_[k] : rowOf_[k - 1], enable->name,
             "entry " + std::to_string(k + 1) + " is in use after entry " + std::to_string(k) + ", which is " +
                 (prev.InUse ? "without an MMSI" : "free") +
                 "; entries in use run from entry 1 and each one followed by another has an MMSI");
    }
  }

  const ListCsv<Element>& csv_;
  const SettingsRecord& before_;
  CsvImport& out_;
  std::vector<const Col*> order_;   // the file's columns
  std::vector<std::size_t> rowOf_;  // the file row of each entry, 0 for none
};

template <class Element>
CsvImport Import(const SettingsRecord& rec, const ModelDescriptor& model, CsvList list, std::string_view text) {
  CsvImport out{rec, {}, 0};
  CsvTable table = ParseCsv(text);
  if (table.error) {
    out.refused.push_back({table.errorRow, "", *table.error});
    return out;
  }
  const ListCsv<Element> csv(list, model);
  Importer<Element>(csv, rec, out).Run(std::move(table.rows));
  return out;
}

}  // namespace

const CsvListName& NameOf(CsvList list) { return kCsvLists[static_cast<std::size_t>(list)]; }

std::optional<CsvList> CsvListNamed(std::string_view name) {
  for (const CsvListName& l : kCsvLists) {
    if (SameNoCase(l.name, name)) return l.list;
  }
  return std::nullopt;
}

std::string CsvListNames() {
  std::vector<std::string> names;
  for (const CsvListName& l : kCsvLists) names.emplace_back(l.name);
  return Joined(names);
}

unsigned CsvListArea(CsvList list) {
  if (IsPlan(list)) return record_area::Channels;
  if (IsDirectory(list)) return record_area::Directories;
  return list == CsvList::Weather ? record_area::Weather : record_area::Expansion;
}

std::vector<std::string> CsvColumns(CsvList list, const ModelDescriptor& model) {
  if (IsDirectory(list)) return ListCsv<DirectoryEntry>(list, model).Names();
  return ListCsv<Channel>(list, model).Names();
}

std::string ListCsvText(const SettingsRecord& rec, const ModelDescriptor& model, CsvList list) {
  if (IsDirectory(list)) return ListCsv<DirectoryEntry>(list, model).Text(rec);
  return ListCsv<Channel>(list, model).Text(rec);
}

CsvImport ImportListCsv(const SettingsRecord& rec, const ModelDescriptor& model, CsvList list, std::string_view text) {
  if (IsDirectory(list)) return Import<DirectoryEntry>(rec, model, list, text);
  return Import<Channel>(rec, model, list, text);
}

std::string RefusalLines(const CsvImport& import, std::size_t maxLines) {
  std::string out;
  const std::size_t shown = std::min(maxLines, import.refused.size());
  for (std::size_t i = 0; i < shown; ++i) {
    const CsvRefusal& r = import.refused[i];
    out += (i > 0 ? "\n" : "") + std::string("Row ") + std::to_string(r.row);
    if (!r.column.empty()) out += ", column " + r.column;
    out += ": " + r.why + ".";
  }
  const std::size_t rest = import.refused.size() - shown + import.notListed;
  if (rest > 0) out += "\n... and " + std::to_string(rest) + " more.";
  return out;
}

void TakeList(SettingsRecord& into, const SettingsRecord& from, CsvList list) {
  const auto take = [&](const auto& sections) { sections.table(into) = sections.readTable(from); };
  if (IsDirectory(list)) {
    take(SectionsOf<DirectoryEntry>(list));
  } else {
    take(SectionsOf<Channel>(list));
  }
}

}  // namespace qm47
