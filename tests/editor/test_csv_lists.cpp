// Channel lists and MMSI directories through a spreadsheet. A file taken is the window's test.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/pages/channel_page.h"
#include "editor/lists/csv_commands.h"
#include "editor/documents/image_file.h"
#include "files/csv.h"
#include "record_builder.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;

namespace {

ModelDescriptor Model(int number) { return DescriptorFromCatalogue(IniFile::Parse(qm47::testing::kCatalogue), number); }

// Cuts a random record to what the page boxes take; boxes a plan channel's place greys
// out keep the fresh record's values.
void KeepToThePages(SettingsRecord& rec, const SettingsRecord& fresh, qm47::testing::RandomRecord& random) {
  for (int r = 0; r < kRegionCount; ++r) {
    for (std::size_t k = 0; k < rec.Region(r).size(); ++k) {
      Channel& ch = rec.Region(r)[k];
      const Channel& was = fresh.Region(r)[k];
      const ChannelLocks locks = PlanChannelLocks(ch);
      if (locks.txEnable) ch.TxEnable = was.TxEnable;
      if (locks.duplex) ch.Duplex = was.Duplex;
      if (locks.scan) ch.ScanMemory = was.ScanMemory;
      if (locks.scrambler) ch.Scramble = was.Scramble;
    }
  }
  const std::string display = "0123456789AbCdEFHLnPtUGIJoqrSy";
  const auto pick = [&] {
    return display[static_cast<std::size_t>(random.Int(0, static_cast<int>(display.size()) - 1))];
  };
  for (Channel& ch : rec.CHEXP) {
    ch.CHDisplayL = {pick(), pick()};
    ch.CHDisplayR = {pick()};
    for (double* f : {&ch.Rxfreq, &ch.Txfreq}) *f = random.Int(0, 3) == 0 ? 0 : 137 + 0.025 * random.Int(0, 1480);
  }
  for (DirectoryEntry& e : rec.CHMMSID) e.TagName = e.TagName.substr(0, 10);
  for (DirectoryEntry& e : rec.CHGRPID) {
    e.TagName = e.TagName.substr(0, 10);
    if (e.InUse) e.Mmsid = "0" + random.Digits(8) + "0";
  }
}

std::size_t Column(const CsvRow& header, const std::string& name) {
  return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
}

std::vector<CsvRow> Rows(const SettingsRecord& rec, const ModelDescriptor& model, CsvList list) {
  return ParseCsv(ListCsvText(rec, model, list)).rows;
}

// "Row 4, column Channel: ..." for each refusal.
std::vector<std::string> Cells(const CsvImport& import) {
  std::vector<std::string> cells;
  for (const CsvRefusal& r : import.refused) cells.push_back(std::to_string(r.row) + " " + r.column);
  return cells;
}

}  // namespace

TEST(CsvLists, AFileWrittenAndReadBackChangesNothingAndCarriesEveryValue) {
  for (int number = 1; number <= 4; ++number) {
    const ModelDescriptor model = Model(number);
    for (unsigned seed = 1; seed <= 3; ++seed) {
      SettingsRecord fresh = qm47::testing::Fresh(number);
      SettingsRecord rec = fresh;
      qm47::testing::RandomRecord random(seed * 10 + static_cast<unsigned>(number));
      random.Fill(rec);
      for (const CsvListName& list : kCsvLists) {
        SCOPED_TRACE("model " + std::to_string(number) + ", " + std::string(list.name));
        const CsvImport same = ImportListCsv(rec, model, list.list, ListCsvText(rec, model, list.list));
        EXPECT_TRUE(same.accepted()) << RefusalLines(same, 3);
        EXPECT_TRUE(same.record == rec) << qm47::testing::FirstDifference(same.record, rec);
      }

      KeepToThePages(rec, fresh, random);
      for (const CsvListName& list : kCsvLists) {
        SCOPED_TRACE("model " + std::to_string(number) + ", " + std::string(list.name) + " into a fresh record");
        const std::string text = ListCsvText(rec, model, list.list);
        const CsvImport into = ImportListCsv(fresh, model, list.list, text);
        ASSERT_TRUE(into.accepted()) << RefusalLines(into, 3);
        EXPECT_EQ(ListCsvText(into.record, model, list.list), text);
      }
    }
  }
}

TEST(CsvLists, OneBadCellRefusesTheFileNamingEveryBadCellAndNothingChanges) {
  SessionFixture f(1);
  const SettingsRecord before = f.session.record;
  std::vector<CsvRow> rows = ParseCsv(ListCsvText(before, f.session.model, CsvList::Usa)).rows;
  const CsvRow& header = rows[0];
  const auto& usa = before.CHUSA;
  const auto simplex = static_cast<std::size_t>(
      std::find_if(usa.begin() + 8, usa.end(), [](const Channel& ch) { return !ch.DupCapable && !ch.RxOnly; }) -
      usa.begin());
  ASSERT_LT(simplex, usa.size());
  // Data row k holds position k - 1 and is row k + 1 of the spreadsheet.
  const auto row = [](std::size_t position) { return "Row " + std::to_string(position + 2) + ", column "; };
  rows[1 + kDistressRow][Column(header, "Scrambler")] = "2";
  rows[1 + simplex][Column(header, "Duplex")] = "1";
  rows[1 + simplex][Column(header, "ChTag")] = "HARBOUR~1";
  rows[3][Column(header, "Enable")] = "yes";
  rows[4][Column(header, "ChTag")] = "THIRTEEN CHRS";
  const std::size_t lowPower = Column(header, "LowPower");
  rows[5][lowPower] = rows[5][lowPower] == "1" ? "0" : "1";  // a good cell, not taken either
  const std::size_t rx = Column(header, "RX MHz");
  rows[6][rx] = "157.999";                                           // shown, not read: not dropped silently
  rows[7][rx] = rows[7][rx].substr(0, rows[7][rx].find_last_not_of('0') + 1);  // as a spreadsheet writes it
  f.dir.Write("usa.csv", CsvText(rows));

  EXPECT_EQ(ImportListFile(f.session, CsvList::Usa, f.dir / "usa.csv"), CsvImportOutcome::Refused);
  EXPECT_TRUE(f.session.record == before);
  EXPECT_FALSE(f.session.flags.dirty);
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, kCsvRefusedMessage);
  const std::string& detail = f.ui.shown[0].detail;
  for (const std::string& cell : {row(kDistressRow) + "Scrambler", row(simplex) + "Duplex", row(simplex) + "ChTag",
                                  row(2) + "Enable", row(3) + "ChTag", row(5) + "RX MHz"}) {
    EXPECT_NE(detail.find(cell + ": "), std::string::npos) << cell << " in\n" << detail;
  }
  EXPECT_EQ(std::count(detail.begin(), detail.end(), '\n'), 6) << detail;  // six cells and the advice
}

TEST(CsvLists, RefusesAHeaderThatIsNotTheListsAndAGapInADirectory) {
  const ModelDescriptor scrambler = Model(1), plain = Model(4);
  SettingsRecord rec = qm47::testing::Fresh(1);

  EXPECT_EQ(Cells(ImportListCsv(rec, scrambler, CsvList::Weather, "Enable,ChTag,enable,Bogus\r\n1,A,1,x\r\n")),
            (std::vector<std::string>{"1 enable", "1 Bogus", "1 ScanMemory"}));
  // A model without the scrambler has no Scrambler column.
  EXPECT_EQ(Cells(ImportListCsv(rec, plain, CsvList::Usa, ListCsvText(rec, scrambler, CsvList::Usa))),
            (std::vector<std::string>{"1 Scrambler"}));
  // A file of the stored numbers, written before the column showed the page's list, is
  // refused rather than read as one of its items.
  std::string old = ListCsvText(rec, scrambler, CsvList::Usa);
  old.replace(old.find("Scrambler"), 9, "Scramble");
  EXPECT_EQ(Cells(ImportListCsv(rec, scrambler, CsvList::Usa, old)), (std::vector<std::string>{"1 Scramble", "1 Scrambler"}));

  for (int k = 0; k < 3; ++k)
    rec.CHMMSID[static_cast<std::size_t>(k)] = {true, "SHIP", "21100000" + std::to_string(k) + "0"};
  std::vector<CsvRow> rows = ParseCsv(ListCsvText(rec, scrambler, CsvList::Individual)).rows;
  rows[2][0] = "0";  // entry 2 freed while entry 3 stays in use
  EXPECT_EQ(Cells(ImportListCsv(rec, scrambler, CsvList::Individual, CsvText(rows))),
            (std::vector<std::string>{"4 Enable"}));
}

TEST(CsvLists, TheMenuTakesTheListOfThePageShownElseAsksForOne) {
  SessionFixture f(1);
  const auto yes = [] { return true; };
  ExportListCommand(f.session, {PageKind::Channel, kINTL, Directory::Individual, 12}, yes);
  EXPECT_TRUE(f.ui.itemChoices.empty());
  ASSERT_EQ(f.ui.fileChoices.size(), 1u);
  EXPECT_EQ(f.ui.fileChoices[0].suggestedName, "intl.csv");

  f.ui.items.push_back(6);  // the last entry: the group directory
  f.ui.files.push_back(f.dir / "group.csv");
  ExportListCommand(f.session, {PageKind::Common, -1, Directory::Individual, -1}, yes);
  ASSERT_EQ(f.ui.itemChoices.size(), 1u);
  EXPECT_EQ(f.dir.Read("group.csv"), ListCsvText(f.session.record, f.session.model, CsvList::Group));

  // The group directory's own pages name it: out from an entry, back in from the list.
  f.ui.files.push_back(f.dir / "fleet.csv");
  ExportListCommand(f.session, {PageKind::DirectoryEntry, -1, Directory::Group, 3}, yes);
  ASSERT_EQ(f.ui.fileChoices.size(), 3u);
  EXPECT_EQ(f.ui.fileChoices[2].suggestedName, "group.csv");
  std::vector<CsvRow> rows = ParseCsv(f.dir.Read("fleet.csv")).rows;
  rows[1] = {"1", "FLEET", "21123456"};
  f.dir.Write("fleet.csv", CsvText(rows));
  f.ui.files.push_back(f.dir / "fleet.csv");
  EXPECT_TRUE(ImportListCommand(f.session, {PageKind::DirectoryList, -1, Directory::Group, -1}, yes));
  EXPECT_EQ(f.ui.itemChoices.size(), 1u);
  EXPECT_EQ(f.session.record.CHGRPID[0], (DirectoryEntry{true, "FLEET", "0211234560"}));
}

TEST(CsvLists, NamesStartingAsFormulasOrEndingInASpaceComeBackUnchanged) {
  const ModelDescriptor model = Model(1);
  const SettingsRecord fresh = qm47::testing::Fresh(1);
  SettingsRecord rec = fresh;
  // Names the pages take; the last only a hand-edited settings file brings.
  rec.CHUSA[3].ChTag = "-SHIP- ";
  rec.CHCAN[5].ChTag = "+1 PORT";
  rec.CHEXP[0].ChTag = "-";
  rec.CHWX[0].ChTag = "+WX ";
  rec.CHMMSID[0] = {true, "-HOME-", "2112345670"};
  rec.CHGRPID[0] = {true, "+FLEET", "0211234500"};
  SettingsRecord dat = rec;
  dat.CHINT[7].ChTag = "=cmd|' /C calc'!A0";

  for (const CsvListName& list : kCsvLists) {
    SCOPED_TRACE(std::string(list.name));
    const std::string text = ListCsvText(dat, model, list.list);
    for (const std::string start : {",", "\n", "\""}) {
      for (const char formula : std::string("=+-@")) EXPECT_EQ(text.find(start + formula), std::string::npos) << text;
    }
    const CsvImport same = ImportListCsv(dat, model, list.list, text);
    EXPECT_TRUE(same.accepted()) << RefusalLines(same, 3);
    EXPECT_TRUE(same.record == dat) << qm47::testing::FirstDifference(same.record, dat);

    const CsvImport into = ImportListCsv(fresh, model, list.list, ListCsvText(rec, model, list.list));
    EXPECT_TRUE(into.accepted()) << RefusalLines(into, 3);
    SettingsRecord want = fresh;
    TakeList(want, rec, list.list);
    EXPECT_TRUE(into.record == want) << qm47::testing::FirstDifference(into.record, want);
  }
}

TEST(CsvLists, AFileOfAnotherListOrOffItsChannelsIsRefusedAndOneWithoutTheShownColumnsImports) {
  const ModelDescriptor model = Model(1);
  const SettingsRecord rec = qm47::testing::Fresh(1);

  const CsvImport intl = ImportListCsv(rec, model, CsvList::Intl, ListCsvText(rec, model, CsvList::Usa));
  EXPECT_EQ(Cells(intl), (std::vector<std::string>{"2 List"}));
  const std::string why = RefusalLines(intl, 1);
  EXPECT_NE(why.find("\"usa\" where \"intl\" is expected"), std::string::npos) << why;
  EXPECT_TRUE(intl.record == rec);

  // Two plan rows that swapped their positions; expansion rows sorted by name.
  std::vector<CsvRow> usa = Rows(rec, model, CsvList::Usa);
  const std::size_t position = Column(usa[0], "Position"), enable = Column(usa[0], "Enable");
  std::swap(usa[3][position], usa[4][position]);
  const CsvImport swapped = ImportListCsv(rec, model, CsvList::Usa, CsvText(usa));
  EXPECT_EQ(Cells(swapped), (std::vector<std::string>{"4 Channel", "5 Channel"}));
  EXPECT_NE(RefusalLines(swapped, 1).find("\"01\" where Position 3 of the USA channels is channel \"01A\""),
            std::string::npos)
      << RefusalLines(swapped, 1);
  std::vector<CsvRow> exp = Rows(rec, model, CsvList::Expansion);
  std::swap(exp[1], exp[2]);
  EXPECT_EQ(Cells(ImportListCsv(rec, model, CsvList::Expansion, CsvText(exp))),
            (std::vector<std::string>{"2 Channel", "3 Channel"}));

  // A file written before List, Channel and RX MHz; a spreadsheet that dropped a leading zero.
  usa = Rows(rec, model, CsvList::Usa);
  usa[5][enable] = usa[5][enable] == "1" ? "0" : "1";
  usa[5][Column(usa[0], "Channel")] = "2";
  std::vector<CsvRow> old;
  for (const CsvRow& row : usa) {
    CsvRow& kept = old.emplace_back();
    for (std::size_t i = 0; i < row.size(); ++i)
      if (i != Column(usa[0], "List") && i != Column(usa[0], "Channel") && i != Column(usa[0], "RX MHz"))
        kept.push_back(row[i]);
  }
  for (const std::vector<CsvRow>* file : {&usa, &old}) {
    const CsvImport taken = ImportListCsv(rec, model, CsvList::Usa, CsvText(*file));
    ASSERT_TRUE(taken.accepted()) << RefusalLines(taken, 3);
    EXPECT_NE(taken.record.CHUSA[4].Enable, rec.CHUSA[4].Enable);
  }
}

TEST(CsvLists, EveryListRefusesACellItsPageRefusesByRowAndColumnAndTakesNothing) {
  const ModelDescriptor model = Model(1);
  const SettingsRecord rec = qm47::testing::Fresh(1);
  struct Bad {
    std::size_t entry;  // from 0; its row is entry + 2
    std::string column, cell;
  };
  const std::vector<std::pair<CsvList, std::vector<Bad>>> lists{
      {CsvList::Usa, {{20, "Scrambler", "5"}, {21, "ChTag", "A=B"}}},
      {CsvList::Intl, {{20, "Scrambler", "on"}, {21, "ChTag", "HARBOUR~1"}}},
      {CsvList::Canada, {{20, "ChTag", "THIRTEEN CHRS"}, {21, "Enable", "yes"}}},
      {CsvList::Expansion, {{0, "Scrambler", "5"}, {1, "CHDisplayL", "XY"}, {2, "Rxfreq", "156.0123"}}},
      {CsvList::Weather, {{0, "ChTag", "A=B"}, {1, "ChTag", "CAF\xC3\x89"}, {2, "ScanMemory", "2"}}},
      {CsvList::Individual, {{0, "TagName", "HOME=PORT"}, {1, "Mmsid", "2112345"}}},
      {CsvList::Group, {{0, "Mmsid", "211234567"}, {1, "TagName", "\xC3\x89QUIPE"}}},
  };
  for (const auto& [list, cells] : lists) {
    SCOPED_TRACE(std::string(NameOf(list).name));
    std::vector<CsvRow> rows = Rows(rec, model, list);
    std::vector<std::string> want;
    for (const Bad& bad : cells) {
      rows[bad.entry + 1][Column(rows[0], bad.column)] = bad.cell;
      want.push_back(std::to_string(bad.entry + 2) + " " + bad.column);
    }
    const CsvImport import = ImportListCsv(rec, model, list, CsvText(rows));
    EXPECT_EQ(Cells(import), want) << RefusalLines(import, 5);
    EXPECT_TRUE(import.record == rec);
  }
}

TEST(CsvLists, AValueThatNamesNoListHasNoFileAndTakesNone) {
  const ModelDescriptor model = Model(1);
  const SettingsRecord rec = qm47::testing::Fresh(1);
  SettingsRecord other = rec;
  other.CHUSA[3].ChTag = other.CHMMSID[0].TagName = "OTHER";
  const auto none = static_cast<CsvList>(kCsvLists.size());

  EXPECT_TRUE(CsvColumns(none, model).empty());
  EXPECT_EQ(ListCsvText(rec, model, none), "");
  EXPECT_FALSE(ImportListCsv(other, model, none, ListCsvText(rec, model, CsvList::Usa)).accepted());
  SettingsRecord into = rec;
  TakeList(into, other, none);
  EXPECT_TRUE(into == rec);
}
