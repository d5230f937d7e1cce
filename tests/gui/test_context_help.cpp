// F1 on a control opens the help section of its context number; every control that
// carries one has its section in the help that ships with the program.
#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>

#include "window_rig.h"

namespace qm47::testing {
namespace {

constexpr const char* kModel = "[model1]\nuse=1\natis=1\nscrambler=1\n";

class HelpViewer : public QObject {
  Q_OBJECT

 public slots:
  void Show(const QUrl& url) { shown << url; }

 public:
  QList<QUrl> shown;
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

TEST(ContextHelp, F1OpensTheControlsSectionOrTheContentsAndEverySectionExists) {
  WindowRig rig(kModel, 1);
  CopyHelp(rig);
  HelpViewer viewer;
  QDesktopServices::setUrlHandler("file", &viewer, "Show");
  rig.session.Edit(record_area::All, [](SettingsRecord& rec) { rec.UsableGroup[kEXP].Usable = true; });

  int sections = 0;
  for (const char* node : {"PU26", "E1", "PW", "SM1", "SG1"}) {
    rig.window->SelectNode(node);
    for (QWidget* control : rig.window->findChildren<QWidget*>()) {
      const int context = control->property("helpContext").toInt();
      if (!context || !control->isVisible()) continue;
      viewer.shown.clear();
      PressF1On(rig, control);
      ASSERT_EQ(viewer.shown.size(), 1) << node << " " << control->objectName().toStdString();
      const QUrl url = viewer.shown.front();
      QFile page(url.toLocalFile());
      ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << url.toString().toStdString();
      EXPECT_EQ(url.fragment(), QString("c%1").arg(context));
      EXPECT_TRUE(page.readAll().contains(QString("id=\"c%1\"").arg(context).toUtf8()))
          << url.toString().toStdString() << " has no section for " << control->objectName().toStdString();
      ++sections;
    }
  }
  EXPECT_GE(sections, 20) << "the channel, weather and directory controls carry context numbers";

  // Without a number of its own (the tree), F1 is Help > Contents.
  viewer.shown.clear();
  PressF1On(rig, rig.Tree());
  ASSERT_EQ(viewer.shown.size(), 1);
  EXPECT_TRUE(viewer.shown.front().toLocalFile().endsWith("help/1001.html"));
  EXPECT_TRUE(rig.ui.shown.empty());
  QDesktopServices::unsetUrlHandler("file");
}

}  // namespace
}  // namespace qm47::testing

#include "test_context_help.moc"
