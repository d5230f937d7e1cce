// The settings and directory pages through their real widgets: controls by name, the
// user scripted. The rules themselves are tested in tests/editor.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "model/builtin_tables.h"
#include "window_rig.h"

namespace qm47::testing {
namespace {

constexpr const char* kModel = "[model1]\nuse=1\natis=1\n[model2]\nuse=0\n";

QString Hint(const WindowRig& rig) { return rig.Find<QLabel>("sbStatusBar_0")->text(); }

// Each box, list and text reaching the record is the accessible actions' test.
TEST(UsablePageWidgets, TheTabKeyWalksARowFromLeftToRightAndAnUnusableRowOnlyHasItsBox) {
  WindowRig rig(kModel, 1);
  rig.window->SelectNode("Usable");
  Focus(rig.Find<QCheckBox>("chkUsable_0"));
  EXPECT_EQ(Hint(rig), "[Space]:An effective and invalid change.");
  QStringList walked;
  const auto tab = [&] {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walked << QApplication::focusWidget()->objectName();
  };
  for (int i = 0; i < 5; ++i) tab();
  EXPECT_EQ(walked, QStringList({"txtUsable_0", "cmbUsableSts_0", "cmbUsablePri_0", "cmbUsableTot_0", "chkUsable_1"}));
  ASSERT_TRUE(rig.Find<QCheckBox>("chkUsable_1")->isChecked()) << "INTL is usable in this catalogue's fresh image";
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_FALSE(rig.session.record.UsableGroup[kINTL].Usable);
  tab();
  EXPECT_EQ(walked.back(), "chkUsable_2");
}

TEST(UsablePageWidgets, PriorityListShowsTheStoredChannelOrNoneOnceItIsNoLongerEnabled) {
  WindowRig rig(kModel, 1);
  const int ch22A = PositionOfLabel("22A");
  rig.session.Edit(record_area::Usable, [&](SettingsRecord& rec) { rec.UsableGroup[kUSA].PriorityCh = ch22A; });
  rig.window->SelectNode("Usable");
  auto* priority = rig.Find<QComboBox>("cmbUsablePri_0");
  ASSERT_NE(priority, nullptr);
  EXPECT_EQ(priority->currentText(), "22A");

  rig.session.Edit(record_area::Channels,
                   [&](SettingsRecord& rec) { rec.CHUSA[static_cast<std::size_t>(ch22A)].Enable = false; });
  rig.window->SelectNode("Common");
  rig.window->SelectNode("Usable");
  EXPECT_EQ(priority->currentIndex(), -1);
  EXPECT_EQ(priority->findText("22A"), -1);
}

// Deleting is the accessible actions' test; the rules are the editor's.
TEST(DirectoryPagesWidgets, EnterOnTheLastRowOfAFullDirectoryOpensAnEntryWithNothingToAdd) {
  WindowRig rig(kModel, 1);
  rig.session.Edit(record_area::Directories, [](SettingsRecord& rec) {
    for (std::size_t k = 0; k < rec.CHGRPID.size(); ++k)
      rec.CHGRPID[k] = {true, "G" + std::to_string(k + 1), "0" + std::to_string(12345671 + k) + "0"};
  });
  const std::size_t entries = rig.session.record.CHGRPID.size();

  rig.window->SelectNode("SG");
  auto* grid = rig.Find<QTableWidget>("MSFlexGrid2");
  ASSERT_NE(grid, nullptr);
  ASSERT_EQ(grid->rowCount(), static_cast<int>(entries));
  Focus(grid);
  grid->setCurrentCell(grid->rowCount() - 1, 0);
  QTest::keyClick(grid, Qt::Key_Return);
  auto* add = rig.Find<QCheckBox>("chkGEnable");
  EXPECT_EQ(rig.Find<QLineEdit>("txtGPosi")->text().toStdString(), "G" + std::to_string(entries));
  EXPECT_EQ(rig.Find<QLineEdit>("txtGMMSI")->text().toStdString(), std::to_string(12345670 + entries));
  EXPECT_TRUE(add->isChecked());
  EXPECT_FALSE(add->isEnabled()) << "no entry left to add";
  EXPECT_TRUE(rig.Find<QLabel>("lblGroup")->isVisible());
}

TEST(AtisPageWidgets, AShortAtisCodeLeftOnAHiddenTabIsShownAgainWhenACommandRefusesIt) {
  WindowRig rig(kModel, 1);
  rig.window->SelectNode("ATIS");
  auto* tabs = rig.Find<QTabWidget>("tabSettings");
  auto* code = rig.Find<QLineEdit>("txtATIScode");
  ASSERT_TRUE(tabs && code);
  Focus(code);
  EXPECT_EQ(Hint(rig), "Numeric Only. Indispensable 10 figures.");
  QTest::keyClicks(code, "1a23");  // the letter is not let in

  tabs->setCurrentIndex(1);  // the box goes out of sight with its typing pending
  rig.Find<QAction>("mnuFileSave")->trigger();
  ASSERT_EQ(rig.ui.Texts(), std::vector<std::string>{"Data Error!!"});
  EXPECT_TRUE(rig.ui.fileChoices.empty());
  EXPECT_EQ(rig.ui.shown.front().caption, "ATISNo");
  QTest::qWait(0);
  EXPECT_EQ(tabs->currentIndex(), 0) << "the refused box is shown again";
  EXPECT_TRUE(code->hasFocus());
  EXPECT_EQ(code->text(), "123");
}

}  // namespace
}  // namespace qm47::testing
