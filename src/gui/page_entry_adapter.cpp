#include "gui/page_entry_adapter.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTabWidget>
#include <QTimer>
#include <QValidator>

#include "editor/setting_edit.h"

namespace qm47 {

namespace {

// Lets in a change only when every character it adds is one the field accepts, so typed
// keys, pasted and dropped text follow one rule; characters already there do not count.
class KeyFilter final : public QValidator {
 public:
  KeyFilter(QLineEdit& box, const EntryPlace& place, QObject* owner) : QValidator(owner), place_(place) {
    connect(&box, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
  }

  // The text the box shows before a change of the program's own.
  void Expect(const QString& text) { before_ = text; }

  State validate(QString& input, int& /*pos*/) const override {
    qsizetype head = 0;
    const qsizetype shorter = std::min(input.size(), before_.size());
    while (head < shorter && input[head] == before_[head]) ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && input[input.size() - 1 - tail] == before_[before_.size() - 1 - tail]) ++tail;
    const QString added = input.mid(head, input.size() - head - tail);
    return AcceptsText(place_.field, added.toStdU32String()) ? Acceptable : Invalid;
  }

 private:
  const EntryPlace& place_;
  QString before_;
};

// A refused entry on a tab in the back brings its tab to the front.
void BringForward(QWidget& box, const QWidget& page) {
  for (QWidget* child = &box; child && child != &page; child = child->parentWidget()) {
    QWidget* stack = child->parentWidget();
    if (auto* tabs = qobject_cast<QTabWidget*>(stack ? stack->parentWidget() : nullptr)) {
      if (const int index = tabs->indexOf(child); index >= 0) tabs->setCurrentIndex(index);
    }
  }
}

}  // namespace

PageEntryAdapter::PageEntryAdapter(QLineEdit& box, PageContext& context, QWidget& page)
    : QObject(&box), box_(box), context_(context), page_(page) {
  box_.setValidator(new KeyFilter(box_, place_, this));
  box_.installEventFilter(this);
  connect(&box_, &QLineEdit::textEdited, this, [this] { OnEdited(); });
}

void PageEntryAdapter::Load(const EntryPlace& place, const std::string& text, bool readOnly) {
  place_ = place;
  pending_ = false;
  box_.setMaxLength(RuleFor(place.field).maxLength);
  ShowQuietly(text);
  box_.setReadOnly(readOnly);
  QPalette colours = page_.palette();
  if (readOnly) colours.setBrush(QPalette::Base, colours.button());
  box_.setPalette(colours);
}

void PageEntryAdapter::ShowQuietly(const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (shown == box_.text()) return;
  static_cast<KeyFilter*>(const_cast<QValidator*>(box_.validator()))->Expect(shown);
  box_.setText(shown);
}

EntryFieldState PageEntryAdapter::State() const { return {place_, box_.text().toStdString(), pending_}; }

void PageEntryAdapter::Draw(const EntryOutcome& outcome) {
  pending_ = outcome.pending;
  if (outcome.show) ShowQuietly(*outcome.show);
  // After the click that brought the focus has placed the cursor.
  if (outcome.selectAll) {
    QTimer::singleShot(0, &box_, [this] {
      if (box_.hasFocus()) box_.selectAll();
    });
  }
  if (outcome.keepFocus) {
    BringForward(box_, page_);
    QTimer::singleShot(0, &box_, [this] {
      if (box_.isEnabled() && box_.isVisible()) box_.setFocus(Qt::OtherFocusReason);
    });
  }
}

void PageEntryAdapter::Carry(const EntryOutcome& outcome) {
  Session& s = context_.session;
  if (outcome.store) ApplyEdit(s, context_.tree, TextStored(*outcome.store));
  if (outcome.edited) s.flags.dirty = true;
  Draw(outcome);
  for (const EntryMessage& m : outcome.messages) s.ui.Message(m.text, m.caption, m.icon, m.buttons);
  if (outcome.hint) context_.setHint(QString::fromStdString(*outcome.hint));
}

void PageEntryAdapter::OnEdited() {
  const bool pageActive = page_.isEnabled() && !context_.session.flags.pageLoading;
  Carry(EntryTextChanged(State(), pageActive));
}

void PageEntryAdapter::OnFocusLost(Qt::FocusReason reason) {
  // A message box or menu took the focus for a moment: the entry is still being typed.
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
  const QWidget* next = QApplication::focusWidget();
  if (!next || !page_.isAncestorOf(next)) {
    // Off the page the window's check comes next and says a refusal, once.
    if (EntryValidate(State()).valid) CheckLeft();
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

void PageEntryAdapter::CheckLeft() {
  if (box_.hasFocus()) return;  // clicked straight back into the box
  const EntryOutcome checked = EntryValidate(State());
  Carry(checked);
  if (checked.valid) Carry(EntryFocusLost(State(), context_.session.record));
}

bool PageEntryAdapter::eventFilter(QObject* watched, QEvent* event) {
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

PageEntryAdapter* PageEntries::Editing() const {
  for (PageEntryAdapter* entry : entries_) {
    if (entry->box().hasFocus()) return entry;
  }
  for (PageEntryAdapter* entry : entries_) {
    if (entry->pending()) return entry;
  }
  return nullptr;
}

EntryWindowState PageEntries::PendingEntry() const {
  EntryWindowState window;
  if (const PageEntryAdapter* entry = Editing()) window.focus = entry->State();
  return window;
}

void PageEntries::ApplyEntry(const EntryOutcome& outcome) {
  if (PageEntryAdapter* entry = Editing()) entry->Draw(outcome);
}

}  // namespace qm47
