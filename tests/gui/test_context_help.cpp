// F1 on a control opens the help section of its context number in the program's own help
// window; every control that carries one has its section in the help that ships with the
// program, and no desktop browser is asked.
#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QDesktopServices>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>

#include "gui/help_window.h"
#include "window_rig.h"

namespace qm47::testing {
namespace {

constexpr const char* kModel = "[model1]\nuse=1\natis=1\nscrambler=1\n";

// Stands where a desktop browser would be started.
class DesktopBrowser : public QObject {
  Q_OBJECT

 public slots:
  void Show(const QUrl& url) { asked << url; }

 public:
  QList<QUrl> asked;
};

// The rig's data folder with the help the build installs beside the programs.
void CopyHelp(const WindowRig& rig) {
  std::filesystem::copy(std::filesystem::path(QM47_BUILT_BIN_DIR) / "help", rig.dir.path() / "help",
                        std::filesystem::copy_options::recursive);
}

void PressF1On(WindowRig& rig, QWidget* control) {
  QApplication::setActiveWindow(rig.window.get());
  control->setFocus(Qt::TabFocusReason);
  QTest::keyClick(control, Qt::Key_F1);
}

// Where the section `anchor` starts in the shown page; -1 when the page has no such section.
int SectionTop(const QTextBrowser& browser, const QString& anchor) {
  for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      if (it.fragment().charFormat().anchorNames().contains(anchor)) {
        return static_cast<int>(browser.document()->documentLayout()->blockBoundingRect(block).top());
      }
    }
  }
  return -1;
}

TEST(ContextHelp, F1OpensTheControlsSectionOrTheContentsInTheProgramsOwnWindow) {
  WindowRig rig(kModel, 1);
  CopyHelp(rig);
  DesktopBrowser desktop;
  QDesktopServices::setUrlHandler("file", &desktop, "Show");
  rig.session.Edit(record_area::All, [](SettingsRecord& rec) { rec.UsableGroup[kEXP].Usable = true; });

  int sections = 0;
  HelpWindow* help = nullptr;
  for (const char* node : {"PU26", "E1", "PW", "SM1", "SG1"}) {
    rig.window->SelectNode(node);
    for (QWidget* control : rig.window->findChildren<QWidget*>()) {
      const int context = control->property("helpContext").toInt();
      if (!context || !control->isVisible()) continue;
      PressF1On(rig, control);
      QApplication::processEvents();  // as the window is laid out and drawn
      help = rig.window->findChild<HelpWindow*>("frmHelp");
      ASSERT_TRUE(help && help->isVisible()) << node << " " << control->objectName().toStdString();
      const QUrl shown = help->browser().source();
      const QString anchor = QString("c%1").arg(context);
      EXPECT_EQ(shown.fragment(), anchor);
      const int top = SectionTop(help->browser(), anchor);
      ASSERT_GE(top, 0) << shown.toString().toStdString() << " has no section for "
                        << control->objectName().toStdString();
      // The section is at the top of the view, or the page ends before it could be.
      const QScrollBar& scroll = *help->browser().verticalScrollBar();
      EXPECT_EQ(scroll.value(), std::min(top, scroll.maximum())) << anchor.toStdString();
      ++sections;
    }
  }
  EXPECT_GE(sections, 20) << "the channel, weather and directory controls carry context numbers";

  // Without a number of its own (the tree), F1 is Help > Contents; Back returns to the
  // section before it and Forward to the contents again.
  PressF1On(rig, rig.Tree());
  EXPECT_TRUE(help->browser().source().toLocalFile().endsWith("help/1001.html"));
  EXPECT_FALSE(help->windowTitle().isEmpty());
  help->findChild<QAction*>("cmdBack")->trigger();
  EXPECT_TRUE(help->browser().source().toLocalFile().endsWith("help/directory.html"));
  ASSERT_TRUE(help->findChild<QAction*>("cmdForward")->isEnabled());
  help->findChild<QAction*>("cmdForward")->trigger();
  EXPECT_TRUE(help->browser().source().toLocalFile().endsWith("help/1001.html"));

  EXPECT_TRUE(desktop.asked.isEmpty()) << desktop.asked.front().toString().toStdString();
  EXPECT_TRUE(rig.ui.shown.empty());
  QDesktopServices::unsetUrlHandler("file");
}

}  // namespace
}  // namespace qm47::testing

#include "test_context_help.moc"
