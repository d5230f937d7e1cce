#include "gui/report_window.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "editor/documents/report_file.h"
#include "gui/wait_cursor.h"

namespace qm47 {

namespace {
constexpr const char* kTextFilter = "Text files(*.txt)|*.txt|All files(*.*)|*.*";
constexpr const char* kMakingText = "Now, making text image. Please wait...";
// The window first shows that it is making the text, then makes it.
constexpr int kMakeDelayMs = 10;
constexpr int kSettleMs = 500;
}  // namespace

ReportWindow::ReportWindow(Session& s, QWidget* parent) : QMainWindow(parent), s_(s), text_(new QPlainTextEdit) {
  setObjectName("frmReport");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromStdString(ReportCaption(s.model)));

  auto* file = menuBar()->addMenu("&File");
  file->setObjectName("mnuReportFile");
  QAction* save = file->addAction("&Save", this, &ReportWindow::Save);
  save->setObjectName("mnuReportFileSave");
  save->setShortcut(QKeySequence::Save);
  file->addSeparator();
  QAction* exit = file->addAction("E&xit", this, &QWidget::close);
  exit->setObjectName("mnuReportFileExit");

  text_->setObjectName("txtReport");
  text_->setAccessibleName("Report");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setPlainText(kMakingText);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("cmdOK");
  connect(buttons, &QDialogButtonBox::accepted, this, &QWidget::close);

  auto* body = new QWidget;
  auto* layout = new QVBoxLayout(body);
  layout->addWidget(text_);
  layout->addWidget(buttons);
  setCentralWidget(body);

  // The widest report lines (the channel group table) have 107 characters: shown whole.
  const QFontMetrics metrics(text_->font());
  resize(metrics.horizontalAdvance(QString(110, 'M')) + 60, 560);
}

void ReportWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(kMakeDelayMs, this, &ReportWindow::MakeText);
}

void ReportWindow::MakeText() {
  if (made_) return;
  made_ = true;
  const QPointer<ReportWindow> alive(this);
  {
    const WaitCursor wait;
    setEnabled(false);
    image_ = MakeReportText(s_);
    text_->setPlainText(QString::fromStdString(image_).replace("\r\n", "\n"));
    s_.ui.Pause(kSettleMs);
  }
  // The main window may have closed this one meanwhile.
  if (alive) setEnabled(true);
}

void ReportWindow::Save() {
  MakeText();  // a Save before the text is made saves the text, not the wait message
  const auto path = s_.ui.ChooseFile({FileChoice::Mode::Save, "Save As", kTextFilter, "", "", false});
  if (path && !path->empty()) SaveReportFile(s_, *path, image_);
}

}  // namespace qm47
