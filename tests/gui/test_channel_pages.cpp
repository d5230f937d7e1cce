// The channel list, channel and weather pages through their real widgets.
#include <QCheckBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "window_rig.h"

// Failures print the texts.
static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace qm47::testing {
namespace {

constexpr const char* kModel = "[model1]\nuse=1\natis=1\nscrambler=1\n";

QString CurrentNodeText(const WindowRig& rig) { return rig.Tree()->currentItem()->text(0); }

// Keys reach a window's focus and shortcuts once it is the active one.
void Activate(WindowRig& rig) {
  rig.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(rig.window.get()));
}

// The expansion group in the tree, with channel `number` enabled and named when it is not 0.
void UseExpansion(WindowRig& rig, int number = 0) {
  rig.session.Edit(record_area::All, [number](SettingsRecord& rec) {
    rec.UsableGroup[kEXP].Usable = true;
    if (number == 0) return;
    rec.CHEXP[static_cast<std::size_t>(number - 1)].Enable = true;
    rec.CHEXP[static_cast<std::size_t>(number - 1)].CHDisplayL = "E3";
  });
  rig.session.flags.dirty = false;
}

// A menu command's refusal is the ATIS page's test; this is the tree's.
TEST(ChannelPage, ARefusedReceiveFrequencyKeepsThePageWhenAnotherNodeIsClicked) {
  WindowRig rig(kModel, 1);
  UseExpansion(rig, 3);
  rig.window->SelectNode("E3");
  Activate(rig);
  auto* rx = rig.Find<QLineEdit>("txtCRF");
  ASSERT_TRUE(rx && !rx->isReadOnly());
  rx->setFocus(Qt::TabFocusReason);
  QTest::qWait(0);
  QTest::keyClicks(rx, "157.01");  // off the 25 kHz step

  // The click takes the focus to the tree first; the refusal is said once, by the check
  // before the page change, and the page stays with the typing.
  QTreeWidgetItem* other = rig.Tree()->findItems("EXP4", Qt::MatchExactly | Qt::MatchRecursive).value(0);
  ASSERT_NE(other, nullptr);
  rig.Tree()->scrollToItem(other);
  QTest::mouseClick(rig.Tree()->viewport(), Qt::LeftButton, {}, rig.Tree()->visualItemRect(other).center());
  ASSERT_EQ(rig.ui.shown.size(), 1u);
  EXPECT_EQ(rig.ui.shown[0].caption, "Rx frequency");
  EXPECT_EQ(CurrentNodeText(rig), "EXP3[Enable]");
  QTest::qWait(0);
  EXPECT_TRUE(rx->hasFocus());
  EXPECT_EQ(rx->text(), "157.01");
  EXPECT_EQ(rig.session.record.CHEXP[2].Rxfreq, 0.0);

  rx->selectAll();
  QTest::keyClicks(rx, "157.025");
  QTest::keyClick(rx, Qt::Key_Tab);  // on to the next box of the page: checked and stored
  EXPECT_EQ(rig.session.record.CHEXP[2].Rxfreq, 157.025);
  EXPECT_EQ(rx->text(), "157.0250");
  EXPECT_EQ(rig.ui.shown.size(), 1u);
}

TEST(ChannelList, DoubleClickOrEnterOnARowShowsThatChannel) {
  WindowRig rig(kModel, 1);
  Activate(rig);
  rig.window->SelectNode("PU");
  auto* grid = rig.Find<QTableWidget>("MSFlexGrid1");
  auto* pages = rig.Find<QStackedWidget>("pages");
  ASSERT_TRUE(grid && grid->isVisible());
  const auto rowOf = [grid](const QString& channel) {
    const auto found = grid->findItems(channel, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
  };

  QTableWidgetItem* ch13 = rowOf("13");
  ASSERT_NE(ch13, nullptr);
  grid->scrollToItem(ch13);
  // As a real double click arrives: a click, then the double click.
  const QPoint at = grid->visualItemRect(ch13).center();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(pages->currentWidget()->objectName(), "picChannel");
  EXPECT_EQ(CurrentNodeText(rig), "CH13[Enable]");
  EXPECT_EQ(rig.Find<QLineEdit>("txtCN_0")->text(), "13");

  rig.window->SelectNode("PU");
  grid->setFocus();
  grid->setCurrentItem(rowOf("16"));
  QTest::keyClick(grid, Qt::Key_Return);
  EXPECT_EQ(CurrentNodeText(rig), "CH16[Enable]");

  UseExpansion(rig);
  rig.window->SelectNode("ExpChannel");
  EXPECT_EQ(grid->rowCount(), 40);
  grid->setFocus();
  grid->setCurrentCell(6, 0);
  QTest::keyClick(grid, Qt::Key_Enter);
  EXPECT_EQ(CurrentNodeText(rig), "EXP7");
  EXPECT_FALSE(rig.Find<QCheckBox>("chkCTXEnable")->isVisible()) << "expansion channels have no Tx Enable box";
}

TEST(WeatherPage, EnableBoxRulesItsRowAndPointsAtTheFocusedRow) {
  WindowRig rig(kModel, 1);
  rig.window->SelectNode("PW");
  Activate(rig);
  auto* enable = rig.Find<QCheckBox>("chkDEnable_2");
  auto* scan = rig.Find<QCheckBox>("chkDScan_2");
  auto* name = rig.Find<QLineEdit>("txtDTagName_2");
  ASSERT_TRUE(enable && scan && name && enable->isChecked());

  enable->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(enable->text(), ">");
  EXPECT_EQ(rig.Find<QLabel>("sbStatusBar_0")->text(), "Select[x]Enable/[]Disable.");
  QTest::keyClick(enable, Qt::Key_Space);
  EXPECT_FALSE(rig.session.record.CHWX[2].Enable);
  EXPECT_FALSE(scan->isEnabled());
  EXPECT_FALSE(name->isEnabled());
  EXPECT_TRUE(rig.Find<QCheckBox>("chkDScan_3")->isEnabled()) << "only its own row";

  QTest::keyClick(enable, Qt::Key_Tab);
  EXPECT_EQ(enable->text(), " ");
  EXPECT_EQ(rig.Find<QCheckBox>("chkDEnable_3")->text(), ">") << "Tab skips the disabled boxes of the row";
}

}  // namespace
}  // namespace qm47::testing
