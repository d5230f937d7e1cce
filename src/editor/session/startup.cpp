#include "editor/session/startup.h"
#include "model/text.h"

#include <algorithm>
#include <cctype>

namespace qm47 {

namespace {

std::string TrimUpper(const std::string& s) { return Upper(Trimmed(s)); }

std::string ModelSection(int n) { return "model" + std::to_string(n); }

// "use" counts when the number at the start of its text is exactly 1: "1", "01", "1 " do,
// "1.5", "10" and "yes" do not.
bool UseIsOne(const std::string& text) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return false;
  if (text[i] == '+') ++i;
  const std::size_t digits = i;
  long whole = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && whole < 10; ++i) {
    whole = whole * 10 + (text[i] - '0');
  }
  if (i == digits || whole != 1) return false;
  if (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
      if (text[i] != '0') return false;
    }
  }
  return true;
}

}  // namespace

StartupFlags ParseSwitch(const std::string& commandLine) {
  const std::string s = TrimUpper(commandLine);
  StartupFlags f;
  if (s == "/DE" || s == "/ED") {
    f.debugMode = f.baud19200 = true;
  } else if (s == "/D") {
    f.debugMode = true;
  } else if (s == "/E") {
    f.baud19200 = true;
  }
  return f;
}

std::vector<int> ModelsInUse(const IniFile& catalogue) {
  std::vector<int> models;
  for (int n = 1; n <= kMaxModels; ++n) {
    const std::string use = ReadCatalogueValue(catalogue, ModelSection(n), "use");
    if (use.empty()) break;
    if (UseIsOne(use)) models.push_back(n);
  }
  return models;
}

int StartupModel(const IniFile& catalogue, const PreferenceStore& prefs) {
  const std::vector<int> inUse = ModelsInUse(catalogue);
  if (inUse.empty()) return 0;
  const int last = PreferenceInt(prefs.Get("Settings", "lastmodel", "1"), 0);
  if (std::find(inUse.begin(), inUse.end(), last) != inUse.end()) return last;
  return inUse.back();
}

ModelDescriptor DescriptorFromCatalogue(const IniFile& catalogue, int number) {
  const bool atis = PreferenceFlag(ReadCatalogueValue(catalogue, ModelSection(number), "atis"), false);
  const bool scrambler = PreferenceFlag(ReadCatalogueValue(catalogue, ModelSection(number), "scrambler"), false);
  return MakeDescriptor(number, atis, scrambler);
}

}  // namespace qm47
