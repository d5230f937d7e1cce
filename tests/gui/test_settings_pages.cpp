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

QStringList TreeTexts(QTreeWidget* tree, const QString& text) {
  QStringList texts;
  for (const QTreeWidgetItem* item : tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive)) {
    for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
  }
  return texts;
}

QString Hint(const WindowRig& rig) { return rig.Find<QLabel>("sbStatusBar_0")->text(); }

TEST(UsablePageWidgets, AGroupMadeUnusableLeavesTheTreeAtOnceAndComesBackWithItsMarks) {
  WindowRig rig(kModel, 1);
  rig.window->SelectNode("Usable");
  auto* usa = rig.Find<QCheckBox>("chkUsable_0");
  ASSERT_TRUE(usa && usa->isChecked());
  const QStringList usaChannels = TreeTexts(rig.Tree(), "USA");
  ASSERT_TRUE(usaChannels.contains("CH16[Enable]"));

  QTest::mouseClick(usa, Qt::LeftButton);
  EXPECT_FALSE(rig.session.record.UsableGroup[kUSA].Usable);
  EXPECT_TRUE(rig.session.flags.dirty);
  EXPECT_TRUE(rig.Tree()->findItems("USA", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
  EXPECT_FALSE(rig.Find<QComboBox>("cmbUsablePri_0")->isEnabled());
  EXPECT_FALSE(rig.Find<QLineEdit>("txtUsable_0")->isEnabled());
  ASSERT_NE(rig.Tree()->currentItem(), nullptr);
  EXPECT_EQ(rig.Tree()->currentItem()->text(0), "Usable CH Group Setup") << "the page's node stays selected";

  // Back with the keyboard: Space on the focused box.
  Focus(usa);
  EXPECT_EQ(Hint(rig), "[Space]:An effective and invalid change.");
  QTest::keyClick(usa, Qt::Key_Space);
  EXPECT_TRUE(rig.session.record.UsableGroup[kUSA].Usable);
  EXPECT_EQ(TreeTexts(rig.Tree(), "USA"), usaChannels);
  EXPECT_TRUE(rig.Find<QComboBox>("cmbUsablePri_0")->isEnabled());

  // The tab key walks a row from left to right, then on; an unusable row only has its box.
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

TEST(UsablePageWidgets, PriorityListShowsTheStoredChannelAndStoresTheOneChosen) {
  WindowRig rig(kModel, 1);
  const int ch22A = PositionOfLabel("22A");
  rig.session.Edit(record_area::Usable, [&](SettingsRecord& rec) { rec.UsableGroup[kUSA].PriorityCh = ch22A; });
  rig.window->SelectNode("Usable");
  auto* priority = rig.Find<QComboBox>("cmbUsablePri_0");
  ASSERT_NE(priority, nullptr);
  EXPECT_EQ(priority->currentText(), "22A");

  Focus(priority);
  EXPECT_EQ(Hint(rig), "[Up]/[Down]:Change of a Selection item.");
  QTest::keyClick(priority, Qt::Key_Down);
  EXPECT_NE(priority->currentText(), "22A");
  EXPECT_EQ(rig.session.record.UsableGroup[kUSA].PriorityCh, PositionOfLabel(priority->currentText().toStdString()));

  // A stored channel that is no longer enabled matches no item.
  rig.session.Edit(record_area::All, [&](SettingsRecord& rec) {
    rec.UsableGroup[kUSA].PriorityCh = ch22A;
    rec.CHUSA[static_cast<std::size_t>(ch22A)].Enable = false;
  });
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
