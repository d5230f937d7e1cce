// The report as a user gets it: the text image in its own window and saved from there,
// and the printed pages as a PDF document read back by a PDF text extractor.
#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

#include "editor/documents/report_file.h"
#include "gui/report_printing.h"
#include "gui/report_window.h"
#include "golden.h"
#include "window_rig.h"

namespace qm47::testing {
namespace {

constexpr const char* kCatalogue = "[model1]\nuse=1\natis=1\n[model3]\nuse=1\natis=0\n";

ReportWindow* OpenReportWindow(WindowRig& rig) {
  rig.window->findChild<QAction*>("mnuFilePrintToFile")->trigger();
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* report = qobject_cast<ReportWindow*>(w); report && report->isVisible()) return report;
  }
  return nullptr;
}

TEST(ReportWindow, ShowsTheWaitTextThenTheReportOfTheRecordAndSavesIt) {
  WindowRig rig(kCatalogue, 1);
  rig.session.Edit(record_area::Channels, [](SettingsRecord& r) { r.CHUSA[32].ChTag = "HARBOUR"; });
  ReportWindow* report = OpenReportWindow(rig);
  ASSERT_NE(report, nullptr);
  auto* text = report->findChild<QPlainTextEdit*>("txtReport");
  EXPECT_EQ(text->toPlainText(), "Now, making text image. Please wait...");
  EXPECT_TRUE(text->isReadOnly());

  // A fresh model 1 with USA channel 16 renamed: the golden with that one name changed.
  std::string expected = GoldenText("fresh_model1.txt");
  ASSERT_NE(expected.find("DISTRESS    "), std::string::npos);
  expected.replace(expected.find("DISTRESS    "), 12, "HARBOUR     ");
  ASSERT_TRUE(QTest::qWaitFor([&] { return report->textMade(); }, 2000));
  EXPECT_EQ(text->toPlainText().toStdString(), QString::fromStdString(expected).replace("\r\n", "\n").toStdString());

  rig.ui.files = {rig.dir / "boat.txt"};
  report->findChild<QAction*>("mnuReportFileSave")->trigger();
  ASSERT_EQ(rig.ui.fileChoices.size(), 1u);
  EXPECT_EQ(rig.ui.fileChoices[0].filter, "Text files(*.txt)|*.txt|All files(*.*)|*.*");
  EXPECT_EQ(rig.dir.Read("boat.txt"), expected + "\r\n");

  report->findChild<QAction*>("mnuReportFileExit")->trigger();
  QTest::qWait(0);
  EXPECT_NE(OpenReportWindow(rig), nullptr) << "a new window each time";
}

// pdftotext (poppler-utils) -layout, or "" with `why` set when it cannot run.
std::string PdfText(const std::string& pdf, std::string& why) {
  const QString tool = QStandardPaths::findExecutable("pdftotext");
  if (tool.isEmpty()) {
    why = "pdftotext is not installed (poppler-utils; scripts/install-deps.sh installs it)";
    return "";
  }
  QProcess p;
  p.start(tool, {"-layout", QString::fromStdString(pdf), "-"});
  if (!p.waitForFinished(20000) || p.exitCode() != 0) {
    why = "pdftotext failed: " + p.readAllStandardError().toStdString();
    return "";
  }
  return p.readAllStandardOutput().toStdString();
}

TEST(PrintedReport, APdfOfAFreshModelHoldsThePagesInOrderWithTheirHeadings) {
  struct Case {
    int model;
    bool atis;
  };
  for (const Case c : {Case{1, true}, Case{3, false}}) {
    WindowRig rig(kCatalogue, c.model);
    const std::vector<PrintPage> pages = MakePrintedReport(rig.session);
    const std::string path = rig.dir / "report.pdf";
    const QByteArray pdf = ReportPdf(pages);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    rig.dir.Write("report.pdf", pdf.toStdString());
    std::string why;
    const std::string text = PdfText(path, why);
    if (!why.empty()) GTEST_SKIP() << why;

    const std::string header = rig.session.model.name + " Tidecraft";
    const std::vector<std::string> headings = {
        "##### Usable CH Group Setup #####",         "Status name",
        "[Indivisual Call]",                         "##### Programable USA Channel #####",
        "##### Programable International Channel #####", "##### Programable Canada Channel #####",
        "##### Programable WX Channel #####",        "##### Memory ID #####",
        "##### Group ID #####",                      "##### Programable EXP Channel #####"};
    std::size_t at = 0;
    for (const std::string& h : headings) {
      const auto found = text.find(h, at);
      ASSERT_NE(found, std::string::npos) << h << " (model " << c.model << ") in order, in:\n" << text.substr(at, 400);
      at = found;
    }
    EXPECT_EQ(text.find("##### ATIS Setup (Common) #####") != std::string::npos, c.atis) << c.model;
    EXPECT_EQ(text.find("Programable Wx Channel"), std::string::npos) << "the text image's spelling";

    // Every sheet starts with the header and ends with a page break.
    const auto sheets = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\f'));
    EXPECT_GE(sheets, pages.size()) << c.model;
    std::size_t headers = 0;
    for (auto p = text.find(header); p != std::string::npos; p = text.find(header, p + 1)) ++headers;
    EXPECT_EQ(headers, sheets) << c.model;
  }
}

}  // namespace
}  // namespace qm47::testing
