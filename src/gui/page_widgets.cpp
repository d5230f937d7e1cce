#include "gui/page_widgets.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenuBar>
#include <QStringList>
#include <QTableWidget>
#include <QWidget>
#include <algorithm>

namespace qm47 {

int DotsPerInch(const QWidget& widget) { return widget.logicalDpiX() > 0 ? widget.logicalDpiX() : 96; }

void FitGridColumns(QTableWidget& grid, std::span<const GridColumn> columns) {
  const int dpi = DotsPerInch(grid);
  grid.resizeColumnsToContents();
  for (int c = 0; c < grid.columnCount() && c < static_cast<int>(columns.size()); ++c) {
    const int documented = columns[static_cast<std::size_t>(c)].widthTwips * dpi / kTwipsPerInch;
    grid.setColumnWidth(c, std::max(documented, grid.columnWidth(c)));
  }
}

FocusHints::FocusHints(std::function<void(const QString&)> setHint, QObject* parent)
    : QObject(parent), setHint_(std::move(setHint)) {}

void FocusHints::Name(QWidget* control, const ControlState& state, const QString& accessibleName) {
  control->setObjectName(QString::fromStdString(state.name));
  control->setAccessibleName(accessibleName);
  // On Linux a drop-down list is announced by its value, and only one control can be a
  // label's buddy: the description says which list it is in a row of several.
  if (qobject_cast<QComboBox*>(control)) control->setAccessibleDescription(accessibleName);
  if (state.helpContext) control->setProperty(kHelpContext, state.helpContext);
}

void FocusHints::Describe(QWidget* control, const ControlState& state, const QString& accessibleName) {
  Name(control, state, accessibleName);
  hints_[control] = QString::fromStdString(state.hint);
  control->installEventFilter(this);
}

bool FocusHints::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (const auto it = hints_.find(watched); it != hints_.end()) setHint_(it->second);
  }
  return false;
}

AccessKeys::AccessKeys(const QWidget* window) {
  const auto* bar = window ? window->findChild<QMenuBar*>() : nullptr;
  if (!bar) return;
  for (const QAction* action : bar->actions()) {
    const QKeySequence key = QKeySequence::mnemonic(action->text());
    if (!key.isEmpty()) used_.insert(QChar(key[0].key()).toLower());
  }
}

QString AccessKeys::Mark(const QString& caption) {
  const auto free = [&](qsizetype i) { return caption[i].isLetterOrNumber() && !used_.contains(caption[i].toLower()); };
  qsizetype chosen = -1;
  for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i) {
    if ((i == 0 || caption[i - 1] == ' ') && free(i)) chosen = i;
  }
  for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i) {
    if (free(i)) chosen = i;
  }
  QString marked = caption;
  marked.replace("&", "&&");
  if (chosen < 0) return marked;
  used_.insert(caption[chosen].toLower());
  // Every "&" before the chosen letter was doubled.
  return marked.insert(chosen + caption.left(chosen).count('&'), '&');
}

void FitToCharacters(QLineEdit& box, int characters) {
  const QFontMetrics fm = box.fontMetrics();
  const int perCharacter = std::max(fm.horizontalAdvance(QLatin1Char('0')), fm.horizontalAdvance(QLatin1Char('A')));
  // QLineEdit's own width is seventeen "x"; keep its frame and margins.
  const int frame = box.sizeHint().width() - fm.horizontalAdvance(QLatin1Char('x')) * 17;
  box.setFixedWidth(frame + perCharacter * (characters + 1));
}

QString JoinedName(std::initializer_list<std::string> parts) {
  QStringList words;
  for (const std::string& part : parts) {
    const QString word = QString::fromStdString(part);
    if (!word.isEmpty() && !words.contains(word)) words << word;
  }
  return words.join(' ');
}

}  // namespace qm47
