// File > Import List from CSV on the real window: the page shown picks the list, the
// imported values appear on it at once, and the status bar and Edit > Undo name the import.
#include <QAction>
#include <QLineEdit>
#include <QLabel>
#include <gtest/gtest.h>

#include "editor/lists/csv_lists.h"
#include "files/csv.h"
#include "window_rig.h"

namespace qm47::testing {
namespace {

TEST(MainWindowCsv, ImportOnTheWeatherPageDrawsItAgainSaysWhatChangedAndUndoesByItsName) {
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
  EXPECT_EQ(rig.Find<QLabel>("sbStatusBar_0")->text(), "Weather list: 1 channel changed");
  EXPECT_EQ(rig.Find<QAction>("mnuEditUndo")->text(), "&Undo Import Weather list");

  // Taken back by that name; the same file again changes nothing and says so.
  rig.Find<QAction>("mnuEditUndo")->trigger();
  EXPECT_NE(rig.Find<QLineEdit>("txtDTagName_0")->text(), "HOME, PORT");
  EXPECT_EQ(rig.Find<QAction>("mnuEditRedo")->text(), "&Redo Import Weather list");
  rig.Find<QAction>("mnuEditRedo")->trigger();
  rig.ui.files.push_back(rig.dir / "wx.csv");
  rig.Find<QAction>("mnuFileImportCsv")->trigger();
  EXPECT_EQ(rig.Find<QLabel>("sbStatusBar_0")->text(), "Weather list: nothing changed");
}

}  // namespace
}  // namespace qm47::testing
