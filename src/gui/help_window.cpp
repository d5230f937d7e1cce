#include "gui/help_window.h"

#include <QFileInfo>
#include <QKeySequence>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace qm47 {

namespace {

QAction* Step(QToolBar* bar, const char* name, const QString& caption, QStyle::StandardPixmap picture,
              QKeySequence::StandardKey keys) {
  QAction* action = bar->addAction(bar->style()->standardIcon(picture), caption);
  action->setObjectName(name);
  action->setShortcut(keys);
  action->setEnabled(false);
  bar->widgetForAction(action)->setObjectName(QString(name) + "Button");
  return action;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent), browser_(new QTextBrowser) {
  setObjectName("frmHelp");
  setWindowTitle("QM47 Help");
  setAttribute(Qt::WA_DeleteOnClose, false);  // kept, with its history, for the next F1

  auto* bar = new QToolBar("Help");
  bar->setObjectName("tbHelp");
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  back_ = Step(bar, "cmdBack", "&Back", QStyle::SP_ArrowBack, QKeySequence::Back);
  forward_ = Step(bar, "cmdForward", "&Forward", QStyle::SP_ArrowForward, QKeySequence::Forward);
  auto* close = new QAction(this);
  close->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence::Close});
  addAction(close);
  connect(close, &QAction::triggered, this, &QWidget::close);

  browser_->setObjectName("txtHelp");
  browser_->setAccessibleName("Help");
  // Pages of the help and its pictures open here; a link out of it goes to the desktop.
  browser_->setOpenExternalLinks(true);
  connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QString("QM47 Help") : title);
  });

  bar->setMovable(false);
  addToolBar(bar);
  setCentralWidget(browser_);
  resize(760, 620);
}

bool HelpWindow::Show(const HelpLocation& where) {
  const QString file = QString::fromStdString(where.file);
  if (!QFileInfo(file).isReadable()) return false;
  QUrl url = QUrl::fromLocalFile(file);
  if (!where.anchor.empty()) url.setFragment(QString::fromStdString(where.anchor));
  browser_->setSource(url);  // at the section the fragment names
  show();
  raise();
  activateWindow();
  return true;
}

}  // namespace qm47
