// The right side of the window: one page at a time, chosen by the node's page.
// The general page shows the logo; the other kinds are blank until their pages exist.
#pragma once

#include <QLabel>
#include <QStackedWidget>
#include <string>

#include "editor/entry_events.h"
#include "editor/tree.h"

namespace qm47 {

class PageArea final : public QStackedWidget {
 public:
  explicit PageArea(QWidget* parent = nullptr);

  // Fills the page of `page` from the record and brings it to the front; the others are disabled.
  void Show(const PageRef& page);
  const PageRef& shown() const { return shown_; }

  // The logo picture; a missing or unreadable file leaves the general page empty.
  void LoadLogo(const std::string& path);

  // The free-text field being edited and the channel page's fields, for the check before a command.
  EntryWindowState PendingEntry() const { return {}; }
  // What the check decided for the field: its text, selection and focus.
  void ApplyEntry(const EntryOutcome& /*outcome*/) {}

 private:
  QWidget* PageFor(PageKind kind) const;

  QLabel* logo_;
  QWidget* general_;
  QWidget* blank_;
  PageRef shown_;
};

}  // namespace qm47
