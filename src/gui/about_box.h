// Help > About: the program, its version, the model it edits, where err.log goes, the licence.
#pragma once

#include <QDialog>

#include "editor/session/session.h"

namespace qm47 {

class AboutBox final : public QDialog {
 public:
  AboutBox(const Session& s, QWidget* parent);
};

}  // namespace qm47
