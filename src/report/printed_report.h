// The printed report as data: pages, lines and cells placed in millimetres, so
// the window only has to draw the texts where they are given.
#pragma once

#include <string>
#include <vector>

#include "model/memory_image.h"
#include "model/models.h"
#include "model/settings_record.h"

namespace qm47 {

inline constexpr double kPrintLeftMarginMm = 10.0;
// Where the report gives no column list, one character of the text image is this wide.
inline constexpr double kPrintCharacterMm = 2.0;

// Column offsets of the channel pages; each column starts at the previous one plus
// its own entry.
const std::vector<double>& RegularChannelOffsets();  // CH, RX(MHz), TX(MHz), TX, LOW, UP, DUP, MEM, VS, CH Name
const std::vector<double>& ExpChannelOffsets();      // CH, CHD, ENABLE, RX(MHz), TX(MHz), LOW, UP, MEM, VS, CH Name
std::vector<double> RunningSums(const std::vector<double>& offsets);

struct PrintCell {
  double leftMm = 0;  // left edge from the paper's left side
  std::string text;
};
struct PrintLine {
  std::vector<PrintCell> cells;  // none: an empty line
};
struct PrintPage {
  std::string header;  // "<model name> Tidecraft"
  std::vector<PrintLine> lines;
};

// Pages in print order: general settings (ATIS sections only with ATIS), USA,
// International, Canada, weather, both directories, expansion channels.
std::vector<PrintPage> PrintedReportPages(const SettingsRecord& rec, const MemoryImage& img, const ModelDescriptor& model);

// Paper geometry for splitting pages into sheets.
struct PrintGeometry {
  double pageHeightMm = 297.0;
  double topMarginMm = 10.0;
  double bottomMarginMm = 10.0;
  double lineHeightMm = 4.5;
};
struct PlacedText {
  double xMm = 0;
  double yMm = 0;  // top of the text line
  std::string text;
};
struct PrintSheet {
  std::vector<PlacedText> texts;
};

// Every page starts a new sheet with its header and one empty line; a page too long
// for one sheet continues on the next under the same header.
std::vector<PrintSheet> LayOutSheets(const std::vector<PrintPage>& pages, const PrintGeometry& geometry = {});

}  // namespace qm47
