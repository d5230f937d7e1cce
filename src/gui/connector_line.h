// The line from one check box down and across to the box that depends on it, lit while
// that box can be used.
#pragma once

#include <QWidget>

#include "editor/channel_page.h"

namespace qm47 {

class ConnectorLine final : public QWidget {
 public:
  explicit ConnectorLine(QWidget* parent = nullptr);

  void Draw(const ConnectingLine& line);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  LineColour colour_ = LineColour::WindowText;
};

}  // namespace qm47
