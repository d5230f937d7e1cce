// Before programming: the settings that will change in the radio, section, key, the
// radio's value and the new one, how the transfer will write and check, with OK to
// program and Cancel to leave the radio alone.
#pragma once

#include <QCheckBox>
#include <QDialog>

#include "editor/radio/program_review.h"

namespace qm47 {

class ReviewDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit ReviewDialog(const ProgramReview& review, QWidget* parent = nullptr);
  // Shown modal; what the user chose.
  ReviewAnswer Ask();

 private:
  QCheckBox* writtenOnly_ = nullptr;
};

}  // namespace qm47
