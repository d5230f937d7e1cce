// One free-text box of the settings and directory pages tied to the entry rules: the box
// lets in only the keys its field accepts, forwards focus and user edits to
// editor/entry_events.h, and carries out what comes back (store through the session's
// edit call, dirty flag, text, selection, hint, messages, focus kept after a refused entry).
//
// Same interface as the channel pages' EntryFieldAdapter (gui/entry_field.h on that
// branch), kept apart until the two are merged into one:
//
//   auto* entry = new PageEntryAdapter(*box, context(), *this);
//   entry->Load(place, text, readOnly);  // in Fill, while the page loads
//   // Page::PendingEntry: State() of the focused box, else of the one still pending();
//   // Page::ApplyEntry: that same adapter Draw()s the window check's outcome.
//
// Leaving the box for another control of the same page checks the entry ("Data Error!!",
// focus kept): at once for a key, once the button is up for a click. A refused entry
// left for the tree or a menu stays pending for the window's check, which runs before
// every page change and command, so it is reported once.
#pragma once

#include <QLineEdit>
#include <QObject>
#include <string>
#include <vector>

#include "editor/entry_events.h"
#include "gui/page.h"

namespace qm47 {

class PageEntryAdapter final : public QObject {
 public:
  // Owned by `box`. `page` is the page the box sits on.
  PageEntryAdapter(QLineEdit& box, PageContext& context, QWidget& page);

  // Shows the stored `text` for `place`: key filter and maximum length from the field's
  // rule, read-only boxes in the button-face colour. Forgets any pending edit.
  void Load(const EntryPlace& place, const std::string& text, bool readOnly);

  // An edit in the box waits for its check.
  bool pending() const { return pending_; }
  EntryFieldState State() const;
  // Draws what the window's check decided (it stored and said it already): pending
  // flag, text, selection, focus.
  void Draw(const EntryOutcome& outcome);

  QLineEdit& box() const { return box_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnEdited();
  void OnFocusLost(Qt::FocusReason reason);
  // Validate, then the silent leave, for a focus that moved on.
  void CheckLeft();
  // Stores, says and draws one outcome of the box's own events.
  void Carry(const EntryOutcome& outcome);
  void ShowQuietly(const std::string& text);

  QLineEdit& box_;
  PageContext& context_;
  QWidget& page_;
  EntryPlace place_;
  bool pending_ = false;
  bool awaitingRelease_ = false;  // the check waits until the click that took the focus is over
};

// The adapters of one page, for the window's check before a page change or command.
class PageEntries {
 public:
  void Add(PageEntryAdapter* entry) { entries_.push_back(entry); }
  EntryWindowState PendingEntry() const;
  void ApplyEntry(const EntryOutcome& outcome);

 private:
  // The focused box, else the one with an edit still waiting for its check.
  PageEntryAdapter* Editing() const;

  std::vector<PageEntryAdapter*> entries_;
};

}  // namespace qm47
