// The spreadsheet exchange format: what needs quotes gets them and comes back whole, and
// what spreadsheets write (LF line ends, a byte order mark, no final line break) reads.
#include <gtest/gtest.h>

#include "files/csv.h"

using namespace qm47;

TEST(Csv, QuotesCommasQuotesBreaksAndEdgeSpacesAndReadsThemBack) {
  const std::vector<CsvRow> rows{
      {"ChTag", "Enable"}, {"BOAT, HARBOUR", "1"}, {"say \"hi\"", ""}, {" lead", "two\nlines"}};
  const std::string text = CsvText(rows);
  EXPECT_EQ(text, "ChTag,Enable\r\n\"BOAT, HARBOUR\",1\r\n\"say \"\"hi\"\"\",\r\n\" lead\",\"two\nlines\"\r\n");
  const CsvTable back = ParseCsv(text);
  EXPECT_FALSE(back.error);
  EXPECT_EQ(back.rows, rows);
}

TEST(Csv, ReadsLineFeedsAByteOrderMarkAndAMissingFinalBreak) {
  const CsvTable t = ParseCsv(
      "\xEF\xBB\xBF"
      "a,b\nc,\"d\r\ne\"\n,\nlast,row");
  ASSERT_FALSE(t.error);
  const std::vector<CsvRow> want{{"a", "b"}, {"c", "d\r\ne"}, {"", ""}, {"last", "row"}};
  EXPECT_EQ(t.rows, want);
}

TEST(Csv, NamesTheRowWhereQuotingBreaks) {
  // The open quote swallows the rest of the file: the row it starts in is named.
  const CsvTable open = ParseCsv("a,b\r\n1,2\r\n\"open,3\r\n4,5\r\n");
  ASSERT_TRUE(open.error);
  EXPECT_EQ(open.errorRow, 3u);

  const CsvTable trailing = ParseCsv("a,b\r\n\"x\"y,2\r\n");
  ASSERT_TRUE(trailing.error);
  EXPECT_EQ(trailing.errorRow, 2u);
}

TEST(Csv, FormulaStartsAndEdgeSpacesComeBackUnchangedAndNoSpreadsheetRunsThem) {
  const CsvRow cells{"=HYPERLINK(\"http://x\")", "=cmd|' /C calc'!A0", "+1 PORT", "-SHIP-", "@SUM(A1)", "\tTAB",
                     "\rCR", "'=quoted", "''+twice", "'plain", "'", "HARBOUR ", " ", "-A "};
  const std::string text = CsvText({cells});
  EXPECT_EQ(text,
            "\"'=HYPERLINK(\"\"http://x\"\")\",'=cmd|' /C calc'!A0,'+1 PORT,'-SHIP-,'@SUM(A1),'\tTAB,\"'\rCR\","
            "''=quoted,'''+twice,'plain,',\"HARBOUR \",\" \",\"'-A \"\r\n");
  const CsvTable back = ParseCsv(text);
  ASSERT_FALSE(back.error);
  ASSERT_EQ(back.rows.size(), 1u);
  EXPECT_EQ(back.rows[0], cells);

  // What a spreadsheet saves after showing the text: with or without the guard.
  EXPECT_EQ(ParseCsv("=A1,'=A1,'A1,''\r\n").rows[0], (CsvRow{"=A1", "=A1", "'A1", "''"}));
}
