#include "gui/control_view.h"

#include <QEvent>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

namespace qm47 {

void DrawControl(QWidget& widget, const ControlState& state) {
  const QString name = QString::fromStdString(state.name);
  if (widget.objectName() != name) widget.setObjectName(name);
  widget.setAccessibleName(QString::fromStdString(state.caption));
  widget.setAccessibleDescription(QString::fromStdString(state.hint));
  widget.setProperty("helpContext", state.helpContext);
  widget.setVisible(state.visible);
  widget.setEnabled(state.enabled);
}

QString WithAccessKey(const std::string& caption, QChar key) {
  QString text = QString::fromStdString(caption).replace("&", "&&");
  const qsizetype at = text.indexOf(key);
  if (at >= 0) text.insert(at, '&');
  return text;
}

void FitWidth(QLineEdit& box, const QString& sample) {
  const QFontMetrics metrics(box.font());
  const QMargins margins = box.textMargins();
  // Room for the text, the box's inner margins and the cursor.
  const int content = metrics.horizontalAdvance(sample) + metrics.averageCharWidth() + margins.left() + margins.right() + 4;
  QStyleOptionFrame option;
  option.initFrom(&box);
  option.lineWidth = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box);
  const QSize size = box.style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(content, metrics.height()), &box);
  box.setFixedWidth(size.width());
}

FocusHintFilter::FocusHintFilter(std::function<void(const QString&)> setHint, QObject* parent)
    : QObject(parent), setHint_(std::move(setHint)) {}

void FocusHintFilter::Watch(QWidget& widget, const std::string& hint) {
  if (!hints_.contains(&widget)) widget.installEventFilter(this);
  hints_[&widget] = QString::fromStdString(hint);
}

bool FocusHintFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (const auto it = hints_.find(watched); it != hints_.end()) setHint_(it->second);
  }
  return QObject::eventFilter(watched, event);
}

void SetQuietly(QCheckBox& box, bool checked) {
  const QSignalBlocker quiet(box);
  box.setChecked(checked);
}

void FillScrolling(QWidget& page, QWidget* content) {
  auto* scroll = new QScrollArea;
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes straight to the first control
  scroll->setWidget(content);
  auto* layout = new QVBoxLayout(&page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
}

}  // namespace qm47
