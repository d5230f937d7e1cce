// The settings report from the session: the text image, its .txt file, the printed pages.
#pragma once

#include <string>
#include <vector>

#include "editor/session/session.h"
#include "report/printed_report.h"

namespace qm47 {

// The report of the session's record, expansion frequencies as snapped; the record stays as it is.
std::string MakeReportText(const Session& s);
std::vector<PrintPage> MakePrintedReport(const Session& s);

// The report window's Save: the text image followed by CR LF, written atomically.
// A failure shows the system's description of the error and sets the error and
// cancel flags; the previous file stays as it was.
bool SaveReportFile(Session& s, const std::string& path, const std::string& textImage);

// Caption of the report window's messages.
std::string ReportCaption(const ModelDescriptor& model);

}  // namespace qm47
