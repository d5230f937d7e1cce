#include "editor/documents/report_file.h"

#include "editor/session/fault_detail.h"
#include "files/atomic_file.h"
#include "report/settings_report.h"

namespace qm47 {

std::string MakeReportText(const Session& s) { return ReportTextImage(s.record, s.image); }

std::vector<PrintPage> MakePrintedReport(const Session& s) { return PrintedReportPages(s.record, s.image, s.model); }

std::string ReportCaption(const ModelDescriptor& model) { return model.name + " - " + model.title; }

bool SaveReportFile(Session& s, const std::string& path, const std::string& textImage) {
  const auto error = WriteFileAtomic(path, ReportFileText(textImage));
  if (!error) return true;
  s.ui.MessageWithDetail(error->description, SaveFaultDetail(path, *error), ReportCaption(s.model), Icon::Exclamation,
                         Buttons::Ok);
  return false;
}

}  // namespace qm47
