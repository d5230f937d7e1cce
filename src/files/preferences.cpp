#include "files/preferences.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace qm47 {

std::string MemoryPreferenceStore::Get(const std::string& section, const std::string& key,
                                       const std::string& defaultValue) const {
  const auto it = values_.find({section, key});
  return it == values_.end() ? defaultValue : it->second;
}

void MemoryPreferenceStore::Save(const std::string& section, const std::string& key, const std::string& value) {
  values_[{section, key}] = value;
}

int PreferenceInt(const std::string& text, int fallback) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return fallback;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return fallback;
  long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 1000000) return fallback;  // no preference is that large; refuse rather than wrap
  }
  return static_cast<int>(negative ? -value : value);
}

bool PreferenceFlag(const std::string& text, bool fallback) {
  std::string t;
  for (char c : text) {
    if (c != ' ' && c != '\t') t += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (t == "true") return true;
  if (t == "false") return false;
  const int sentinel = -999999;
  const int n = PreferenceInt(t, sentinel);
  return n == sentinel ? fallback : n != 0;
}

int BackupsToKeep(const PreferenceStore& prefs) {
  const int keep = PreferenceInt(prefs.Get("Backups", "Keep", ""), kDefaultBackupsKept);
  return keep >= 1 ? keep : kDefaultBackupsKept;
}

}  // namespace qm47
