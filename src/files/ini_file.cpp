#include "files/ini_file.h"

#include <algorithm>
#include <cctype>

#include "files/atomic_file.h"
#include "model/text.h"

namespace qm47 {

namespace {

constexpr std::size_t kMaxIniBytes = 1 << 20;  // a catalogue is a few hundred bytes
constexpr std::size_t kValueBuffer = 128;      // the value arrives through a 128-character buffer

std::string Trim(const std::string& s) { return std::string(Trimmed(s)); }

}  // namespace

IniFile IniFile::Parse(const std::string& text) {
  IniFile ini;
  // CR LF, a lone LF and a lone CR each end a line.
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    const std::string line = Trim(text.substr(pos, end - pos));
    pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const auto close = line.find(']');
      if (close == std::string::npos) continue;
      ini.sections_.push_back({Trim(line.substr(1, close - 1)), {}});
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string::npos || ini.sections_.empty()) continue;
    ini.sections_.back().entries.emplace_back(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
  }
  return ini;
}

IniFile IniFile::Load(const std::string& path) {
  FileBytes file = ReadWholeFile(path, kMaxIniBytes);
  if (file.error) return IniFile{};
  return Parse(std::string(file.data.begin(), file.data.end()));
}

bool IniFile::Lookup(const std::string& section, const std::string& key, std::string& value) const {
  for (const Section& s : sections_) {
    if (!SameIgnoringCase(s.name, section)) continue;
    for (const auto& [k, v] : s.entries) {
      if (SameIgnoringCase(k, key)) {
        value = v;
        return true;
      }
    }
  }
  return false;
}

std::string ReadCatalogueValue(const IniFile& ini, const std::string& section, const std::string& key) {
  std::string value = "<NONE>";
  ini.Lookup(section, key, value);
  if (value.size() > kValueBuffer - 1) value.resize(kValueBuffer - 1);
  if (const auto nul = value.find('\0'); nul != std::string::npos) value.resize(nul);
  if (value == "<NONE>") return "";
  if (!value.empty() && value[0] == '#') value.erase(0, 1);
  return value;
}

}  // namespace qm47
