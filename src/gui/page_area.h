// The right side of the window: one page at a time, chosen by the node's page.
// The general page shows the logo; each other kind is the page registered for it, or
// blank (the "Program" and "DSC" nodes).
#pragma once

#include <QLabel>
#include <QStackedWidget>
#include <map>
#include <string>

#include "editor/pages/entry_events.h"
#include "editor/pages/tree.h"
#include "gui/page.h"

namespace qm47 {

class LogoView;

class PageArea final : public QStackedWidget {
 public:
  explicit PageArea(QWidget* parent = nullptr);

  // The page that shows nodes of `kind` from now on (the area takes it over).
  void Register(PageKind kind, Page* page);

  // Fills the page of `page` from the record and brings it to the front; the others are
  // disabled. The session's page-loading flag is raised while the controls are filled.
  void Show(const PageRef& page, WindowFlags& flags);
  const PageRef& shown() const { return shown_; }

  // The logo picture; a missing or unreadable file leaves the general page empty.
  void LoadLogo(const std::string& path);

  // The free-text field being edited and the channel page's fields, for the check before a command.
  EntryWindowState PendingEntry() const;
  // What the check decided for the field: its text, selection and focus.
  void ApplyEntry(const EntryOutcome& outcome);

 private:
  QWidget* PageFor(PageKind kind) const;
  Page* Current() const;

  LogoView* logo_;
  QWidget* general_;
  QWidget* blank_;
  PageRef shown_;
  std::map<PageKind, Page*> pages_;
};

}  // namespace qm47
