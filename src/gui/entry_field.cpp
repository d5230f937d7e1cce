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

// Lets in a change only when typing could make it, so typed keys, pasted and dropped
// text follow one rule; deleting is always allowed. Asked after the box took the change,
// so what it held before comes from `before`.
class AcceptedCharacters final : public QValidator {
 public:
  AcceptedCharacters(std::function<EntryField()> field, std::function<std::string()> before, QObject* owner)
      : QValidator(owner), field_(std::move(field)), before_(std::move(before)) {}

  State validate(QString& input, int& /*pos*/) const override {
    const std::string proposed = input.toStdString();
    return AcceptedChange(field_(), before_(), proposed) == proposed ? Acceptable : Invalid;
  }

 private:
  std::function<EntryField()> field_;
  std::function<std::string()> before_;
};

}  // namespace

EntryFieldAdapter::EntryFieldAdapter(QLineEdit& box, PageContext& context, QWidget& page)
    : QObject(&box), box_(box), context_(context), page_(page) {
  box_.setValidator(new AcceptedCharacters([this] { return place_.field; }, [this] { return last_; }, this));
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
  const std::string now = box_.text().toStdString();
  if (!context_.session.EditsHeld()) {
    // Set past the key filter (assistive technology): the box keeps what typing would
    // have left, and that comes back here as the change.
    const std::string accepted = AcceptedChange(place_.field, last_, now);
    if (accepted != now) {
      box_.setText(QString::fromStdString(accepted));
      return;
    }
  }
  last_ = now;
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
