// The settings report: every setting as fixed-width text, section by section.
// One builder serves the text image and the printed report, which differs only
// in a few headings and labels and in where its cells are placed.
#pragma once

#include <string>
#include <vector>

#include "model/memory_image.h"
#include "model/settings_record.h"

namespace qm47 {

// A formatter's text and the width it is padded to (0: the text as it stands).
struct ReportCell {
  std::string text;
  int width = 0;

  bool operator==(const ReportCell&) const = default;
};
using ReportLine = std::vector<ReportCell>;  // no cells: an empty line

enum class ReportForm { TextImage, Printed };

enum class ReportPart {
  UsableGroups,
  CommonSetup,
  DscBasic,
  DscAdvanced,
  DscDisplay,
  AtisCommon,
  AtisCallSign,
  UsaChannels,
  IntlChannels,
  CanadaChannels,
  WxChannels,
  MemoryId,
  GroupId,
  ExpChannels,
};

struct ReportSection {
  ReportPart part;
  std::vector<ReportLine> lines;  // starting with the empty line and the heading
};

// All fourteen sections in report order, expansion frequencies as snapped (see
// ExpFrequencyText); `mmsiCount` is the image's User MMSI input count.
std::vector<ReportSection> BuildReportSections(const SettingsRecord& rec, int mmsiCount, ReportForm form);

// The line as the text image holds it: every cell padded to its width.
std::string LineText(const ReportLine& line);

// The text image: CR LF before every line, none after the last.
std::string ReportTextImage(const SettingsRecord& rec, const MemoryImage& img);

// What a saved .txt holds: the text image followed by CR LF.
std::string ReportFileText(const std::string& textImage);

}  // namespace qm47
