// From the command line and the catalogue to the model the editor starts with.
#pragma once

#include <string>
#include <vector>

#include "files/ini_file.h"
#include "files/preferences.h"
#include "model/models.h"

namespace qm47 {

struct StartupFlags {
  bool debugMode = false;
  bool baud19200 = false;
};

// "/D", "/E", "/DE", "/ED" after trimming and upper-casing, compared whole.
StartupFlags ParseSwitch(const std::string& commandLine);

// Models 1..10 whose "use" is 1, stopping at the first section without "use".
std::vector<int> ModelsInUse(const IniFile& catalogue);

// The last model in use, unless "lastmodel" names another model in use.
// 0 when no model is in use ("Unknown model!!").
int StartupModel(const IniFile& catalogue, const PreferenceStore& prefs);

// Descriptor of `number`, atis and scrambler read from its catalogue section.
ModelDescriptor DescriptorFromCatalogue(const IniFile& catalogue, int number);

inline constexpr const char* kUnknownModelMessage = "Unknown model!!";
inline constexpr const char* kApplicationTitle = "QM47";

}  // namespace qm47
