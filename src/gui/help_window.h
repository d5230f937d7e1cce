// The help that ships in the data folder's help/, read inside the program: Help > Contents
// and F1 open a page at its topic's section, with Back and Forward as a browser has them,
// whether or not the desktop has a browser that starts.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QTextBrowser>

#include "editor/session/help_topics.h"

namespace qm47 {

// A main window of its own, so a screen reader lists it as a window.
class HelpWindow final : public QMainWindow {
 public:
  // A window of its own that closes with `parent`.
  explicit HelpWindow(QWidget* parent);

  // Shows the page of `where` scrolled to its section and brings the window to the front;
  // false, showing nothing new, when the page cannot be read.
  bool Show(const HelpLocation& where);

  QTextBrowser& browser() const { return *browser_; }

 private:
  QTextBrowser* browser_;
  QAction* back_;
  QAction* forward_;
};

}  // namespace qm47
