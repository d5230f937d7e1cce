#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "model/fresh_image.h"
#include "model/memory_map.h"
#include "report/printed_report.h"
#include "report/settings_report.h"
#include "golden.h"
#include "report_records.h"

using namespace qm47;
using namespace qm47::testing;

namespace {

// Compares with the golden file; QM47_UPDATE_GOLDEN=1 rewrites it instead.
void ExpectGolden(const std::string& name, const std::string& text) {
  if (std::getenv("QM47_UPDATE_GOLDEN")) {
    std::ofstream(GoldenPath(name), std::ios::binary) << text;
    return;
  }
  const std::string expected = GoldenText(name);
  ASSERT_FALSE(expected.empty()) << "missing golden file " << GoldenPath(name);
  // Line by line, so a failure names the line.
  std::size_t line = 1, i = 0;
  while (i < text.size() && i < expected.size() && text[i] == expected[i]) line += text[i++] == '\n';
  EXPECT_EQ(i, expected.size()) << name << " differs at line " << line;
  EXPECT_EQ(text.size(), expected.size()) << name;
}

std::string TextOf(const PrintLine& line) {
  std::string t;
  for (const PrintCell& c : line.cells) t += (t.empty() ? "" : "|") + c.text;
  return t;
}

}  // namespace

// Byte for byte, CR LF line starts and the empty line before each section included.
TEST(SettingsReport, FreshImagesAndACraftedRecordMatchTheirGoldens) {
  for (const auto& [name, in] : {std::pair{"fresh_model1.txt", FreshImageAndRecord(1)},
                                 std::pair{"fresh_model4.txt", FreshImageAndRecord(4)},
                                 std::pair{"crafted.txt", CraftedInput()}}) {
    ExpectGolden(name, ReportTextImage(in.rec, in.img));
  }
}

TEST(PrintedReport, PagesInPrintOrderUnderTheModelHeader) {
  for (int model : {1, 4}) {
    ImageAndRecord in = FreshImageAndRecord(model);
    const ModelDescriptor d = MakeDescriptor(model, model == 1, model == 1);
    const std::vector<PrintPage> pages = PrintedReportPages(in.rec, in.img, d);
    ASSERT_EQ(pages.size(), 7u);
    std::vector<std::string> headings;
    for (const PrintPage& page : pages) {
      EXPECT_EQ(page.header, d.name + " Tidecraft");
      for (const PrintLine& line : page.lines) {
        if (!line.cells.empty() && line.cells[0].text.rfind("##### ", 0) == 0) headings.push_back(line.cells[0].text);
      }
      headings.push_back("|");
    }
    std::vector<std::string> expected = {
        "##### Usable CH Group Setup #####", "##### Common Setup #####", "##### DSC Setup (Basic Setup) #####",
        "##### DSC Setup (Advanced Setup) #####", "##### DSC Setup (Display Setup) #####"};
    if (model == 1) {
      expected.push_back("##### ATIS Setup (Common) #####");
      expected.push_back("##### ATIS Setup (Call Sign) #####");
    }
    for (const char* h : {"|", "##### Programable USA Channel #####", "|",
                          "##### Programable International Channel #####", "|",
                          "##### Programable Canada Channel #####", "|", "##### Programable WX Channel #####", "|",
                          "##### Memory ID #####", "##### Group ID #####", "|", "##### Programable EXP Channel #####",
                          "|"}) {
      expected.push_back(h);
    }
    EXPECT_EQ(headings, expected) << model;
  }
}

TEST(PrintedReport, ChannelColumnsStartAtTheRunningSumsOfTheirLists) {
  ImageAndRecord in = CraftedInput();
  const auto pages = PrintedReportPages(in.rec, in.img, MakeDescriptor(1, true, true));
  const PrintPage& usa = pages[1];
  ASSERT_GE(usa.lines.size(), 5u);
  std::vector<double> titles, rules, row;
  for (const PrintCell& c : usa.lines[2].cells) titles.push_back(c.leftMm);
  for (const PrintCell& c : usa.lines[3].cells) rules.push_back(c.leftMm);
  for (const PrintCell& c : usa.lines[4].cells) row.push_back(c.leftMm);
  const std::vector<double> at = {10, 22, 39, 56, 64, 73, 81, 90, 99, 107};
  EXPECT_EQ(titles, at);
  EXPECT_EQ(rules, at);
  EXPECT_EQ(row, at);
  EXPECT_EQ(TextOf(usa.lines[2]), "CH   |RX(MHz)  |TX(MHz)  |TX  |LOW  |UP  |DUP  |MEM  |VS  |CH Name");

  const PrintPage& exp = pages[6];
  std::vector<double> expAt;
  for (const PrintCell& c : exp.lines[2].cells) expAt.push_back(c.leftMm);
  EXPECT_EQ(expAt, (std::vector<double>{10, 17, 27, 44, 63, 82, 90, 100, 107, 117}));
}

TEST(PrintedReport, PrintedLabelsDifferFromTheTextImage) {
  ImageAndRecord in = CraftedInput();
  const auto pages = PrintedReportPages(in.rec, in.img, MakeDescriptor(1, true, true));
  std::vector<std::string> general;
  for (const PrintLine& line : pages[0].lines) general.push_back(TextOf(line));
  auto has = [&](const std::string& prefix) {
    return std::any_of(general.begin(), general.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  };
  EXPECT_TRUE(has("Status name "));
  EXPECT_FALSE(has("Status Name"));
  EXPECT_TRUE(has("[Indivisual Call]"));
  EXPECT_FALSE(has("[Individual Call]"));
  EXPECT_TRUE(has("Distress Relay                     |On"));
  const auto mmsi = std::find_if(general.begin(), general.end(), [](const std::string& l) { return l.rfind("User MMSI:", 0) == 0; });
  ASSERT_NE(mmsi, general.end());
  EXPECT_NE(mmsi->find("| Count: |7"), std::string::npos) << *mmsi;
}

TEST(PrintedReport, LongPagesContinueOnFurtherSheetsUnderTheSameHeader) {
  ImageAndRecord in = FreshImageAndRecord(1);
  const auto pages = PrintedReportPages(in.rec, in.img, MakeDescriptor(1, true, true));
  PrintGeometry g;
  g.pageHeightMm = 20 + 4.5 * 12;  // 12 rows: header, empty line and 10 body lines
  const auto sheets = LayOutSheets({pages[5]}, g);  // directories: 4 + 48 + 4 + 10 lines
  ASSERT_EQ(sheets.size(), 7u);
  for (const PrintSheet& sheet : sheets) {
    ASSERT_FALSE(sheet.texts.empty());
    EXPECT_EQ(sheet.texts[0].text, "TK4100A Tidecraft");
    EXPECT_EQ(sheet.texts[0].yMm, 10);
    for (const PlacedText& t : sheet.texts) EXPECT_LE(t.yMm, g.pageHeightMm - g.bottomMarginMm);
  }
  // A4 at 4.5 mm holds 59 body lines: general 93, USA 55, INTL 61, Canada 63, WX 14,
  // directories 66, expansion 44.
  EXPECT_EQ(LayOutSheets(pages).size(), 2u + 1 + 2 + 2 + 1 + 2 + 1);
}
