// Read-only INI text, looked up the way the catalogue and destination names need.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace qm47 {

class IniFile {
 public:
  IniFile() = default;  // a missing file: every key missing
  static IniFile Parse(const std::string& text);
  static IniFile Load(const std::string& path);

  // First section and key that match ignoring case; nullopt-like empty pair when absent.
  bool Lookup(const std::string& section, const std::string& key, std::string& value) const;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
  };
  std::vector<Section> sections_;
};

// The catalogue's value rules: "<NONE>" means missing (empty result), at most
// 127 characters, cut at the first NUL, one leading "#" removed.
std::string ReadCatalogueValue(const IniFile& ini, const std::string& section, const std::string& key);

}  // namespace qm47
