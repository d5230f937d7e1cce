#include "gui/entry_field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QValidator>
#include <functional>

#include "editor/pages/entry_apply.h"

namespace qm47 {

namespace {

// A refused entry on a tab the user has since left: its tab comes to the front again.
void ShowTabOf(QWidget* widget) {
  for (; widget && !widget->isWindow(); widget = widget->parentWidget()) {
    auto* stack = qobject_cast<QStackedWidget*>(widget->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    if (tabs) tabs->setCurrentWidget(widget);
  }
}

// Lets in a change only when every character it adds is one the field accepts, so typed
// keys, pasted and dropped text follow one rule; deleting is always allowed.
class AcceptedCharacters final : public QValidator {
 public:
  // `field` tells the box's field at the time of the change.
  AcceptedCharacters(QLineEdit& box, std::function<EntryField()> field, QObject* owner)
      : QValidator(owner), field_(std::move(field)) {
    connect(&box, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
    before_ = box.text();
  }

  State validate(QString& input, int& /*pos*/) const override {
    qsizetype head = 0;
    const qsizetype shorter = std::min(input.size(), before_.size());
    while (head < shorter && input[head] == before_[head]) ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && input[input.size() - 1 - tail] == before_[before_.size() - 1 - tail]) ++tail;
    const QString added = input.mid(head, input.size() - head - tail);
    return AcceptsText(field_(), added.toStdU32String()) ? Acceptable : Invalid;
  }

 private:
  std::function<EntryField()> field_;
  QString before_;  // the text before the change under test
};

}  // namespace

EntryFieldAdapter::EntryFieldAdapter(QLineEdit& box, PageContext& context, QWidget& page)
    : QObject(&box), box_(box), context_(context), page_(page) {
  box_.setValidator(new AcceptedCharacters(box_, [this] { return place_.field; }, this));
  box_.installEventFilter(this);
  // Every change, typed or set by assistive technology; the program's own fills and
  // redraws run with the page-loading flag raised and store nothing.
  connect(&box_, &QLineEdit::textChanged, this, [this] { OnChanged(); });
}

void EntryFieldAdapter::Load(const EntryPlace& place, const std::string& text, bool readOnly) {
  const PageLoading loading(context_.session.flags);  // the program's text: no edit, in a fill or a redraw
  place_ = place;
  pending_ = false;
  box_.setMaxLength(RuleFor(place.field).maxLength);
  box_.setToolTip(QString::fromStdString(EntryRuleText(place.field)));
  box_.setText(QString::fromStdString(text));
  box_.setReadOnly(readOnly);
  QPalette colours = page_.palette();
  if (readOnly) colours.setBrush(QPalette::Base, colours.button());
  box_.setPalette(colours);
}

EntryFieldState EntryFieldAdapter::State() const { return {place_, box_.text().toStdString(), pending_}; }

void EntryFieldAdapter::Draw(const EntryOutcome& outcome) {
  pending_ = outcome.pending;
  if (outcome.show) {
    const PageLoading loading(context_.session.flags);
    box_.setText(QString::fromStdString(*outcome.show));
  }
  // After the click that brought the focus has placed the cursor.
  if (outcome.selectAll) QTimer::singleShot(0, &box_, [this] { box_.selectAll(); });
  if (outcome.keepFocus) {
    QTimer::singleShot(0, &box_, [this] {
      ShowTabOf(&box_);
      if (!box_.isEnabled() || !box_.isVisible()) return;
      box_.setFocus(Qt::OtherFocusReason);
      Carry(EntryFocusGained(State()));
    });
  }
}

void EntryFieldAdapter::Carry(const EntryOutcome& outcome) {
  Session& s = context_.session;
  ApplyEntryOutcome(s, outcome);
  Draw(outcome);
  for (const EntryMessage& m : outcome.messages) s.ui.Show(m.Box());
  if (outcome.hint) context_.setHint(QString::fromStdString(*outcome.hint));
}

void EntryFieldAdapter::OnChanged() {
  // A disabled box takes no typing; assistive technology can still set its text.
  const bool pageActive = page_.isEnabled() && box_.isEnabled() && !context_.session.EditsHeld();
  Carry(EntryTextChanged(State(), pageActive));
}

void EntryFieldAdapter::OnFocusLost(Qt::FocusReason reason) {
  // A message box or menu took the focus for a moment: the entry is still being typed.
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
  const QWidget* next = QApplication::focusWidget();
  if (!next || !page_.isAncestorOf(next)) {
    Carry(EntryFocusLeftPage(State(), context_.session.record));
    return;
  }
  // A message box opened inside a mouse press would leave the clicked control pressed.
  if (QApplication::mouseButtons() != Qt::NoButton) {
    if (!awaitingRelease_) qApp->installEventFilter(this);
    awaitingRelease_ = true;
    return;
  }
  CheckLeft();
}

void EntryFieldAdapter::CheckLeft() {
  if (box_.hasFocus()) return;  // clicked straight back into the box
  const EntryOutcome checked = EntryValidate(State());
  Carry(checked);
  if (checked.valid) Carry(EntryFocusLost(State(), context_.session.record));
}

bool EntryFieldAdapter::eventFilter(QObject* watched, QEvent* event) {
  if (awaitingRelease_ && event->type() == QEvent::MouseButtonRelease) {
    awaitingRelease_ = false;
    qApp->removeEventFilter(this);
    // After the control has taken its click.
    QTimer::singleShot(0, this, [this] { CheckLeft(); });
  }
  if (watched == &box_) {
    if (event->type() == QEvent::FocusIn) {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) Carry(EntryFocusGained(State()));
    } else if (event->type() == QEvent::FocusOut) {
      OnFocusLost(static_cast<QFocusEvent*>(event)->reason());
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace qm47
