// Every page kind's controls worked by each hand a user has: the accessibility bus (what
// screen readers and voice control use), the mouse and the keys. Whichever the hand, the
// record takes the change, the dirty flag rises, the page drawn again from the record
// shows what the control showed, and one undo step takes the change back.
#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "window_rig.h"

namespace qm47::testing {
namespace {

constexpr const char* kModel = "[model1]\nuse=1\natis=1\nscrambler=1\n";

enum class Hand { Accessible, Mouse, Keys };

const char* NameOf(Hand hand) {
  return hand == Hand::Accessible ? "accessibility bus" : hand == Hand::Mouse ? "mouse" : "keys";
}

QAccessibleActionInterface* Actions(QWidget* control) {
  QAccessibleInterface* ax = QAccessible::queryAccessibleInterface(control);
  return ax ? ax->actionInterface() : nullptr;
}

// A control on a settings page's tab is reached with its tab in front, as a user reaches it.
void ShowTabOf(QWidget* control) {
  for (QWidget* w = control; w && w->parentWidget(); w = w->parentWidget()) {
    auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
    if (auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr) tabs->setCurrentWidget(w);
  }
}

QString Shown(const QCheckBox* box) { return box->isChecked() ? "checked" : "clear"; }
QString Shown(const QComboBox* list) { return list->currentText(); }
QString Shown(const QLineEdit* box) { return box->text(); }

struct Control {
  const char* node;
  const char* name;
  // Checked straight after the action: what else the window must show at once.
  std::function<void(WindowRig&, QWidget*)> follows = {};
};

template <class W>
W* Open(WindowRig& rig, const Control& c) {
  rig.window->SelectNode(c.node);
  W* control = rig.Find<W>(c.name);
  if (control) ShowTabOf(control);
  return control;
}

// One action from a clean history. Leaving the page runs the check that stores a pending
// entry; the page is then filled again from the record.
template <class W>
void ExpectOneStep(WindowRig& rig, const Control& c, Hand hand, const std::function<void(W*)>& act) {
  SCOPED_TRACE(std::string(c.name) + " by " + NameOf(hand));
  Session& s = rig.session;
  s.ForgetEdits();
  W* control = Open<W>(rig, c);
  ASSERT_TRUE(control && control->isEnabled());
  const SettingsRecord before = s.record;

  act(control);
  if (c.follows) c.follows(rig, control);
  rig.window->SelectNode("General");
  EXPECT_FALSE(s.record == before) << "the record took the change";
  EXPECT_TRUE(s.flags.dirty);
  const QString shown = Shown(control);
  Open<W>(rig, c);
  EXPECT_EQ(Shown(control), shown) << "the window and the record agree";

  ASSERT_TRUE(s.Undo());
  EXPECT_TRUE(s.record == before);
  EXPECT_FALSE(s.history.CanUndo()) << "one action, one step";
  EXPECT_TRUE(s.history.CanRedo()) << "drawing the page again stored nothing";
  EXPECT_TRUE(rig.ui.shown.empty()) << rig.ui.shown.front().text;
}

void Toggle(QCheckBox* box, Hand hand) {
  if (hand == Hand::Mouse) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
    return;
  }
  if (hand == Hand::Keys) {
    Focus(box);
    QTest::keyClick(box, Qt::Key_Space);
    return;
  }
  QAccessibleActionInterface* actions = Actions(box);
  ASSERT_TRUE(actions && actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
  actions->doAction(QAccessibleActionInterface::toggleAction());  // QAbstractButton::toggle(): no clicked()
}

QTreeWidgetItem* Node(const WindowRig& rig, const QString& text) {
  return rig.Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

TEST(AccessibleActions, CheckBoxesOfEveryPageReachTheRecordByToggleByClickAndBySpace) {
  WindowRig rig(kModel, 1);
  const Control boxes[] = {
      {"Usable", "chkUsable_3",
       [](WindowRig& r, QWidget* box) {
         const bool on = static_cast<QCheckBox*>(box)->isChecked();
         EXPECT_EQ(Node(r, "EXP Channel") != nullptr, on) << "the tree at once";
         EXPECT_EQ(r.Tree()->currentItem()->text(0), "Usable CH Group Setup") << "the page's node stays selected";
         EXPECT_EQ(r.Find<QComboBox>("cmbUsablePri_3")->isEnabled(), on) << "the page is drawn again";
       }},
      {"ATIS", "chkATISChGroup_0"},
      {"PU26", "chkCEnable",
       [](WindowRig& r, QWidget* box) {
         const bool on = static_cast<QCheckBox*>(box)->isChecked();
         EXPECT_EQ(r.Tree()->currentItem()->text(0), on ? "CH13[Enable]" : "CH13");
         EXPECT_EQ(r.Find<QCheckBox>("chkCTXEnable")->isEnabled(), on) << "the page is drawn again";
       }},
      {"PU26", "chkCScan"},
      {"PW", "chkDEnable_2"},
      {"SM1", "chkGEnable"},
  };
  for (const Control& c : boxes) {
    for (const Hand hand : {Hand::Accessible, Hand::Mouse, Hand::Keys}) {
      ExpectOneStep<QCheckBox>(rig, c, hand, [hand](QCheckBox* box) { Toggle(box, hand); });
    }
  }

  // A toggle while the program fills the page stores nothing, and the box shows the record again.
  for (const Control& c : boxes) {
    rig.session.ForgetEdits();
    auto* box = Open<QCheckBox>(rig, c);
    const bool shown = box->isChecked();
    const SettingsRecord before = rig.session.record;
    rig.session.flags.pageLoading = true;
    Toggle(box, Hand::Accessible);  // at once: a click could be taken after the fill
    rig.session.flags.pageLoading = false;
    EXPECT_TRUE(rig.session.record == before) << c.name;
    EXPECT_FALSE(rig.session.flags.dirty) << c.name;
    EXPECT_EQ(box->isChecked(), shown) << c.name;
  }
}

TEST(AccessibleActions, ListsOfEveryPageReachTheRecordByPressByClickByKeyAndByAnItemSetFromOutside) {
  WindowRig rig(kModel, 1);
  const Control lists[] = {
      {"Usable", "cmbUsableTot_0"},
      {"Usable", "cmbUsablePri_0"},
      {"Common", "cmbCommonDual"},
      {"DSC", "cmbUsableDscDistressRelay"},
      {"PU26", "cmbScramble"},
  };
  const auto other = [](QComboBox* list) { return list->currentIndex() + 1 < list->count() ? 1 : -1; };
  for (const Control& c : lists) {
    // Press opens the list; the item is chosen in it as a screen reader user chooses it.
    ExpectOneStep<QComboBox>(rig, c, Hand::Accessible, [&](QComboBox* list) {
      QAccessibleActionInterface* actions = Actions(list);
      ASSERT_TRUE(actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
      actions->doAction(QAccessibleActionInterface::pressAction());
      ASSERT_TRUE(list->view()->isVisible());
      QTest::keyClick(list->view(), other(list) > 0 ? Qt::Key_Down : Qt::Key_Up);
      QTest::keyClick(list->view(), Qt::Key_Return);
    });
    ExpectOneStep<QComboBox>(rig, c, Hand::Mouse, [&](QComboBox* list) {
      QTest::mouseClick(list, Qt::LeftButton);
      QAbstractItemView* view = list->view();
      ASSERT_TRUE(view->isVisible());
      const QRect item = view->visualRect(view->model()->index(list->currentIndex() + other(list), 0));
      const QPoint at = item.intersected(view->viewport()->rect()).center();
      QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
      QApplication::sendEvent(view->viewport(), &move);  // the pointer goes down to the item
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    });
    ExpectOneStep<QComboBox>(rig, c, Hand::Keys, [&](QComboBox* list) {
      Focus(list);
      QTest::keyClick(list, other(list) > 0 ? Qt::Key_Down : Qt::Key_Up);
    });
    // Assistive technology may set the item without a key or a click (Qt does on some platforms).
    ExpectOneStep<QComboBox>(rig, c, Hand::Accessible,
                             [&](QComboBox* list) { list->setCurrentIndex(list->currentIndex() + other(list)); });
  }
}

TEST(AccessibleActions, TextBoxesOfEveryPageReachTheRecordByTheTextInterfaceAndByKeys) {
  WindowRig rig(kModel, 1);
  rig.session.Edit(record_area::Directories | record_area::Usable | record_area::Expansion, [](SettingsRecord& rec) {
    rec.CHMMSID[0].InUse = true;
    // An enabled expansion channel, with what it needs for its page to be left.
    rec.UsableGroup[kEXP].Usable = rec.CHEXP[0].Enable = true;
    rec.CHEXP[0].CHDisplayL = "E1";
    rec.CHEXP[0].Rxfreq = 157.025;
  });
  struct Text {
    Control box;
    QString text;
    const char* focus = nullptr;  // another box of the page holds the focus meanwhile
  };
  const Text boxes[] = {
      {{"Usable", "txtUsable_1"}, "AB"},  // stored when checked
      {{"DSC", "txtUserMMSI"}, "366123456"},
      {{"SM1", "txtGPosi"}, "TENDER", "txtGMMSI"},
      {{"SM1", "txtGMMSI"}, "366000001", "txtGPosi"},
      {{"ATIS", "txtATISMid_0"}, "366"},  // stored at each change
      {{"PU26", "txtCTag"}, "HARBOUR"},
      {{"E1", "txtCN_0"}, "E7"},
      {{"PW", "txtDTagName_2"}, "NOAA"},
  };
  for (const Text& t : boxes) {
    ExpectOneStep<QLineEdit>(rig, t.box, Hand::Accessible, [&](QLineEdit* box) {
      if (t.focus) Focus(rig.Find<QLineEdit>(t.focus));
      QAccessibleInterface* ax = QAccessible::queryAccessibleInterface(box);
      ASSERT_TRUE(ax && ax->editableTextInterface());
      ax->editableTextInterface()->replaceText(0, static_cast<int>(box->text().size()), t.text);
      EXPECT_EQ(box->text(), t.text);
    });
    ExpectOneStep<QLineEdit>(rig, t.box, Hand::Keys, [&](QLineEdit* box) {
      Focus(box);
      QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(box, t.text);  // one stretch of typing: one step
    });
  }

  // Text set past the keys keeps what typing would have left, in the box and the record alike.
  ExpectOneStep<QLineEdit>(rig, {"PU26", "txtCTag"}, Hand::Accessible, [](QLineEdit* box) {
    QAccessible::queryAccessibleInterface(box)->editableTextInterface()->replaceText(
        0, static_cast<int>(box->text().size()), QString::fromUtf8("H\u00e4fen~x"));
    EXPECT_EQ(box->text(), "Hfenx");
  });
  // Typed, a refused key is no change at all: the cursor stays where it was.
  auto* tag = Open<QLineEdit>(rig, {"PU26", "txtCTag"});
  Focus(tag);
  const QString was = tag->text();
  tag->setCursorPosition(2);
  QTest::keyClicks(tag, "#a");
  EXPECT_EQ(tag->text(), was.left(2) + "a" + was.mid(2));
  EXPECT_EQ(tag->cursorPosition(), 3);

  // Text set into two boxes the focus is in neither of: leaving the page stores both.
  rig.session.ForgetEdits();
  rig.window->SelectNode("SM1");
  Focus(rig.Tree());
  for (const auto& [name, text] : {std::pair{"txtGPosi", "PILOT"}, std::pair{"txtGMMSI", "366000002"}}) {
    QLineEdit* box = rig.Find<QLineEdit>(name);
    QAccessible::queryAccessibleInterface(box)->editableTextInterface()->replaceText(0, static_cast<int>(box->text().size()), text);
  }
  rig.window->SelectNode("General");
  EXPECT_EQ(rig.session.record.CHMMSID[0].TagName, "PILOT");
  EXPECT_EQ(rig.session.record.CHMMSID[0].Mmsid.substr(0, 9), "366000002");

  // A disabled box takes no typing; text set into it through the bus is no edit either.
  rig.session.ForgetEdits();
  rig.window->SelectNode("SM2");  // the first free entry: its boxes are disabled
  auto* unused = rig.Find<QLineEdit>("txtGPosi");
  ASSERT_FALSE(unused->isEnabled());
  QAccessible::queryAccessibleInterface(unused)->editableTextInterface()->insertText(0, "GHOST");
  rig.window->SelectNode("General");
  EXPECT_EQ(rig.session.record.CHMMSID[1].TagName, "");
  EXPECT_FALSE(rig.session.flags.dirty);
}

// A box the program writes into (the stored form after a check) has nothing left to store.
TEST(AccessibleActions, TheTextACheckShowsIsNoEdit) {
  int stores = 0;
  WindowRig rig(kModel, 1);
  rig.session.Observe([&](const RecordChange& change) { stores += change.byUser ? 1 : 0; });
  rig.window->SelectNode("Usable");
  auto* name = rig.Find<QLineEdit>("txtUsable_1");
  Focus(name);
  QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(name, "AB");
  QTest::keyClick(name, Qt::Key_Tab);
  EXPECT_EQ(name->text(), "  AB");
  EXPECT_EQ(stores, 1);
  rig.window->SelectNode("Common");  // runs the check again
  EXPECT_EQ(stores, 1);
}

TEST(AccessibleActions, DirectoryDeleteAsksOnceWhateverTheHandAndNoKeepsTheEntry) {
  int stores = 0;
  WindowRig rig(kModel, 1);
  rig.session.Edit(record_area::Directories, [](SettingsRecord& rec) {
    for (std::size_t k = 0; k < 3; ++k) {
      const std::string n = std::to_string(k + 1);
      rec.CHMMSID[k] = {true, "S" + n, "36600000" + n + "0"};
    }
  });
  const std::vector<DirectoryEntry> three = rig.session.record.CHMMSID;
  rig.session.Observe([&](const RecordChange& change) { stores += change.byUser ? 1 : 0; });
  for (const Hand hand : {Hand::Accessible, Hand::Mouse}) {
    SCOPED_TRACE(NameOf(hand));
    rig.session.ForgetEdits();
    rig.window->SelectNode("SM2");
    auto* remove = rig.Find<QCheckBox>("chkGDelete");
    ASSERT_TRUE(remove && remove->isEnabled());

    rig.ui.shown.clear();
    stores = 0;
    rig.ui.answers = {Answer::No};
    Toggle(remove, hand);
    ASSERT_EQ(rig.ui.Texts(), std::vector<std::string>{"Are you sure ?"});
    EXPECT_EQ(rig.session.record.CHMMSID, three);
    EXPECT_FALSE(rig.session.flags.dirty);
    EXPECT_FALSE(remove->isChecked()) << "No unchecks the box again";

    rig.ui.answers = {Answer::Yes};
    Toggle(remove, hand);
    EXPECT_EQ(rig.ui.shown.size(), 2u) << "asked once per action";
    EXPECT_EQ(rig.session.record.CHMMSID[1], three[2]);
    EXPECT_FALSE(rig.session.record.CHMMSID[2].InUse);
    EXPECT_TRUE(rig.session.flags.dirty);
    EXPECT_EQ(rig.Find<QLineEdit>("txtGPosi")->text(), "S3") << "the page shows the entry that moved up";
    EXPECT_NE(Node(rig, "Memory ID3"), nullptr) << "the tree follows the record";
    rig.window->SelectNode("General");
    EXPECT_EQ(stores, 1) << "the entry drawn into the boxes is no edit";

    ASSERT_TRUE(rig.session.Undo());
    EXPECT_EQ(rig.session.record.CHMMSID, three);
    EXPECT_FALSE(rig.session.history.CanUndo());
  }
}

}  // namespace
}  // namespace qm47::testing
