// One kind of page in the page area: it draws its node's page from the session and
// sends every user change through the session's one edit entry point.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "editor/pages/entry_events.h"
#include "editor/session/main_commands.h"
#include "editor/session/session.h"
#include "editor/pages/tree.h"

namespace qm47 {

// What a page may ask of the window around it.
struct PageContext {
  Session& session;
  MainCommands& commands;
  // The window's tree data. Every record change already brings the tree up to date
  // (the window observes the session), so pages never redraw nodes themselves.
  NavigationTree& tree;
  std::function<void(const std::string& key)> selectNode;  // validates first, like a click
  std::function<void(const QString& hint)> setHint;
  std::function<bool()> validatePendingEntry;
};

class Page : public QWidget {
 public:
  explicit Page(PageContext& context, QWidget* parent = nullptr) : QWidget(parent), context_(context) {}

  // Fills the controls for `page` from the record. The page-loading flag is raised
  // meanwhile, so the controls' change signals edit nothing.
  virtual void Fill(const PageRef& page) = 0;
  // The free-text field being edited, for the check before a command or a page change.
  virtual EntryWindowState PendingEntry() const { return {}; }
  // What that check decided for the field: its text, selection and focus.
  virtual void ApplyEntry(const EntryOutcome& /*outcome*/) {}

 protected:
  PageContext& context() const { return context_; }
  Session& session() const { return context_.session; }

 private:
  PageContext& context_;
};

}  // namespace qm47
