#include "report/printed_report.h"

#include <algorithm>
#include <cmath>

#include "model/memory_map.h"
#include "report/settings_report.h"
#include "report/value_format.h"

namespace qm47 {

namespace {

bool Blank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// Cells at the column list's positions, or at their character column of the text image.
PrintLine PlaceLine(const ReportLine& line, const std::vector<double>* columns) {
  PrintLine out;
  double characters = 0;
  for (std::size_t j = 0; j < line.size(); ++j) {
    const ReportCell& cell = line[j];
    const std::string text = cell.width > 0 ? Pad(cell.text, cell.width) : cell.text;
    double offset = kPrintCharacterMm * characters;
    if (columns && line.size() > 1 && j < columns->size()) offset = (*columns)[j];
    if (!Blank(text)) out.cells.push_back({kPrintLeftMarginMm + offset, text});
    characters += static_cast<double>(text.size());
  }
  return out;
}

void AppendSection(PrintPage& page, const ReportSection& section) {
  static const std::vector<double> regular = RunningSums(RegularChannelOffsets());
  static const std::vector<double> exp = RunningSums(ExpChannelOffsets());
  const std::vector<double>* columns = nullptr;
  switch (section.part) {
    case ReportPart::UsaChannels:
    case ReportPart::IntlChannels:
    case ReportPart::CanadaChannels: columns = &regular; break;
    case ReportPart::ExpChannels: columns = &exp; break;
    default: break;
  }
  for (const ReportLine& line : section.lines) page.lines.push_back(PlaceLine(line, columns));
}

}  // namespace

const std::vector<double>& RegularChannelOffsets() {
  static const std::vector<double> list = {0, 12, 17, 17, 8, 9, 8, 9, 9, 8};
  return list;
}

// Seventeen entries for ten printed columns: only the first ten place anything.
const std::vector<double>& ExpChannelOffsets() {
  static const std::vector<double> list = {0, 7, 10, 17, 19, 19, 8, 10, 7, 10, 10, 7, 22, 7, 15, 7, 15};
  return list;
}

std::vector<double> RunningSums(const std::vector<double>& offsets) {
  std::vector<double> sums;
  double at = 0;
  for (double step : offsets) sums.push_back(at += step);
  return sums;
}

std::vector<PrintPage> PrintedReportPages(const SettingsRecord& rec, const MemoryImage& img, const ModelDescriptor& model) {
  const std::vector<ReportSection> sections =
      BuildReportSections(rec, img.GetByte(addr::UserMmsiCount), ReportForm::Printed);
  const std::string header = model.name + " Tidecraft";
  std::vector<PrintPage> pages;
  auto page = [&](std::initializer_list<ReportPart> parts) {
    PrintPage p{header, {}};
    for (const ReportSection& s : sections) {
      if (std::find(parts.begin(), parts.end(), s.part) != parts.end()) AppendSection(p, s);
    }
    pages.push_back(std::move(p));
  };
  if (model.atis) {
    page({ReportPart::UsableGroups, ReportPart::CommonSetup, ReportPart::DscBasic, ReportPart::DscAdvanced,
          ReportPart::DscDisplay, ReportPart::AtisCommon, ReportPart::AtisCallSign});
  } else {
    page({ReportPart::UsableGroups, ReportPart::CommonSetup, ReportPart::DscBasic, ReportPart::DscAdvanced,
          ReportPart::DscDisplay});
  }
  page({ReportPart::UsaChannels});
  page({ReportPart::IntlChannels});
  page({ReportPart::CanadaChannels});
  page({ReportPart::WxChannels});
  page({ReportPart::MemoryId, ReportPart::GroupId});
  page({ReportPart::ExpChannels});
  return pages;
}

std::vector<PrintSheet> LayOutSheets(const std::vector<PrintPage>& pages, const PrintGeometry& g) {
  const double usable = g.pageHeightMm - g.topMarginMm - g.bottomMarginMm;
  const double rows = g.lineHeightMm > 0 ? std::floor(usable / g.lineHeightMm) : 0;
  // Header and one empty line above the body; at least one body line per sheet.
  const std::size_t bodyLines = rows > 3 ? static_cast<std::size_t>(std::min(rows, 1e6)) - 2 : 1;

  std::vector<PrintSheet> sheets;
  for (const PrintPage& page : pages) {
    const std::size_t count = std::max<std::size_t>(page.lines.size(), 1);
    for (std::size_t first = 0; first < count; first += bodyLines) {
      PrintSheet sheet;
      sheet.texts.push_back({kPrintLeftMarginMm, g.topMarginMm, page.header});
      const std::size_t end = std::min(page.lines.size(), first + bodyLines);
      for (std::size_t i = first; i < end; ++i) {
        const double y = g.topMarginMm + g.lineHeightMm * static_cast<double>(2 + i - first);
        for (const PrintCell& cell : page.lines[i].cells) sheet.texts.push_back({cell.leftMm, y, cell.text});
      }
      sheets.push_back(std::move(sheet));
    }
  }
  return sheets;
}

}  // namespace qm47
