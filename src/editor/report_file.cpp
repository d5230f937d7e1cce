#include "editor/report_file.h"

#include "editor/fault_detail.h"
#include "files/atomic_file.h"
#include "report/settings_report.h"

namespace qm47 {

// Building the report snaps the stored expansion frequencies; open pages hear of it.
std::string MakeReportText(Session& s) {
  std::string text;
  s.Touching([&] { text = ReportTextImage(s.record, s.image); });
  return text;
}

std::vector<PrintPage> MakePrintedReport(Session& s) {
  std::vector<PrintPage> pages;
  s.Touching([&] { pages = PrintedReportPages(s.record, s.image, s.model); });
  return pages;
}

std::string ReportCaption(const ModelDescriptor& model) { return model.name + " - " + model.title; }

bool SaveReportFile(Session& s, const std::string& path, const std::string& textImage) {
  s.flags.error = false;
  const auto error = WriteFileAtomic(path, ReportFileText(textImage));
  if (!error) return true;
  s.flags.error = true;
  s.ui.MessageWithDetail(error->description, SaveFaultDetail(path, *error), ReportCaption(s.model), Icon::Exclamation,
                         Buttons::Ok);
  s.flags.cancel = true;
  return false;
}

}  // namespace qm47
