#include "editor/lists/csv_lists.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <variant>

#include "editor/pages/channel_page.h"
#include "editor/pages/channel_texts.h"
#include "editor/pages/entry_rules.h"
#include "editor/session/session.h"
#include "files/csv.h"
#include "files/dat_reader.h"
#include "files/dat_schema.h"
#include "model/memory_image.h"
#include "model/text.h"

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

// The list's .dat sections; none for a value that names no list.
template <class Element>
const DatNumberedSections<Element>* SectionsOf(CsvList list) {
  for (const DatTableSections& tables : DatTables()) {
    const auto* sections = std::get_if<DatNumberedSections<Element>>(&tables);
    if (sections && sections->prefix == PrefixOf(list)) return sections;
  }
  return nullptr;
}

std::string_view TrimSpaces(std::string_view s) { return Trimmed(s, " "); }

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

// One character for a message; a control character by its code, which a message cannot show.
std::string CharText(char32_t c) {
  if (c < 0x20 || c == 0x7F) return "character code " + std::to_string(static_cast<unsigned>(c));
  return Quoted(EncodeUtf8(std::u32string(1, c)));
}

// Check boxes as the .dat writes them, or as a spreadsheet's own truth values.
std::optional<bool> FlagCell(std::string_view v) {
  if (v == "1" || SameIgnoringCase(v, "true")) return true;
  if (v == "0" || SameIgnoringCase(v, "false")) return false;
  return std::nullopt;
}

const void* Address(const DatConstFieldRef& f) {
  return std::visit([](auto* p) -> const void* { return p; }, f);
}

// A box the page greys out for some channels, or for all of them.
enum class Lock { None, TxEnable, Duplex, Scan, Scrambler, Plan };

// What a column holds. Only a key is read into the record; the others show what the
// pages show, for people, and are checked so that a file cannot land on the wrong list
// or the wrong channels.
enum class Shows { Key, List, Channel, RxMhz };

constexpr std::string_view kListColumn = "List";
constexpr std::string_view kChannelColumn = "Channel";
constexpr std::string_view kRxColumn = "RX MHz";
constexpr std::string_view kScramblerColumn = "Scrambler";
// The column of the stored numbers (0..7) in files written before it showed the list.
constexpr std::string_view kOldScrambleColumn = "Scramble";

template <class Element>
struct Column {
  const DatKey<Element>* key = nullptr;  // only for Shows::Key
  std::string name;
  Shows shows = Shows::Key;
  std::optional<EntryField> entry;  // the text box whose rule checks the cell
  Lock lock = Lock::None;
  bool scrambler = false;  // the Scrambler list: its items stand for the stored number
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

bool IsScrambler(const Channel& probe, const void* field) { return field == &probe.Scramble; }
bool IsScrambler(const DirectoryEntry&, const void*) { return false; }

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

// The channel and receive frequency as the list's grid shows them: plan channels by
// their number ("16", "01A"), expansion channels from 1. No frequency is an empty cell,
// as in the frequency columns.
std::string ChannelText(CsvList list, const Channel& ch, std::size_t k) {
  return IsPlan(list) ? PlanChannelLabel(ch) : std::to_string(k + 1);
}
std::string ChannelText(CsvList, const DirectoryEntry&, std::size_t) { return ""; }

std::string RxText(CsvList list, const Channel& ch) {
  if (IsPlan(list)) return PlanRxText(ch);
  return ch.Rxfreq > 0 ? ExpansionFrequencyText(ch.Rxfreq) : "";
}
std::string RxText(CsvList, const DirectoryEntry&) { return ""; }

// A channel number as a spreadsheet may give it back: "1A" for "01A".
bool SameChannel(std::string_view a, std::string_view b) {
  const auto unpadded = [](std::string_view s) {
    while (s.size() > 1 && s.front() == '0') s.remove_prefix(1);
    return s;
  };
  return SameIgnoringCase(unpadded(a), unpadded(b));
}

// The name boxes: the radio keeps letters, digits, space and - + ( ) . * / , and drops
// the rest, so a name with anything else would not come back as typed.
bool IsName(EntryField field) {
  return field == EntryField::ChannelTag || field == EntryField::WeatherTag || field == EntryField::IndividualName ||
         field == EntryField::GroupName;
}
bool RadioKeeps(char32_t c) { return c < 0x80 && InNameCharset(static_cast<char>(c)); }

// Why a text the entry rule's check turns down is wrong.
std::string CheckFailure(const EntryFieldRule& rule) {
  if (rule.check == EntryCheck::Frequency) return "is not a frequency from 137 to 174 MHz on a 25 kHz step (or empty)";
  return "is not " + std::to_string(rule.digits) + " digits (or empty)";
}

std::int32_t NumberOf(const DatConstFieldRef& f) {
  if (const auto* small = std::get_if<const std::int16_t*>(&f)) return **small;
  return *std::get<const std::int32_t*>(f);
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
  ListCsv(CsvList list, const DatNumberedSections<Element>& sections, const ModelDescriptor& model)
      : list_(list), sections_(sections) {
    const Element probe{};
    ForEachDatKey(sections_.keys, model, [&](const DatKey<Element>& key, int, std::string_view name) {
      const void* field = Address(key.read(probe, 0));
      const bool scrambler = IsScrambler(probe, field);
      // Named as the page names its list, so a file of the stored numbers is never read as one of its items.
      columns_.push_back({&key, scrambler ? std::string(kScramblerColumn) : std::string(name), Shows::Key,
                          EntryOf(list, probe, field), LockOf(list, probe, field), scrambler});
    });
    if (!IsPlan(list) && list != CsvList::Expansion) return;
    // After a plan's Position, in front of the expansion channels' keys.
    auto at =
        std::find_if(columns_.begin(), columns_.end(), [](const Col& c) { return c.key->kind == DatKind::Position; });
    at = at == columns_.end() ? columns_.begin() : at + 1;
    at = columns_.insert(at, Shown(Shows::Channel, kChannelColumn)) + 1;
    columns_.insert(at, Shown(Shows::RxMhz, kRxColumn));
    // The three plans share their columns and channels; only this tells their files apart.
    if (IsPlan(list)) columns_.insert(columns_.begin(), Shown(Shows::List, kListColumn));
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
    const Element& element = Table(rec)[k];
    switch (c.shows) {
      case Shows::Key: break;
      case Shows::List: return std::string(NameOf(list_).name);
      case Shows::Channel: return ChannelText(list_, element, k);
      case Shows::RxMhz: return RxText(list_, element);
    }
    if (c.entry) {
      const EntryValue value = StoredEntry(rec, Place(c, k));
      // An empty frequency box stands for none; a spreadsheet shows that as an empty cell.
      if (RuleFor(*c.entry).check == EntryCheck::Frequency && !(value.mhz > 0)) return "";
      return ShownText(*c.entry, value);
    }
    const DatConstFieldRef f = c.key->read(element, 0);
    if (c.scrambler) return ScramblerItems()[static_cast<std::size_t>(ScramblerIndex(NumberOf(f)))];
    if (const auto* flag = std::get_if<const bool*>(&f)) return **flag ? "1" : "0";
    if (std::holds_alternative<const std::int16_t*>(f) || std::holds_alternative<const std::int32_t*>(f))
      return std::to_string(NumberOf(f));
    if (const auto* text = std::get_if<const std::string*>(&f)) return **text;
    return std::to_string(*std::get<const double*>(f));
  }

  EntryPlace Place(const Column<Element>& c, std::size_t k) const {
    return {*c.entry, static_cast<int>(k), GroupOf(list_)};
  }

 private:
  using Col = Column<Element>;

  static Col Shown(Shows shows, std::string_view name) { return {nullptr, std::string(name), shows, {}, {}, false}; }

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
    for (std::size_t r = 1; r < rows.size() && !wrongList_; ++r) Row(r + 1, rows[r], r - 1);
    if constexpr (std::is_same_v<Element, DirectoryEntry>) {
      if (!wrongList_) CheckRun();
    }
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

  std::string Title() const { return std::string(NameOf(csv_.list()).title); }

  bool Header(const CsvRow& header) {
    const auto& columns = csv_.columns();
    const std::size_t before = out_.refused.size();
    std::vector<bool> seen(columns.size(), false);
    order_.assign(header.size(), nullptr);
    for (std::size_t i = 0; i < header.size(); ++i) {
      const std::string_view name = TrimSpaces(header[i]);
      const auto it =
          std::find_if(columns.begin(), columns.end(), [&](const Col& c) { return SameIgnoringCase(c.name, name); });
      if (name.empty()) {
        Refuse(1, "", "cell " + std::to_string(i + 1) + " of the header names no column");
        continue;
      }
      if (it == columns.end() && SameIgnoringCase(name, kOldScrambleColumn)) {
        Refuse(1, header[i],
               "holds the scrambler as stored numbers (an older file); the column is now Scrambler with the "
               "page's items " + Joined(ScramblerItems()) + ": export the list again and edit that");
        continue;
      }
      if (it == columns.end()) {
        Refuse(1, header[i],
               "is not a column of the " + Title() + " for this model; its columns are " + Joined(csv_.Names()));
        continue;
      }
      const auto at = static_cast<std::size_t>(it - columns.begin());
      if (seen[at]) {
        Refuse(1, header[i], "appears twice");
        continue;
      }
      seen[at] = true;
      order_[i] = &*it;
      if (it->shows == Shows::List) listAt_ = i;
      if (it->shows == Shows::Channel) channelAt_ = i;
      if (it->shows == Shows::RxMhz) rxAt_ = i;
      if (it->shows == Shows::Key && it->key->kind == DatKind::Position) positionAt_ = i;
    }
    // The shown columns may be left out, as files written before them did.
    for (std::size_t k = 0; k < columns.size(); ++k) {
      if (!seen[k] && columns[k].shows == Shows::Key) Refuse(1, columns[k].name, "is missing from the header row");
    }
    return out_.refused.size() == before && out_.notListed == 0;
  }

  void Row(std::size_t row, const CsvRow& cells, std::size_t ordinal) {
    if (cells.size() != order_.size()) {
      Refuse(row, "",
             "has " + std::to_string(cells.size()) + " cells where the header has " + std::to_string(order_.size()));
      return;
    }
    if (!RightList(row, cells)) return;
    const std::optional<std::size_t> k = EntryOfRow(row, cells, ordinal);
    if (!k || !RightChannel(row, cells, *k)) return;
    rowOf_[*k] = row;
    for (std::size_t i = 0; i < cells.size(); ++i) Cell(row, *order_[i], cells[i], *k);
    if (rxAt_) RxCell(row, *order_[*rxAt_], cells[*rxAt_], *k);
  }

  // A file of another list would put its rows onto this list's channels: it is turned
  // down at its first row, and nothing of it is read.
  bool RightList(std::size_t row, const CsvRow& cells) {
    if (!listAt_) return true;
    const std::string& found = cells[*listAt_];
    const std::string_view want = NameOf(csv_.list()).name;
    if (SameIgnoringCase(TrimSpaces(found), want)) return true;
    const std::optional<CsvList> other = CsvListNamed(TrimSpaces(found));
    std::string why = Quoted(found) + " where " + Quoted(want) + " is expected: ";
    if (other) {
      const std::string theirs(NameOf(*other).title);
      why += "the file holds the " + theirs + ", not the " + Title() + "; import it into the " + theirs +
             ", or export the " + Title() + " to edit them";
    } else {
      why += "List names the plan the file was exported from; export the " + Title() + " to edit them";
    }
    Refuse(row, order_[*listAt_]->name, why);
    wrongList_ = true;
    return false;
  }

  // A row whose channel is not the one at its place is off its place: its cells are not read.
  bool RightChannel(std::size_t row, const CsvRow& cells, std::size_t k) {
    if (!channelAt_) return true;
    const Col& c = *order_[*channelAt_];
    const std::string& found = cells[*channelAt_];
    const std::string want = csv_.Cell(before_, c, k);
    if (SameChannel(TrimSpaces(found), want)) return true;
    if (positionAt_) {
      Refuse(row, c.name,
             Quoted(found) + " where Position " + std::to_string(k) + " of the " + Title() + " is channel " +
                 Quoted(want) + "; give the row back the Position and Channel it was exported with");
    } else {
      Refuse(row, c.name,
             Quoted(found) + " where channel " + Quoted(want) +
                 " is expected: the rows are read in channel order; put them back in that order");
    }
    return false;
  }

  // Plan channels are placed by their Position, the other lists' rows fill entries in turn.
  std::optional<std::size_t> EntryOfRow(std::size_t row, const CsvRow& cells, std::size_t ordinal) {
    const std::size_t size = rowOf_.size();
    if (!positionAt_) {
      if (ordinal < size) return ordinal;
      Refuse(row, "", "is one row too many: the " + Title() + " have " + std::to_string(size) + " entries");
      return std::nullopt;
    }
    const std::string& name = order_[*positionAt_]->name;
    const std::string& text = cells[*positionAt_];
    const auto k = DatNumber(TrimSpaces(text), 0, static_cast<std::int32_t>(size) - 1);
    if (!k) {
      Refuse(row, name, Quoted(text) + " is not a channel position from 0 to " + std::to_string(size - 1));
      return std::nullopt;
    }
    const auto at = static_cast<std::size_t>(*k);
    if (rowOf_[at] != 0) {
      Refuse(row, name, "position " + std::to_string(at) + " is also in row " + std::to_string(rowOf_[at]));
      return std::nullopt;
    }
    return at;
  }

  // RX MHz is shown, not read: a spreadsheet may write its number another way, but a
  // frequency changed there must not be dropped without a word. Checked against the
  // channel as its row leaves it (a duplex plan channel receives on another frequency).
  void RxCell(std::size_t row, const Col& c, const std::string& cell, std::size_t k) {
    const std::string shown = csv_.Cell(out_.record, c, k);
    const std::string_view v = TrimSpaces(cell);
    if (v == shown) return;
    const auto number = [](std::string_view s) -> std::optional<double> {
      double value = 0;
      const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
      if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
      return value;
    };
    const auto a = number(v), b = number(shown);
    if (a && b && std::abs(*a - *b) < 0.0005) return;
    Refuse(row, c.name,
           Quoted(cell) + " is not the channel's frequency " + Quoted(shown) + ": RX MHz is only shown" +
               (IsPlan(csv_.list()) ? "; a plan channel's frequency is fixed" : "; change Rxfreq instead"));
  }

  void Cell(std::size_t row, const Col& c, const std::string& cell, std::size_t k) {
    // A cell that reads as it was written is the value it came from, whatever the rules say of it.
    if (c.shows != Shows::Key || c.key->kind == DatKind::Position || cell == csv_.Cell(before_, c, k)) return;
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
    std::optional<std::int32_t> number;
    if (c.scrambler) {
      // The page's list: Off keeps the code and clears the scrambler, a code sets both.
      const std::vector<std::string>& items = ScramblerItems();
      const auto item =
          std::find_if(items.begin(), items.end(), [&](const std::string& i) { return SameIgnoringCase(i, v); });
      if (item == items.end())
        return Refuse(row, c.name, Quoted(cell) + " is not on the Scrambler list: " + Joined(items));
      number = ScrambleOfIndex(NumberOf(f), static_cast<int>(item - items.begin()));
    } else {
      number = DatNumber(v, c.key->min, c.key->max);
      if (!number) {
        return Refuse(row, c.name,
                      Quoted(cell) + " is not a whole number from " + std::to_string(c.key->min) + " to " +
                          std::to_string(c.key->max));
      }
    }
    if (*number == NumberOf(f)) return;
    if (auto why = LockedWhy(c.lock, element)) return Refuse(row, c.name, *why);
    SetNumber(f, *number);
  }

  // The text box's own rules: the characters it lets in, its length and its check; and for
  // a name, only what the radio keeps.
  void EntryCell(std::size_t row, const Col& c, const std::string& cell, std::size_t k) {
    const EntryFieldRule& rule = RuleFor(*c.entry);
    const std::optional<std::u32string> text = DecodeUtf8(cell);
    if (!text) return Refuse(row, c.name, "is not UTF-8 text; save the file as CSV UTF-8");
    if (!AcceptsText(*c.entry, *text)) {
      const auto bad = std::find_if(text->begin(), text->end(),
                                    [&](char32_t ch) { return !AcceptsText(*c.entry, std::u32string_view(&ch, 1)); });
      return Refuse(row, c.name, Quoted(cell) + " holds " + CharText(*bad) + ", a character this field does not take");
    }
    if (IsName(*c.entry)) {
      const auto bad = std::find_if(text->begin(), text->end(), [](char32_t ch) { return !RadioKeeps(ch); });
      if (bad != text->end()) {
        return Refuse(row, c.name,
                      Quoted(cell) + " holds " + CharText(*bad) +
                          ", which the radio cannot keep in a name; use letters, digits, spaces and - + ( ) . * / ,");
      }
    }
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
    const DirectoryEntry probe{};
    const auto& columns = csv_.columns();
    const auto inUse = std::find_if(columns.begin(), columns.end(), [&](const Col& c) {
      return c.shows == Shows::Key && Address(c.key->read(probe, 0)) == &probe.InUse;
    });
    const std::string column = inUse != columns.end() ? inUse->name : "";
    for (std::size_t k = 1; k < now.size(); ++k) {
      const DirectoryEntry& prev = now[k - 1];
      if (!now[k].InUse || (prev.InUse && !prev.Mmsid.empty())) continue;
      if (now[k] == was[k] && prev == was[k - 1]) continue;  // not this file's doing
      Refuse(rowOf_[k] != 0 ? rowOf_[k] : rowOf_[k - 1], column,
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
  // Where a row holds them, when the file has them.
  std::optional<std::size_t> listAt_, channelAt_, rxAt_, positionAt_;
  bool wrongList_ = false;
};

template <class Element>
CsvImport Import(const SettingsRecord& rec, const ModelDescriptor& model, CsvList list, std::string_view text) {
  CsvImport out{rec, {}, 0};
  const DatNumberedSections<Element>* sections = SectionsOf<Element>(list);
  if (!sections) {
    out.refused.push_back({1, "", "there is no such list; the lists are " + CsvListNames()});
    return out;
  }
  CsvTable table = ParseCsv(text);
  if (table.error) {
    out.refused.push_back({table.errorRow, "", *table.error});
    return out;
  }
  const ListCsv<Element> csv(list, *sections, model);
  Importer<Element>(csv, rec, out).Run(std::move(table.rows));
  return out;
}

// Calls use(ListCsv) for the list's element kind; nothing for a value that names no list.
template <class Use>
void WithList(CsvList list, const ModelDescriptor& model, Use&& use) {
  const auto with = [&](const auto* sections) {
    if (sections) use(ListCsv(list, *sections, model));
  };
  if (IsDirectory(list)) {
    with(SectionsOf<DirectoryEntry>(list));
  } else {
    with(SectionsOf<Channel>(list));
  }
}

}  // namespace

const CsvListName& NameOf(CsvList list) { return kCsvLists[static_cast<std::size_t>(list)]; }

std::optional<CsvList> CsvListNamed(std::string_view name) {
  for (const CsvListName& l : kCsvLists) {
    if (SameIgnoringCase(l.name, name)) return l.list;
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
  std::vector<std::string> names;
  WithList(list, model, [&](const auto& csv) { names = csv.Names(); });
  return names;
}

std::string ListCsvText(const SettingsRecord& rec, const ModelDescriptor& model, CsvList list) {
  std::string text;
  WithList(list, model, [&](const auto& csv) { text = csv.Text(rec); });
  return text;
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
  const auto take = [&](const auto* sections) {
    if (sections) sections->table(into) = sections->readTable(from);
  };
  if (IsDirectory(list)) {
    take(SectionsOf<DirectoryEntry>(list));
  } else {
    take(SectionsOf<Channel>(list));
  }
}

}  // namespace qm47
