#include "gui/screenshots.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QTabWidget>
#include <QPrintPreviewWidget>
#include <QPushButton>

#include "editor/lists/csv_commands.h"
#include "editor/session/main_commands.h"
#include "gui/about_box.h"
#include "gui/port_device_dialog.h"
#include "gui/qt_user_interface.h"
#include "editor/documents/report_file.h"
#include "editor/radio/transfer.h"
#include "gui/radio_dialog.h"
#include "gui/report_printing.h"
#include "gui/report_window.h"
#include "gui/review_dialog.h"
#include "link/transfers.h"
#include "platform/event_loop_wait.h"
#include "platform/qt_serial_line.h"
#include "platform/serial_ports.h"

namespace qm47 {

namespace {

class Camera {
 public:
  explicit Camera(QString folder) : folder_(std::move(folder)) {}

  void Take(QWidget& widget, const QString& name) {
    WaitProcessingEvents(50);
    TakeNow(widget, name);
  }

  // Before any timer of the widget has run.
  void TakeNow(QWidget& widget, const QString& name) {
    ok_ = widget.grab().save(QDir(folder_).filePath(name + ".png")) && ok_;
  }

  // A submenu, opened on its own.
  void TakeSubmenu(QMenu* menu, const QString& name) {
    if (!menu) return;
    menu->popup({0, 0});
    Take(*menu, name);
    menu->hide();
  }

  // A menu of the bar, opened under its title.
  void TakeMenu(QMainWindow& window, QMenu* menu, const QString& name) {
    if (!menu || !menu->menuAction()->isVisible()) return;
    const QRect title = window.menuBar()->actionGeometry(menu->menuAction());
    menu->popup(window.menuBar()->mapToGlobal(title.bottomLeft()));
    Take(*menu, name);
    menu->hide();
  }

  bool ok() const { return ok_; }

 private:
  QString folder_;
  bool ok_ = true;
};

// The channel pages: a plan list and channel, the expansion list and a channel, weather.
// Last, since they fill one expansion channel in for the pictures.
void TakeChannelPages(MainWindow& window, Session& s, Camera& camera) {
  s.Edit(record_area::All, [](SettingsRecord& rec) {
    rec.UsableGroup[kEXP].Usable = true;
    Channel& ch = rec.CHEXP[0];
    ch.Enable = ch.TxEnable = ch.LowPower = ch.ScanMemory = true;
    ch.CHDisplayL = "E1";
    ch.Rxfreq = 157.025;
    ch.Txfreq = 161.625;
    ch.ChTag = "WORKBOAT";
  });
  for (const auto& [key, name] : {std::pair{"PU", "page-channels-usa"}, std::pair{"PU26", "page-channel-plan"},
                                  std::pair{"ExpChannel", "page-channels-expansion"},
                                  std::pair{"E1", "page-channel-expansion"}, std::pair{"PW", "page-weather"}}) {
    window.SelectNode(key);
    camera.Take(window, name);
  }
}

// Each settings page with each of its tabs, both directories and an entry of each, in a
// window of a common size: at the smallest size the pages scroll in one column.
void TakeSettingsPages(MainWindow& window, Camera& camera) {
  const QSize opened = window.size();
  window.resize(960, 600);
  const struct {
    const char* key;
    const char* page;
    const char* name;
  } pages[] = {{"Usable", "picUsable", "page-usable"}, {"Common", "picCommon", "page-common"},
               {"DSC", "picDsc", "page-dsc"},          {"ATIS", "picAtis", "page-atis"},
               {"SM", "picDirectoryList", "page-directory-individual"},
               {"SG", "picDirectoryList", "page-directory-group"},
               {"SM1", "picDirectoryEntry", "page-directory-entry-individual"},
               {"SG1", "picDirectoryEntry", "page-directory-entry-group"}};
  for (const auto& p : pages) {
    window.SelectNode(p.key);
    const auto* page = window.findChild<QWidget*>(p.page);
    if (!page || !page->isVisible()) continue;  // no such node for this model
    auto* tabs = page->findChild<QTabWidget*>();
    if (!tabs) {
      camera.Take(window, p.name);
      continue;
    }
    for (int i = 0; i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      camera.Take(window, QString("%1-%2").arg(p.name).arg(tabs->tabText(i).remove('&').remove(' ').toLower()));
    }
    tabs->setCurrentIndex(0);
  }
  window.resize(opened);
  window.SelectNode("General");
}

// The transfer dialog before OK for a read and a program transfer, with and without the
// monitor line of debug mode, and a program transfer under way.
void TakeTransferDialogs(Camera& camera, MainWindow& window, Session& s) {
  const int port = window.commands().state().serialPort;
  const std::string device = PortDevice(s.prefs, port);
  QtSerialLine line(device);
  const bool debugMode = s.startup.debugMode;
  for (const bool debug : {false, true}) {
    s.startup.debugMode = debug;
    const QString suffix = debug ? "-debug" : "";
    for (const int mode : {transfer_mode::Read, transfer_mode::Program}) {
      RadioDialog dialog(s, TransferJob{mode}, SerialPortText(port, device), line, nullptr, &window);
      dialog.show();
      camera.Take(dialog, (mode == transfer_mode::Read ? "transfer-read" : "transfer-program") + suffix);
      if (debug && mode == transfer_mode::Program) {
        // As a transfer draws it; OK and Help are off while it runs.
        dialog.userInterface().Monitor("radio writing...");
        dialog.userInterface().Progress(45, 100);
        for (const char* name : {"cmdOK", "cmdHelp"}) dialog.findChild<QPushButton*>(name)->setEnabled(false);
        camera.Take(dialog, "transfer-program-running");
      }
    }
  }
  s.startup.debugMode = debugMode;
}

}  // namespace

bool TakeScreenshots(MainWindow& window, Session& s, const QString& folder) {
  QDir().mkpath(folder);
  Camera camera(folder);
  window.Load();
  window.show();

  window.SelectNode("General");
  camera.Take(window, "main-general");
  window.SelectNode("Program");
  camera.Take(window, "main-blank");

  for (const char* key : {"General", "Program", "PU", "DSCSetting"}) {
    window.SelectNode(key);
    if (QTreeWidgetItem* item = window.tree().currentItem()) item->setExpanded(true);
  }
  window.SelectNode("PU3");
  window.tree().scrollToTop();
  camera.Take(window, "main-tree-expanded");
  window.SelectNode("General");

  TakeSettingsPages(window, camera);

  for (const char* name : {"mnuFile", "mnuEdit", "mnuTransfer", "mnuDestination", "mnuOptions", "mnuHelp"}) {
    camera.TakeMenu(window, window.findChild<QMenu*>(name), QString("menu-") + QString(name).mid(3).toLower());
  }

  camera.TakeSubmenu(window.findChild<QMenu*>("mnuEditModel"), "menu-edit-model");
  camera.TakeSubmenu(window.findChild<QMenu*>("mnuOptionsSerialPort"), "menu-options-serialport");

  if (QAction* hexDump = window.findChild<QAction*>("mnuOptionsHexdump"); hexDump && hexDump->isVisible()) {
    hexDump->trigger();
    camera.Take(window, "main-hexdump");
    hexDump->trigger();
  }

  {
    AboutBox about(s, &window);
    about.show();
    camera.Take(about, "about");
  }
  {
    SerialPortDescription adapter{"ttyUSB0", "/dev/ttyUSB0", "FT232R USB UART", "FTDI", "", 0x0403, 0x6001};
    PortDeviceDialog device(1, "/tmp/radio.pty", {adapter}, &window);
    device.show();
    camera.Take(device, "port-device");
  }
  {
    const auto choice = MakeItemDialog(CsvListChoice("Export List as CSV"), &window);
    choice->show();
    camera.Take(*choice, "choose-list");
  }
  TakeTransferDialogs(camera, window, s);
  {
    ProgramReview changes;
    changes.changes = {{"Common Setup", "Rotary", "0", "1"},
                       {"DSC Setup (Basic Setup)", "User MMSI", "", "3661234560"},
                       {"CHUSA13", "ChTag", "", "BRIDGE"},
                       {"CHUSA13", "ScanMemory", "0", "1"}};
    changes.plan = "Only what differs from the radio as last read is written (3 writes of 273), then the whole "
                   "radio is read back.";
    changes.offersWrittenCheck = true;
    ReviewDialog review(changes, &window);
    review.show();
    camera.Take(review, "program-review");
  }
  {
    ProgramReview erasing;
    erasing.changes = {{"DSC Setup (Basic Setup)", "User MMSI", "3661234560", ""}};
    erasing.warning = "The radio's own MMSI 366123456 will be erased: the settings to program hold none.";
    erasing.plan = "Every setting is written (273 writes), then every block is read back to check it.";
    ReviewDialog review(erasing, &window);
    review.show();
    camera.Take(review, "program-review-mmsi-erased");
  }
  {
    auto* report = new ReportWindow(s, &window);
    report->show();
    camera.TakeNow(*report, "report-making-text");
    while (!report->textMade()) WaitProcessingEvents(20);
    camera.Take(*report, "report-window");
    report->close();
  }
  {
    ReportPreview preview(MakePrintedReport(s), &window);
    preview.dialog.resize(900, 760);
    preview.dialog.show();
    camera.Take(preview.dialog, "print-preview");
    // The first channel page follows the general settings' sheets.
    PrintGeometry paper;
    paper.pageHeightMm = preview.printer.pageLayout().fullRect(QPageLayout::Millimeter).height();
    const auto general = LayOutSheets({preview.pages.front()}, paper).size();
    if (auto* pages = preview.dialog.findChild<QPrintPreviewWidget*>()) {
      pages->setCurrentPage(static_cast<int>(general) + 1);
      camera.Take(preview.dialog, "print-preview-channels");
    }
  }
  {
    const auto box = MakeMessageBox({kSaveChangesQuestion, s.model.title, Icon::Exclamation, Buttons::YesNoCancel,
                                     DefaultButton::First, {}},
                                    &window);
    box->show();
    camera.Take(*box, "question-save-changes");
  }
  TakeChannelPages(window, s, camera);
  return camera.ok();
}

}  // namespace qm47
