#include "files/dat_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <type_traits>
#include <variant>

#include "files/atomic_file.h"
#include "files/dat_schema.h"
#include "model/text.h"

namespace qm47 {

namespace {


// Only spaces are trimmed; a tab is part of the text.
std::string_view Trim(std::string_view s) { return Trimmed(s, " "); }

// CR LF, a lone LF and a lone CR each end a line: files edited on any system read alike.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  std::string_view Next() {
    const std::size_t end = std::min(text_.find_first_of("\r\n", pos_), text_.size());
    const std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (end < text_.size() && text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    return line;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Sign, digits with an optional fraction, optional exponent; returns the characters used.
std::size_t ScanDecimal(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t expStart = j;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
    if (j > expStart) i = j;
  }
  return i;
}

// The decimal number at the start of `s` (locale-independent); nullopt when there is none.
std::optional<double> LeadingDecimal(std::string_view s, std::size_t* used = nullptr) {
  const std::size_t n = ScanDecimal(s);
  if (n == 0) return std::nullopt;
  std::string_view body = s.substr(0, n);
  const bool negative = body.front() == '-';
  if (body.front() == '+' || body.front() == '-') body.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too large gives infinity, too small gives zero; both are handled by range checks.
    const std::size_t e = body.find_first_of("eE");
    const bool tiny = e != std::string_view::npos && body.find('-', e) != std::string_view::npos;
    value = tiny ? 0.0 : HUGE_VAL;
  } else if (ec != std::errc() || end != body.data() + body.size()) {
    return std::nullopt;
  }
  if (used) *used = n;
  return negative ? -value : value;
}

// The whole text is one decimal number.
std::optional<double> WholeDecimal(std::string_view s) {
  std::size_t used = 0;
  const auto value = LeadingDecimal(s, &used);
  if (!value || used != s.size()) return std::nullopt;
  return value;
}

double RoundHalfEven(double x) {
  if (!std::isfinite(x)) return x;
  const double r = std::round(x);  // halves away from zero
  if (std::fabs(x - std::trunc(x)) == 0.5) return 2.0 * std::round(x / 2.0);
  return r;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return SameIgnoringCase(a, b); }

}  // namespace

// ---------------------------------------------------------------- section table

DatSectionTable::Span DatSectionTable::Store(std::string_view text) {
  Span s{static_cast<std::uint32_t>(texts_.size()), static_cast<std::uint32_t>(text.size())};
  texts_.append(text);
  return s;
}

DatSectionTable DatSectionTable::Parse(std::string_view fileText) {
  DatSectionTable table;
  // Offsets are 32-bit; larger inputs are cut (the file reader refuses them long before).
  fileText = fileText.substr(0, std::min<std::size_t>(fileText.size(), 0x3FFFFFFF));
  table.texts_.reserve(fileText.size());
  LineReader lines(fileText);
  std::string_view current;
  bool haveCurrent = false;

  while (!lines.AtEnd()) {
    if (!haveCurrent) current = lines.Next();
    haveCurrent = false;
    if (current.empty() || current.front() != '[') continue;
    const std::size_t close = current.find(']');
    if (close == std::string_view::npos || close == 1) continue;
    const std::string name = Upper(Trim(current.substr(1, close - 1)));
    // A header on the very last line makes no section.
    if (lines.AtEnd()) break;

    Section section;
    section.name = table.Store(name);
    section.firstEntry = static_cast<std::uint32_t>(table.entries_.size());
    while (!lines.AtEnd()) {
      const std::string_view line = lines.Next();
      const std::size_t eq = line.find('=');
      if (eq == std::string_view::npos || eq == 0) {
        // "[X]=1" was a key above; here a line holding "[" anywhere ends the section.
        if (line.find('[') != std::string_view::npos) {
          current = line;
          haveCurrent = true;
          break;
        }
        continue;
      }
      Entry entry;
      entry.key = table.Store(Upper(Trim(line.substr(0, eq))));
      std::string_view value = Trim(line.substr(eq + 1));
      if (!value.empty() && value.front() == '#') value.remove_prefix(1);
      entry.value = table.Store(value);
      table.entries_.push_back(entry);
    }
    section.entryCount = static_cast<std::uint32_t>(table.entries_.size()) - section.firstEntry;
    table.sections_.push_back(section);
  }
  table.BuildIndex();
  return table;
}

void DatSectionTable::BuildIndex() {
  byName_.resize(sections_.size());
  for (std::size_t i = 0; i < sections_.size(); ++i) byName_[i] = static_cast<std::uint32_t>(i);
  std::stable_sort(byName_.begin(), byName_.end(), [this](std::uint32_t a, std::uint32_t b) {
    return Text(sections_[a].name) < Text(sections_[b].name);
  });
}

std::string_view DatSectionTable::SectionName(std::size_t i) const { return Text(sections_.at(i).name); }

std::size_t DatSectionTable::KeyCount(std::size_t section) const { return sections_.at(section).entryCount; }

std::string_view DatSectionTable::Key(std::size_t section, std::size_t k) const {
  const Section& s = sections_.at(section);
  if (k >= s.entryCount) return {};
  return Text(entries_[s.firstEntry + k].key);
}

std::string_view DatSectionTable::Value(std::size_t section, std::size_t k) const {
  const Section& s = sections_.at(section);
  if (k >= s.entryCount) return {};
  return Text(entries_[s.firstEntry + k].value);
}

std::vector<std::uint32_t>::const_iterator DatSectionTable::FirstNamed(const std::string& upperName) const {
  return std::lower_bound(byName_.begin(), byName_.end(), upperName,
                          [this](std::uint32_t i, const std::string& n) { return Text(sections_[i].name) < n; });
}

bool DatSectionTable::HasSection(std::string_view section) const {
  const std::string name = Upper(section);
  const auto it = FirstNamed(name);
  return it != byName_.end() && Text(sections_[*it].name) == name;
}

std::optional<std::string_view> DatSectionTable::Find(std::string_view section, std::string_view key) const {
  const std::string name = Upper(section);
  for (auto it = FirstNamed(name); it != byName_.end() && Text(sections_[*it].name) == name; ++it) {
    const Section& s = sections_[*it];
    for (std::uint32_t k = 0; k < s.entryCount; ++k) {
      const Entry& e = entries_[s.firstEntry + k];
      if (EqualsNoCase(Text(e.key), key)) return Text(e.value);
    }
  }
  return std::nullopt;
}

std::string_view DatSectionTable::Lookup(std::string_view section, std::string_view key) const {
  return Find(section, key).value_or(std::string_view());
}

// ---------------------------------------------------------------- conversions

std::optional<bool> DatFlag(std::string_view value) {
  if (EqualsNoCase(value, "True")) return true;
  if (EqualsNoCase(value, "False")) return false;
  const auto number = WholeDecimal(value);
  if (!number) return std::nullopt;
  return *number != 0;
}

std::optional<std::int32_t> DatNumber(std::string_view value, std::int32_t min, std::int32_t max) {
  const auto number = WholeDecimal(value);
  if (!number) return std::nullopt;
  const double r = RoundHalfEven(*number);
  if (!(r >= min && r <= max)) return std::nullopt;
  return static_cast<std::int32_t>(r);
}

std::optional<double> DatFrequency(std::string_view value) {
  const auto number = WholeDecimal(value);
  if (!number || !std::isfinite(*number)) return std::nullopt;
  const double f = *number;
  if (f == 0) return 0.0;
  // What the image can hold: MHz - 100 as six decimal digits in 100 Hz steps.
  if (!(f > 100) || std::llround((f - 100) * 10000) >= 1000000) return std::nullopt;
  return f;
}

double DatLeadingNumber(std::string_view value) { return RoundHalfEven(LeadingDecimal(value).value_or(0.0)); }

bool DatModelMatches(const DatSectionTable& table, int number) {
  const auto value = DatNumber(table.Lookup(kDatMainSection, kDatModelTypeKey), INT32_MIN, INT32_MAX);
  return value && *value == number;
}

// ---------------------------------------------------------------- merge

namespace {

// Numbers are 16-bit fields but for the priority channel; the range check made the value fit.
void SetNumber(const DatFieldRef& field, std::int32_t value) {
  if (auto* const* small = std::get_if<std::int16_t*>(&field)) {
    **small = static_cast<std::int16_t>(value);
  } else {
    *std::get<std::int32_t*>(field) = value;
  }
}

// The keys the writer writes into one section of `keys` for `model`.
template <class Element>
int KeysWritten(std::span<const DatKey<Element>> keys, const ModelDescriptor& model) {
  int n = 0;
  ForEachDatKey(keys, model, [&](const DatKey<Element>&, int, std::string_view) { ++n; });
  return n;
}

// Stores the file's value of every key `model` has into `element`, from `section`.
template <class Element>
void MergeKeys(const DatSectionTable& table, std::string_view section, std::span<const DatKey<Element>> keys,
               Element& element, const ModelDescriptor& model, DatCompleteness& seen) {
  if (!table.HasSection(section)) seen.missingSections.emplace_back(section);
  ForEachDatKey(keys, model, [&](const DatKey<Element>& key, int i, std::string_view name) {
    const std::optional<std::string_view> found = table.Find(section, name);
    if (!found) ++seen.missingKeys;
    if (key.kind == DatKind::Position) return;  // placed by MergeByPosition
    const std::string_view value = found.value_or(std::string_view());
    const DatFieldRef field = key.field(element, static_cast<std::size_t>(i));
    switch (key.kind) {
      case DatKind::Flag:
        if (const auto v = DatFlag(value)) *std::get<bool*>(field) = *v;
        break;
      case DatKind::Number:
        if (const auto v = DatNumber(value, key.min, key.max)) SetNumber(field, *v);
        break;
      case DatKind::Text:
        *std::get<std::string*>(field) = std::string(value);
        break;
      case DatKind::Frequency:
        if (const auto v = DatFrequency(value)) *std::get<double*>(field) = *v;
        break;
      case DatKind::Position:
        break;
    }
  });
}

// The section the writer gives element k: "CHEXP1" for the first expansion channel.
template <class Element>
std::string NumberedSection(const DatNumberedSections<Element>& sections, std::size_t k) {
  return std::string(sections.prefix) + std::to_string(k + static_cast<std::size_t>(sections.firstNumber));
}

// Region channels: sections by running number up to the first gap, each placed by its position.
void MergeByPosition(const DatSectionTable& table, const DatNumberedSections<Channel>& sections,
                     std::vector<Channel>& channels, const ModelDescriptor& model, DatCompleteness& seen) {
  const auto position = std::find_if(sections.keys.begin(), sections.keys.end(),
                                     [](const DatKeyRow& k) { return k.kind == DatKind::Position; });
  DatCompleteness beyond;  // sections past the writer's count lack nothing it writes
  std::size_t n = 0;
  for (;; ++n) {
    const std::string section = NumberedSection(sections, n);
    const std::string_view value = table.Lookup(section, position->key);
    if (value.empty()) break;  // a gap ends the region
    const double slot = DatLeadingNumber(value);
    if (!(slot >= 0 && slot < static_cast<double>(channels.size()))) continue;
    Channel& ch = channels[static_cast<std::size_t>(slot)];
    ch.Position = static_cast<std::int16_t>(slot);
    MergeKeys(table, section, sections.keys, ch, model, n < channels.size() ? seen : beyond);
    // A position without a duplex pair never becomes duplex.
    ch.Duplex = ch.Duplex && ch.DupCapable;
  }
  // The writer numbers one section per channel; from the gap on, none was read.
  const int perSection = KeysWritten(sections.keys, model);
  for (; n < channels.size(); ++n) {
    const std::string section = NumberedSection(sections, n);
    if (!table.HasSection(section)) seen.missingSections.push_back(section);
    seen.missingKeys += perSection;
  }
}

template <class Element>
void MergeTable(const DatSectionTable& table, const DatNumberedSections<Element>& sections, SettingsRecord& rec,
                const ModelDescriptor& model, DatCompleteness& seen) {
  std::vector<Element>& elements = sections.table(rec);
  if constexpr (std::is_same_v<Element, Channel>) {
    if (sections.placedByPosition) {
      MergeByPosition(table, sections, elements, model, seen);
      return;
    }
  }
  for (std::size_t k = 0; k < elements.size(); ++k) {
    MergeKeys(table, NumberedSection(sections, k), sections.keys, elements[k], model, seen);
  }
}

}  // namespace

DatCompleteness ApplyDatSettings(const DatSectionTable& table, SettingsRecord& rec, const ModelDescriptor& model) {
  DatCompleteness seen;
  for (const DatRecordSection& section : DatRecordSections()) {
    if (DatApplies(section.condition, model)) MergeKeys(table, section.name, section.keys, rec, model, seen);
  }
  for (const DatTableSections& tables : DatTables()) {
    std::visit([&](const auto& sections) { MergeTable(table, sections, rec, model, seen); }, tables);
  }
  return seen;
}

// ---------------------------------------------------------------- file

DatReadResult ReadDatFile(const std::string& path) {
  DatReadResult result;
  FileBytes file = ReadWholeFile(path, kMaxDatFileBytes);
  if (file.error) {
    if (file.error->number == 53) {
      result.notFound = true;
    } else {
      result.error = file.error;
    }
    return result;
  }
  const std::string_view text(reinterpret_cast<const char*>(file.data.data()), file.data.size());
  result.table = DatSectionTable::Parse(text);
  return result;
}

}  // namespace qm47
