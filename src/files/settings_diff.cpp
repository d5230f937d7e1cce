#include "files/settings_diff.h"

#include <algorithm>
#include <string_view>
#include <variant>

#include "files/dat_reader.h"
#include "files/dat_schema.h"
#include "files/dat_writer.h"

namespace qm47 {

namespace {

// Names come from the schema walk (as the file spells them); values from the written text
// of each record, so a value compares exactly as the file would hold it.
class Differ {
 public:
  Differ(const SettingsRecord& before, const SettingsRecord& after, const ModelDescriptor& model)
      : before_(DatSectionTable::Parse(DatFileText(before, model))),
        after_(DatSectionTable::Parse(DatFileText(after, model))),
        model_(model) {}

  template <class Element>
  void Section(std::string_view section, std::span<const DatKey<Element>> keys) {
    ForEachDatKey(keys, model_, [&](const DatKeyRow&, int, std::string_view key) {
      const std::string_view was = before_.Lookup(section, key);
      const std::string_view is = after_.Lookup(section, key);
      if (was != is) changes_.push_back({std::string(section), std::string(key), std::string(was), std::string(is)});
    });
  }

  // A table one record holds more elements of shows the extra ones against empty values.
  template <class Element>
  void Table(const DatNumberedSections<Element>& sections, const SettingsRecord& before,
             const SettingsRecord& after) {
    const std::size_t count = std::max(sections.readTable(before).size(), sections.readTable(after).size());
    for (std::size_t n = 0; n < count; ++n) {
      const std::string name =
          std::string(sections.prefix) + std::to_string(n + static_cast<std::size_t>(sections.firstNumber));
      Section(name, sections.keys);
    }
  }

  std::vector<SettingChange> Take() { return std::move(changes_); }

 private:
  DatSectionTable before_, after_;
  const ModelDescriptor& model_;
  std::vector<SettingChange> changes_;
};

std::string Shown(const std::string& value) { return value.empty() ? "\"\"" : value; }

}  // namespace

std::vector<SettingChange> DiffSettings(const SettingsRecord& before, const SettingsRecord& after,
                                        const ModelDescriptor& model) {
  Differ differ(before, after, model);
  for (const DatRecordSection& section : DatRecordSections()) {
    if (DatApplies(section.condition, model)) differ.Section(section.name, section.keys);
  }
  for (const DatTableSections& tables : DatTables()) {
    std::visit([&](const auto& sections) { differ.Table(sections, before, after); }, tables);
  }
  return differ.Take();
}

std::string SettingChangesText(const std::vector<SettingChange>& changes) {
  std::string text;
  for (const SettingChange& c : changes) {
    text += "[" + c.section + "] " + c.key + ": " + Shown(c.before) + " -> " + Shown(c.after) + "\n";
  }
  return text;
}

}  // namespace qm47
