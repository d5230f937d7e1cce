// Reading a .dat settings file: the section table, the model check and the merge
// into the settings record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/io_error.h"
#include "model/models.h"
#include "model/settings_record.h"

namespace qm47 {

// A real file is under 100 KB; anything far larger is not a settings file.
inline constexpr std::size_t kMaxDatFileBytes = 4u << 20;

// Sections in file order; names and keys trimmed and upper-cased, values trimmed
// with one leading "#" removed. All texts live in one buffer to keep hostile
// files (millions of tiny sections) cheap.
class DatSectionTable {
 public:
  static DatSectionTable Parse(std::string_view fileText);

  std::size_t SectionCount() const { return sections_.size(); }
  std::string_view SectionName(std::size_t i) const;
  std::size_t KeyCount(std::size_t section) const;
  std::string_view Key(std::size_t section, std::size_t k) const;
  std::string_view Value(std::size_t section, std::size_t k) const;

  // The first match of `key` in the first section named `section` that holds it,
  // both compared without regard to case; nullopt when there is none.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
  // As Find, empty when there is none.
  std::string_view Lookup(std::string_view section, std::string_view key) const;
  bool HasSection(std::string_view section) const;

 private:
  struct Span {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
  };
  struct Section {
    Span name;
    std::uint32_t firstEntry = 0;
    std::uint32_t entryCount = 0;
  };
  struct Entry {
    Span key;
    Span value;
  };

  Span Store(std::string_view text);
  std::string_view Text(Span s) const { return std::string_view(texts_).substr(s.offset, s.length); }
  void BuildIndex();
  std::vector<std::uint32_t>::const_iterator FirstNamed(const std::string& upperName) const;

  std::string texts_;
  std::vector<Section> sections_;
  std::vector<Entry> entries_;
  std::vector<std::uint32_t> byName_;  // section indices sorted by name, then file order
};

// Conversions of a table value into a record field; nullopt when it is unusable.
std::optional<bool> DatFlag(std::string_view value);
std::optional<std::int32_t> DatNumber(std::string_view value, std::int32_t min, std::int32_t max);
std::optional<double> DatFrequency(std::string_view value);
// The leading decimal number of the text (0 when there is none), rounded half to even.
double DatLeadingNumber(std::string_view value);

// MODELTYPE of [MAIN] is a number and names model `number`.
bool DatModelMatches(const DatSectionTable& table, int number);

// What a file lacked of what the writer writes for the model ([MAIN] aside, which the
// model check covers), so that a cut-short or partial file can be warned about.
struct DatCompleteness {
  // Keys absent, also those of absent sections and of region sections behind the first
  // gap in their numbering (never read): their flags and numbers kept their value, their
  // texts became empty.
  int missingKeys = 0;
  // Sections absent altogether, in file order, named as written ("Common Setup", "CHUSA17").
  std::vector<std::string> missingSections;
};

// Merges the table into the record: fields the file supplies in a usable form are
// overwritten, flags and numbers it lacks keep their value, missing texts become empty.
// Returns what the file lacked.
DatCompleteness ApplyDatSettings(const DatSectionTable& table, SettingsRecord& rec, const ModelDescriptor& model);

struct DatReadResult {
  std::optional<DatSectionTable> table;  // set when the file was read
  bool notFound = false;                 // no such file: the caller's model check fails
  std::optional<IoError> error;          // any other failure to read
};
DatReadResult ReadDatFile(const std::string& path);

}  // namespace qm47
