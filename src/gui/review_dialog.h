// Before programming: the settings that will change in the radio, section, key, the
// radio's value and the new one, with OK to program and Cancel to leave the radio alone.
#pragma once

#include <QDialog>
#include <vector>

#include "files/settings_diff.h"

namespace qm47 {

class ReviewDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit ReviewDialog(const std::vector<SettingChange>& changes, QWidget* parent = nullptr);
};

}  // namespace qm47
