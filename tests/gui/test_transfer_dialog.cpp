// The transfer dialog as the window opens it, against the virtual radio on a virtual
// clock: the user presses OK, Cancel or the close box and reads the messages.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <algorithm>

#include "gui/radio_dialog.h"
#include "link/transfers.h"
#include "virtual_radio.h"
#include "window_rig.h"

namespace qm47::testing {
namespace {

constexpr const char* kCatalogue = "[model1]\nuse=1\natis=1\n";

struct RadioRig : WindowRig {
  explicit RadioRig(bool debug = false) : WindowRig(kCatalogue, 1, debug), radio(1) {
    window->UseTransferLine({[this](const std::string& device) {
                               devices.push_back(device);
                               return std::make_unique<ForwardingSerialLine>(radio.pipe);
                             },
                             &radio.clock});
  }

  // Triggers `action`; `user` acts in the dialog it opens, which must be closed by the end.
  void WithDialog(const char* action, const std::function<void(RadioDialog&)>& user) {
    bool met = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<RadioDialog*>(QApplication::activeModalWidget());
      if (!dialog) {
        // Fail now: whatever else is modal would otherwise wait for the test's time-out.
        ADD_FAILURE() << "no transfer dialog is open";
        if (QWidget* other = QApplication::activeModalWidget()) other->close();
        return;
      }
      met = true;
      user(*dialog);
      if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog is still open";
        dialog->done(QDialog::Rejected);
      }
    });
    window->findChild<QAction*>(action)->trigger();
    EXPECT_TRUE(met) << "no dialog opened";
  }

  static QPushButton* ButtonOf(RadioDialog& d, const char* name) { return d.findChild<QPushButton*>(name); }

  VirtualRadio radio;
  std::vector<std::string> devices;
};

TEST(TransferDialogWindow, ASuccessfulReadClosesTheDialogAndRefreshesTheWindow) {
  RadioRig rig;
  rig.session.currentFileName = (rig.dir.path() / "boat.dat").string();
  rig.session.Edit(record_area::Channels, [](SettingsRecord& r) { r.CHUSA[32].ChTag = "EDITED"; });
  rig.window->SelectNode("Program");

  rig.ui.answers = {Answer::No};  // the edits may go
  rig.WithDialog("mnuTransferRead", [](RadioDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Read from Radio");
    RadioRig::ButtonOf(d, "cmdOK")->click();
    EXPECT_FALSE(d.isVisible());
  });
  // What a read takes over is the link's test, and what it forgets the commands'.
  EXPECT_EQ(rig.ui.Texts(), (std::vector<std::string>{kSaveChangesQuestion, "Complete!!"}));
  EXPECT_NE(rig.session.record.CHUSA[32].ChTag, "EDITED");
  EXPECT_EQ(rig.window->windowTitle(), "QM47  PC Program for TK4100A[*]");
  EXPECT_FALSE(rig.window->isWindowModified());
  EXPECT_EQ(rig.Find<QStackedWidget>("pages")->currentWidget(), rig.Find<QWidget>("picGeneral"));
  EXPECT_EQ(rig.devices, std::vector<std::string>{"/dev/ttyUSB0"}) << "COM1 as the preferences map it";
  EXPECT_FALSE(rig.radio.pipe.IsOpen());
}

TEST(TransferDialogWindow, AFailedBlockKeepsTheDialogOpenAndRadioNotReadyClosesIt) {
  RadioRig rig;
  rig.session.Edit(record_area::Channels, [](SettingsRecord& r) { r.CHUSA[32].ChTag = "EDITED"; });
  rig.radio.radio.SetFaults({.corruptAtData = 10});
  rig.ui.answers = {Answer::No};  // the edits may go, but only for settings read whole
  rig.WithDialog("mnuTransferRead", [&](RadioDialog& d) {
    RadioRig::ButtonOf(d, "cmdOK")->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(RadioRig::ButtonOf(d, "cmdOK")->isEnabled());
    EXPECT_TRUE(RadioRig::ButtonOf(d, "cmdHelp")->isEnabled());
    RadioRig::ButtonOf(d, "cmdCancel")->click();
  });
  EXPECT_EQ(rig.ui.Texts(),
            (std::vector<std::string>{kSaveChangesQuestion, "Communication Error!!", "The radio is unchanged."}));

  // A busy radio, and the user gives up: the status check fails and the dialog closes.
  rig.ui.shown.clear();
  // Busy at its second status answer: the first went to the read above.
  rig.radio.radio.SetFaults({.busyCount = 2});
  rig.ui.answers = {Answer::No, Answer::Cancel};
  rig.WithDialog("mnuTransferProgram", [&](RadioDialog& d) {
    RadioRig::ButtonOf(d, "cmdOK")->click();
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(rig.ui.Texts(), (std::vector<std::string>{kBackUpFirstQuestion, "Radio is busy!!", "Radio not ready!!",
                                                       "The radio is unchanged."}));
  EXPECT_EQ(rig.ui.shown[2].caption, "Program to Radio");
  EXPECT_EQ(rig.radio.radio.writeCount(), 0);
}

TEST(TransferDialogWindow, CancelDuringATransferOnlyCancelsItAndTheCloseBoxIsRefused) {
  RadioRig rig;
  int turns = 0;
  bool closedWhileRunning = false;
  bool buttonsOffWhileRunning = true;
  rig.WithDialog("mnuTransferRead", [&](RadioDialog& d) {
    rig.ui.onEvents = [&] {
      if (++turns != 300) return;
      buttonsOffWhileRunning = !RadioRig::ButtonOf(d, "cmdOK")->isEnabled() &&
                               !RadioRig::ButtonOf(d, "cmdHelp")->isEnabled();
      d.close();
      closedWhileRunning = !d.isVisible();
      RadioRig::ButtonOf(d, "cmdCancel")->click();
    };
    RadioRig::ButtonOf(d, "cmdOK")->click();
    rig.ui.onEvents = nullptr;
    // The cancel ended a block transaction: the dialog stays for another attempt.
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(RadioRig::ButtonOf(d, "cmdOK")->isEnabled());
    RadioRig::ButtonOf(d, "cmdCancel")->click();
  });
  EXPECT_GE(turns, 300);
  EXPECT_TRUE(buttonsOffWhileRunning);
  EXPECT_FALSE(closedWhileRunning);
  // A block-level "cancel!!" may come; the dialog then says the radio is unchanged.
  ASSERT_FALSE(rig.ui.shown.empty());
  EXPECT_EQ(rig.ui.shown.back().text, "The radio is unchanged.");
  for (std::size_t i = 0; i + 1 < rig.ui.shown.size(); ++i) EXPECT_EQ(rig.ui.shown[i].text, "cancel!!");
  const auto& lines = rig.radio.radio.toolLines();
  const auto reads = std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("#CEPRD", 0) == 0; });
  EXPECT_GT(reads, 2) << "the read was under way";
  EXPECT_LT(reads, 2 + 256);
}

TEST(TransferDialogWindow, CaptionPicturesAndMonitorFollowModeAndDebugMode) {
  struct Case {
    int mode;
    bool debug;
    QString caption;
    bool radioLeft;
  };
  for (const Case& c : {Case{transfer_mode::Read, false, "Read from Radio", true},
                        Case{transfer_mode::ClearDistressLog, true, "Clear Distress Log Data", false},
                        Case{9, false, "", false}}) {
    RadioRig rig(c.debug);
    RadioDialog d(rig.session, TransferJob{c.mode}, "COM1 (/dev/ttyVIRTUAL)", rig.radio.pipe, &rig.radio.clock, rig.window.get());
    d.show();
    EXPECT_EQ(d.windowTitle(), c.caption) << c.mode;
    const int radioX = d.findChild<QWidget*>("pictA")->x();
    const int pcX = d.findChild<QWidget*>("pictB")->x();
    EXPECT_EQ(radioX < pcX, c.radioLeft) << c.mode;
    EXPECT_EQ(d.findChild<QLabel*>("lblPort")->text(), "Serial port: COM1 (/dev/ttyVIRTUAL)");
    auto* monitor = d.findChild<QLabel*>("lblmon");
    EXPECT_EQ(monitor->isVisible(), c.debug) << c.mode;
    EXPECT_EQ(monitor->text(), c.debug ? "starting at debug mode.." : "") << c.mode;

    // The bar slides in from the left: outside the frame at 0, filling it at 100 and above.
    const QRect inside = d.findChild<QFrame*>("pictProgress")->contentsRect();
    auto* bar = d.findChild<QWidget*>("lblPercent");
    EXPECT_LE(bar->geometry().right(), inside.left()) << "empty after loading";
    d.userInterface().Progress(150, 100);
    EXPECT_EQ(bar->geometry(), inside);
    d.userInterface().Progress(50, 100);
    EXPECT_NEAR(bar->geometry().right(), inside.center().x(), 1);
  }
}

// Help opens topic 1012 in the program's own window, which takes input while the dialog is modal.
TEST(TransferDialogWindow, HelpOpensItsTopicInTheProgramsOwnWindow) {
  RadioRig rig;
  ASSERT_EQ(rig.session.dataFolder, rig.dir.path().string());
  rig.dir.Write("help/1012.html", "<html><body><h1>Talking to the radio</h1></body></html>");
  RadioDialog d(rig.session, TransferJob{transfer_mode::Read}, "COM1 (/dev/ttyVIRTUAL)", rig.radio.pipe,
                &rig.radio.clock, rig.window.get());
  d.show();
  RadioRig::ButtonOf(d, "cmdHelp")->click();
  auto* browser = d.findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->isVisible());
  EXPECT_TRUE(browser->source().toLocalFile().endsWith("help/1012.html")) << browser->source().toString().toStdString();
  EXPECT_TRUE(browser->toPlainText().contains("Talking to the radio"));
  EXPECT_TRUE(rig.ui.shown.empty());
}

}  // namespace
}  // namespace qm47::testing
