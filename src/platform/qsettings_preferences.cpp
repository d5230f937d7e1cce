#include "platform/qsettings_preferences.h"

namespace qm47 {

QSettingsPreferenceStore::QSettingsPreferenceStore() : settings_("QM47", "QM47") {}

std::string QSettingsPreferenceStore::Get(const std::string& section, const std::string& key,
                                          const std::string& defaultValue) const {
  const QString path = QString::fromStdString(section + "/" + key);
  const QVariant v = settings_.value(path);
  if (!v.isValid()) return defaultValue;
  return v.toString().toStdString();
}

void QSettingsPreferenceStore::Save(const std::string& section, const std::string& key, const std::string& value) {
  settings_.setValue(QString::fromStdString(section + "/" + key), QString::fromStdString(value));
  settings_.sync();
}

}  // namespace qm47
