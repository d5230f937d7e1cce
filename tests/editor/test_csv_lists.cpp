// Channel lists and MMSI directories through a spreadsheet: a file written and read back
// changes nothing, a file of values the pages take carries every one of them, and one bad
// cell refuses the whole file with its row and column named.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/channel_page.h"
#include "editor/csv_commands.h"
#include "editor/image_file.h"
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
  rows[1 + kDistressRow][Column(header, "Scramble")] = "5";
  rows[1 + simplex][Column(header, "Duplex")] = "1";
  rows[1 + simplex][Column(header, "ChTag")] = "HARBOUR~1";
  rows[3][Column(header, "Enable")] = "yes";
  rows[4][Column(header, "ChTag")] = "THIRTEEN CHRS";
  const std::size_t lowPower = Column(header, "LowPower");
  rows[5][lowPower] = rows[5][lowPower] == "1" ? "0" : "1";  // a good cell, not taken either
  f.dir.Write("usa.csv", CsvText(rows));

  EXPECT_EQ(ImportListFile(f.session, CsvList::Usa, f.dir / "usa.csv"), CsvImportOutcome::Refused);
  EXPECT_TRUE(f.session.record == before);
  EXPECT_FALSE(f.session.flags.dirty);
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, kCsvRefusedMessage);
  const std::string& detail = f.ui.shown[0].detail;
  for (const std::string& cell : {row(kDistressRow) + "Scramble", row(simplex) + "Duplex", row(simplex) + "ChTag",
                                  row(2) + "Enable", row(3) + "ChTag"}) {
    EXPECT_NE(detail.find(cell + ": "), std::string::npos) << cell << " in\n" << detail;
  }
  EXPECT_EQ(std::count(detail.begin(), detail.end(), '\n'), 5) << detail;  // five cells and the advice

  // The good cell alone goes in as one edit.
  rows = ParseCsv(ListCsvText(before, f.session.model, CsvList::Usa)).rows;
  rows[5][lowPower] = rows[5][lowPower] == "1" ? "0" : "1";
  f.dir.Write("usa.csv", CsvText(rows));
  const auto revision = f.session.revision();
  EXPECT_EQ(ImportListFile(f.session, CsvList::Usa, f.dir / "usa.csv"), CsvImportOutcome::Changed);
  EXPECT_EQ(f.session.revision(), revision + 1);
  EXPECT_TRUE(f.session.flags.dirty);
  EXPECT_NE(f.session.record.CHUSA[4].LowPower, before.CHUSA[4].LowPower);
}

TEST(CsvLists, RefusesAHeaderThatIsNotTheListsAndAGapInADirectory) {
  const ModelDescriptor scrambler = Model(1), plain = Model(4);
  SettingsRecord rec = qm47::testing::Fresh(1);

  const auto refusals = [](const CsvImport& import) {
    std::vector<std::string> cells;
    for (const CsvRefusal& r : import.refused) cells.push_back(std::to_string(r.row) + " " + r.column);
    return cells;
  };
  EXPECT_EQ(refusals(ImportListCsv(rec, scrambler, CsvList::Weather, "Enable,ChTag,enable,Bogus\r\n1,A,1,x\r\n")),
            (std::vector<std::string>{"1 enable", "1 Bogus", "1 ScanMemory"}));
  // A model without the scrambler has no Scramble column.
  EXPECT_EQ(refusals(ImportListCsv(rec, plain, CsvList::Usa, ListCsvText(rec, scrambler, CsvList::Usa))),
            (std::vector<std::string>{"1 Scramble"}));

  for (int k = 0; k < 3; ++k)
    rec.CHMMSID[static_cast<std::size_t>(k)] = {true, "SHIP", "21100000" + std::to_string(k) + "0"};
  std::vector<CsvRow> rows = ParseCsv(ListCsvText(rec, scrambler, CsvList::Individual)).rows;
  rows[2][0] = "0";  // entry 2 freed while entry 3 stays in use
  EXPECT_EQ(refusals(ImportListCsv(rec, scrambler, CsvList::Individual, CsvText(rows))),
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
}
