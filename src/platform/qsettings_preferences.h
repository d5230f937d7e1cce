// Preferences in the user's QSettings store, organisation and application "QM47".
#pragma once

#include <QSettings>

#include "files/preferences.h"

namespace qm47 {

class QSettingsPreferenceStore final : public PreferenceStore {
 public:
  QSettingsPreferenceStore();
  std::string Get(const std::string& section, const std::string& key,
                  const std::string& defaultValue) const override;
  void Save(const std::string& section, const std::string& key, const std::string& value) override;

 private:
  mutable QSettings settings_;
};

}  // namespace qm47
