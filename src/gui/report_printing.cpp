#include "gui/report_printing.h"

#include <QApplication>
#include <QBuffer>
#include <QFontDatabase>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "gui/wait_cursor.h"

namespace qm47 {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointSize = 9.0;
constexpr double kSmallestPointSize = 5.0;
constexpr int kPdfResolution = 600;

// The report's monospaced font, no wider than one character of the text image.
QFont ReportFont(QPainter& painter, double dotsPerMm) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(kPointSize);
  painter.setFont(font);
  while (painter.fontMetrics().horizontalAdvance(QLatin1Char('M')) > kPrintCharacterMm * dotsPerMm &&
         font.pointSizeF() > kSmallestPointSize) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    painter.setFont(font);
  }
  return font;
}

// The paper size people here print on.
QPageSize LocalPaper() {
  const auto system = QLocale::system().measurementSystem();
  return QPageSize(system == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4);
}

// The printer's whole sheet is the page: the report measures from the paper's edge.
void PrepareForReport(QPrinter& printer) {
  printer.setFullPage(true);
  printer.setDocName("QM47 settings report");
}

}  // namespace

bool PaintReport(QPagedPaintDevice& device, const std::vector<PrintPage>& pages) {
  PrintGeometry geometry;
  geometry.pageHeightMm = device.pageLayout().fullRect(QPageLayout::Millimeter).height();
  const std::vector<PrintSheet> sheets = LayOutSheets(pages, geometry);

  auto* printer = dynamic_cast<QPrinter*>(&device);
  int first = 1;
  int last = static_cast<int>(sheets.size());
  if (printer && printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
    first = std::max(first, printer->fromPage());
    last = std::min(last, printer->toPage());
  }

  QPainter painter;
  if (!painter.begin(&device)) return false;
  const double xDots = device.logicalDpiX() / kMmPerInch;
  const double yDots = device.logicalDpiY() / kMmPerInch;
  const QFont body = ReportFont(painter, xDots);
  QFont header = body;
  header.setBold(true);
  for (int n = first; n <= last; ++n) {
    if (n > first) device.newPage();
    const PrintSheet& sheet = sheets[static_cast<std::size_t>(n - 1)];
    for (std::size_t i = 0; i < sheet.texts.size(); ++i) {
      const PlacedText& t = sheet.texts[i];
      // Every sheet begins with its page's header.
      painter.setFont(i == 0 ? header : body);
      const QPointF at(t.xMm * xDots, t.yMm * yDots + QFontMetricsF(painter.font(), &device).ascent());
      painter.drawText(at, QString::fromStdString(t.text));
    }
  }
  return painter.end();
}

bool PrinterInstalled() { return !QPrinterInfo::availablePrinters().isEmpty(); }

bool PrintReportPages(const std::vector<PrintPage>& pages, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  PrepareForReport(printer);
  QPrintDialog dialog(&printer, parent);
  dialog.setObjectName("dlgPrint");
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  if (dialog.exec() != QDialog::Accepted) return false;
  const WaitCursor wait;
  return PaintReport(printer, pages);
}

ReportPreview::ReportPreview(std::vector<PrintPage> pages_, QWidget* parent)
    : pages(std::move(pages_)), printer(QPrinter::HighResolution), dialog((PrepareForReport(printer), &printer), parent) {
  dialog.setObjectName("dlgPrintPreview");
  dialog.setWindowTitle("Print Preview");
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [this](QPrinter* p) { PaintReport(*p, pages); });
}

void PreviewReportPages(const std::vector<PrintPage>& pages, QWidget* parent) {
  ReportPreview preview(pages, parent);
  preview.dialog.exec();
}

QByteArray ReportPdf(const std::vector<PrintPage>& pages) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(LocalPaper(), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(pages.empty() ? "Settings report" : QString::fromStdString(pages.front().header));
    writer.setCreator("QM47");
    PaintReport(writer, pages);
  }
  return buffer.data();
}

}  // namespace qm47
