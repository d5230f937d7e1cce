// The line from a control to the one that depends on it, lit while that one can be used.
#pragma once

#include <QWidget>

#include "editor/pages/control_state.h"

namespace qm47 {

class ConnectorLine final : public QWidget {
 public:
  // Elbow: down from the box above, then across to the box it leads to. Across: straight
  // from the control on the left to the one on the right.
  enum class Shape { Elbow, Across };
  explicit ConnectorLine(QWidget* parent = nullptr, Shape shape = Shape::Elbow);

  void Draw(const ConnectingLine& line);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Shape shape_;
  LineColour colour_ = LineColour::WindowText;
};

}  // namespace qm47
