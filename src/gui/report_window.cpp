#include "gui/report_window.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "editor/report_file.h"

namespace qm47 {

namespace {
constexpr const char* kTextFilter = "Text files(*.txt)|*.txt|All files(*.*)|*.*";
constexpr const char* kMakingText = "Now, making text image. Please wait...";
constexpr double kMmPerInch = 25.4;
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
  QTimer::singleShot(10, this, &ReportWindow::MakeText);
}

void ReportWindow::MakeText() {
  image_ = MakeReportText(s_);
  text_->setPlainText(QString::fromStdString(image_).replace("\r\n", "\n"));
}

void ReportWindow::Save() {
  const auto path = s_.ui.ChooseFile({FileChoice::Mode::Save, "Save As", kTextFilter, "", "", false});
  if (!path || path->empty()) {
    s_.flags.cancel = true;
    return;
  }
  SaveReportFile(s_, *path, image_);
}

bool PrintSettingsReport(Session& s, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setFullPage(true);  // the report places its cells from the paper's edge
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;

  PrintGeometry geometry;
  geometry.pageHeightMm = printer.pageLayout().fullRect(QPageLayout::Millimeter).height();
  const std::vector<PrintSheet> sheets = LayOutSheets(MakePrintedReport(s), geometry);

  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(9);
  painter.setFont(font);
  const double dotsPerMm = printer.resolution() / kMmPerInch;
  const int ascent = painter.fontMetrics().ascent();
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    if (i > 0) printer.newPage();
    for (const PlacedText& t : sheets[i].texts) {
      painter.drawText(QPointF(t.xMm * dotsPerMm, t.yMm * dotsPerMm + ascent), QString::fromStdString(t.text));
    }
  }
  return painter.end();
}

}  // namespace qm47

