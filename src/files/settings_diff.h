// What differs between two settings records of one model, named by the .dat section and
// key of each field so that a review, a verify and `qm47-cli diff` speak the file's terms.
#pragma once

#include <string>
#include <vector>

#include "model/models.h"
#include "model/settings_record.h"

namespace qm47 {

struct SettingChange {
  std::string section, key, before, after;
};

// Every .dat key whose value differs between two records of one model, in file order.
std::vector<SettingChange> DiffSettings(const SettingsRecord& before, const SettingsRecord& after,
                                        const ModelDescriptor& model);

// One line per change: "[SECTION] KEY: before -> after" (empty values shown as "").
std::string SettingChangesText(const std::vector<SettingChange>& changes);

}  // namespace qm47
