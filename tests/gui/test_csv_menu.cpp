// File > Import List from CSV on the real window: the page shown picks the list, and the
// imported values appear on it at once.
#include <QAction>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "editor/csv_lists.h"
#include "files/csv.h"
#include "window_rig.h"

namespace qm47::testing {
namespace {

TEST(MainWindowCsv, ImportOnTheWeatherPageDrawsItAgainAndLeavesTheWindowDirty) {
  WindowRig rig("[model1]\nuse=1\natis=1\nscrambler=1\n", 1);
  rig.window->SelectNode("PW");
  std::vector<CsvRow> rows = ParseCsv(ListCsvText(rig.session.record, rig.session.model, CsvList::Weather)).rows;
  const auto name = static_cast<std::size_t>(std::find(rows[0].begin(), rows[0].end(), "ChTag") - rows[0].begin());
  rows[1][name] = "HOME, PORT";
  rig.dir.Write("wx.csv", CsvText(rows));
  rig.ui.files.push_back(rig.dir / "wx.csv");

  rig.Find<QAction>("mnuFileImportCsv")->trigger();
  EXPECT_TRUE(rig.ui.itemChoices.empty()) << "the weather page names its list";
  EXPECT_EQ(rig.Find<QLineEdit>("txtDTagName_0")->text(), "HOME, PORT");
  EXPECT_TRUE(rig.session.flags.dirty);
  EXPECT_TRUE(rig.ui.shown.empty());
}

}  // namespace
}  // namespace qm47::testing
