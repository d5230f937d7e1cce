#include "gui/connector_line.h"

#include <QPainter>
#include <QStyle>

namespace qm47 {

ConnectorLine::ConnectorLine(QWidget* parent, Shape shape) : QWidget(parent), shape_(shape) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void ConnectorLine::Draw(const ConnectingLine& line) {
  setVisible(line.visible);
  if (colour_ == line.colour) return;
  colour_ = line.colour;
  update();
}

// As wide as a check box's indicator and its gap, so the dependent box sits indented.
QSize ConnectorLine::sizeHint() const {
  const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
  const int gap = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
  return {indicator + gap, indicator};
}

void ConnectorLine::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  // The inactive title colour has no palette role of its own; disabled text is the nearest.
  const QColor colour = colour_ == LineColour::WindowText ? palette().color(QPalette::Active, QPalette::WindowText)
                                                          : palette().color(QPalette::Disabled, QPalette::WindowText);
  painter.setPen(QPen(colour, 1));
  if (shape_ == Shape::Across) {
    painter.drawLine(0, height() / 2, width(), height() / 2);
    return;
  }
  const int x = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) / 2;
  const int y = height() / 2;
  painter.drawLine(x, 0, x, y);
  painter.drawLine(x, y, width(), y);
}

}  // namespace qm47
