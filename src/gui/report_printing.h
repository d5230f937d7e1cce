// The printed report on paper, in a print preview and as a PDF document: each draws
// the report's pages where the report data places them, in millimetres.
#pragma once

#include <QByteArray>
#include <QPagedPaintDevice>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>
#include <vector>

#include "report/printed_report.h"

namespace qm47 {

// The pages on `device`, one sheet after another; false when the device would not paint.
bool PaintReport(QPagedPaintDevice& device, const std::vector<PrintPage>& pages);

// True when the system has a printer to print on.
bool PrinterInstalled();
// On the printer chosen in the print dialog (the default printer first); false when cancelled.
bool PrintReportPages(const std::vector<PrintPage>& pages, QWidget* parent);
// A preview of the sheets, from which they can be printed too.
struct ReportPreview {
  ReportPreview(std::vector<PrintPage> pages, QWidget* parent);

  std::vector<PrintPage> pages;
  QPrinter printer;
  QPrintPreviewDialog dialog;
};
void PreviewReportPages(const std::vector<PrintPage>& pages, QWidget* parent);
// The same sheets as a PDF document.
QByteArray ReportPdf(const std::vector<PrintPage>& pages);

}  // namespace qm47
