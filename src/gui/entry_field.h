// One free-text box of a page tied to the entry rules: the box lets in only the keys its
// field accepts, forwards focus and every text change to editor/entry_events.h, and
// carries out what comes back (editor/entry_apply.h for the record, then text,
// selection, hint, messages, focus kept after a refused entry).
//
//   auto* box = new QLineEdit;                          // named, laid out by the page
//   auto* entry = new EntryFieldAdapter(*box, context(), *this);
//   entry->Load(place, text, readOnly);                 // in Fill, while the page loads
//   // Page::PendingEntry: State() of the focused box, else of the one still pending();
//   // Page::ApplyEntry: that same adapter Draw()s the window check's outcome.
//
// Leaving the box for another control of the same page checks the entry ("Data Error!!",
// focus kept): at once for a key, once the button is up for a click. Leaving the page
// (the tree, a menu) keeps a pending entry for the window's check, which runs before
// every page change and command, so a refused entry is reported once.
#pragma once

#include <QLineEdit>
#include <QObject>
#include <string>

#include "editor/pages/entry_events.h"
#include "gui/page.h"

namespace qm47 {

class EntryFieldAdapter final : public QObject {
 public:
  // Owned by `box`. `page` is the page the box sits on.
  EntryFieldAdapter(QLineEdit& box, PageContext& context, QWidget& page);

  // Shows the stored `text` for `place`: key filter and maximum length from the field's
  // rule, read-only boxes in the button-face colour. Forgets any pending edit.
  void Load(const EntryPlace& place, const std::string& text, bool readOnly);

  // An edit in the box waits for its check.
  bool pending() const { return pending_; }
  // The box as the entry rules see it.
  EntryFieldState State() const;
  // Draws what the window's check decided (it stored and said it already): pending
  // flag, text, selection, focus.
  void Draw(const EntryOutcome& outcome);

  QLineEdit& box() const { return box_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnChanged();
  void OnFocusLost(Qt::FocusReason reason);
  // Validate, then the silent leave, for a focus that moved on within the page.
  void CheckLeft();
  // Stores, says and draws one outcome of the box's own events.
  void Carry(const EntryOutcome& outcome);

  QLineEdit& box_;
  PageContext& context_;
  QWidget& page_;
  EntryPlace place_;
  std::string last_;  // the box's text after its last change, to tell what a change adds
  bool pending_ = false;
  bool awaitingRelease_ = false;  // the check waits until the click that took the focus is over
};

}  // namespace qm47
