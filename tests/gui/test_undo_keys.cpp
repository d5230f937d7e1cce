// Ctrl+Z and Ctrl+Y on the real window: the window's steps, except in a text box that
// still holds typing of its own.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "window_rig.h"

namespace qm47::testing {
namespace {

constexpr const char* kModel = "[model1]\nuse=1\natis=1\n[model2]\nuse=0\n";

void Chord(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier); }

TEST(UndoKeys, CtrlZTakesBackACheckBoxAndATextBoxKeepsItOnlyForItsOwnTyping) {
  WindowRig rig(kModel, 1);
  const SettingsRecord& rec = rig.session.record;
  rig.window->SelectNode("Usable");
  auto* usa = rig.Find<QCheckBox>("chkUsable_0");
  auto* undo = rig.Find<QAction>("mnuEditUndo");
  ASSERT_TRUE(usa && undo && rig.Find<QAction>("mnuEditRedo"));
  ASSERT_TRUE(usa->isChecked());
  EXPECT_FALSE(undo->isEnabled());

  QTest::mouseClick(usa, Qt::LeftButton);
  ASSERT_FALSE(rec.UsableGroup[kUSA].Usable);
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_EQ(undo->text(), "&Undo Usable CH Group Setup");

  Focus(usa);
  Chord(Qt::Key_Z);
  EXPECT_TRUE(rec.UsableGroup[kUSA].Usable);
  EXPECT_TRUE(usa->isChecked()) << "the page is drawn again";
  EXPECT_FALSE(rig.Tree()->findItems("USA", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
  EXPECT_FALSE(rig.session.flags.dirty);
  EXPECT_FALSE(undo->isEnabled());
  Chord(Qt::Key_Y);
  EXPECT_FALSE(rec.UsableGroup[kUSA].Usable);
  EXPECT_FALSE(usa->isChecked());

  // Typing in a box: the first Ctrl+Z takes back the keys, the next one the check box.
  auto* name = rig.Find<QLineEdit>("txtUsable_1");
  const QString before = name->text();
  Focus(name);
  QTest::keyClicks(name, "AB");
  Chord(Qt::Key_Z);
  EXPECT_EQ(name->text(), before);
  EXPECT_FALSE(rec.UsableGroup[kUSA].Usable);
  EXPECT_FALSE(rig.session.history.CanRedo()) << "the window's history was not touched";
  Chord(Qt::Key_Z);
  EXPECT_TRUE(rec.UsableGroup[kUSA].Usable);
  EXPECT_EQ(rec.UsableGroup[kINTL].StatusName, before.toStdString());
}

}  // namespace
}  // namespace qm47::testing
