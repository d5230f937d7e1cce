#include <gtest/gtest.h>

#include <filesystem>

#include "editor/documents/image_file.h"
#include "editor/documents/report_file.h"
#include "editor/documents/settings_file.h"
#include "files/dat_writer.h"
#include "session_fixture.h"

using namespace qm47;
using namespace qm47::testing;

TEST(SettingsFile, SaveThenOpenGivesTheSameSettingsAndNamesTheFile) {
  SessionFixture f(1);
  Session& s = f.session;
  s.record.CHUSA[32].ChTag = "  MAYDAY";
  // Plain texts lose their spaces when read: fresh call signs are blank, so fill them.
  for (AtisCallSignEntry& cs : s.record.AtisCallSign) cs = {"316", "CAN"};
  s.flags.dirty = true;
  const SettingsRecord edited = s.record;
  const std::string path = f.dir / "boat.dat";

  ASSERT_TRUE(SaveSettingsFile(s, path));
  EXPECT_EQ(s.currentFileName, path);
  EXPECT_TRUE(s.flags.dirty);  // saving leaves the dirty flag as it was
  EXPECT_FALSE(s.UnsavedChanges()) << "but the settings are on file";
  const auto turnRotary = [](SettingsRecord& r) { r.CommonSetup.Rotary = !r.CommonSetup.Rotary; };
  s.Edit(record_area::Common, turnRotary);
  EXPECT_TRUE(s.UnsavedChanges());
  s.Edit(record_area::Common, turnRotary);
  ASSERT_TRUE(SaveSettingsFile(s, path));
  EXPECT_FALSE(s.EditsHeld());

  NewImageSetup(s);
  ASSERT_NE(s.record, edited);
  ASSERT_TRUE(OpenSettingsFile(s, path));
  EXPECT_EQ(s.record, edited);
  EXPECT_EQ(s.currentFileName, path);
  EXPECT_FALSE(s.EditsHeld());
  EXPECT_TRUE(f.ui.shown.empty());
  EXPECT_EQ(f.ui.pausedMs, 1500);  // the pause after each file operation: two saves, one open
}

TEST(SettingsFile, AControlChangedWhileAFileIsReadOrWrittenEditsNothing) {
  SessionFixture f(1);
  Session& s = f.session;
  int held = 0;
  f.ui.onPause = [&] {
    held += !s.Edit(record_area::Common, [](SettingsRecord& r) { r.CommonSetup.ResumeTime = 3; });
  };
  ASSERT_TRUE(SaveSettingsFile(s, f.dir / "boat.dat"));
  ASSERT_TRUE(OpenSettingsFile(s, f.dir / "boat.dat"));
  ASSERT_TRUE(SaveImageFile(s, f.dir / "boat.hex"));
  ASSERT_TRUE(OpenImageFile(s, f.dir / "boat.hex"));
  EXPECT_EQ(held, 4);
  EXPECT_TRUE(s.Edit(record_area::Common, [](SettingsRecord& r) { r.CommonSetup.ResumeTime = 3; }));
}

TEST(SettingsFile, FileOfAnotherModelOrNoFileIsRefused) {
  SessionFixture other(2);
  const std::string path = other.dir / "model2.dat";
  ASSERT_TRUE(SaveFileAs(other.session, path));
  const std::string text = other.dir.Read("model2.dat");

  SessionFixture f(1);
  Session& s = f.session;
  f.dir.Write("model2.dat", text);
  s.currentFileName = "old.dat";
  const SettingsRecord before = s.record;
  for (const std::string& name : {std::string("model2.dat"), std::string("missing.dat")}) {
    f.ui.shown.clear();
    EXPECT_FALSE(OpenSettingsFile(s, f.dir / name));
    ASSERT_EQ(f.ui.Texts(), std::vector<std::string>{"different model!!"}) << name;
    EXPECT_EQ(f.ui.shown[0].icon, Icon::Critical);
    EXPECT_EQ(f.ui.shown[0].caption, "PC Program for TK4100A");
    EXPECT_EQ(s.record, before);
    EXPECT_EQ(s.currentFileName, "old.dat");
  }
  EXPECT_FALSE(std::filesystem::exists(f.dir / "err.log"));  // a refusal is no fault
}

TEST(SettingsFile, FailedSaveReportsFileSaveErrorAndKeepsTheName) {
  SessionFixture f(3);
  Session& s = f.session;
  s.currentFileName = "kept.dat";
  EXPECT_FALSE(SaveSettingsFile(s, f.dir / "no-such-folder/boat.dat"));
  ASSERT_EQ(f.ui.Texts(), std::vector<std::string>{"FileSave Error!!"});
  EXPECT_EQ(f.ui.shown[0].icon, Icon::Exclamation);
  EXPECT_EQ(f.ui.shown[0].caption, "PC Program for TK7100C");
  EXPECT_FALSE(s.EditsHeld());
  EXPECT_EQ(s.currentFileName, "kept.dat");
  EXPECT_NE(f.dir.Read("err.log").find("frmMain.SaveFileAs -> 53File not found\r\n"), std::string::npos);
}

TEST(SettingsFile, UnreadableFileReportsFileReadError) {
  SessionFixture f(1);
  Session& s = f.session;
  std::filesystem::create_directory(f.dir / "folder.dat");
  const SettingsRecord before = s.record;
  EXPECT_FALSE(OpenSettingsFile(s, f.dir / "folder.dat"));
  ASSERT_EQ(f.ui.Texts(), std::vector<std::string>{"FileRead Error!!"});
  EXPECT_EQ(f.ui.shown[0].icon, Icon::Exclamation);
  EXPECT_EQ(s.record, before);
  EXPECT_NE(f.dir.Read("err.log").find("frmMain.FileRead2 -> "), std::string::npos);

  // Far larger than any settings file: refused the same way, without reading it all.
  f.ui.shown.clear();
  f.dir.Write("huge.dat", "[MAIN]\r\nMODELTYPE=1\r\n" + std::string(5u << 20, ' '));
  EXPECT_FALSE(OpenSettingsFile(s, f.dir / "huge.dat"));
  EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{"FileRead Error!!"});
}

TEST(SettingsFile, AnOpenedImageSavesAsSettingsTextAndTheImageStaysAsItWas) {
  SessionFixture f(1);
  Session& s = f.session;
  f.dir.Write("radio.hex", f.Image(1));
  ASSERT_TRUE(OpenImageFile(s, f.dir / "radio.hex"));
  EXPECT_TRUE(s.currentFileIsImage);
  ASSERT_TRUE(SaveSettingsFile(s, f.dir / "radio.dat"));
  EXPECT_EQ(f.dir.Read("radio.dat"), DatFileText(s.record, s.model));
  EXPECT_EQ(f.dir.Read("radio.hex"), f.Image(1));
  EXPECT_FALSE(s.currentFileIsImage) << "the settings file is the current file now";
}

TEST(ReportFile, SavedReportIsTheTextImageAndCrLf) {
  SessionFixture f(4);
  Session& s = f.session;
  const std::string text = MakeReportText(s);
  ASSERT_TRUE(SaveReportFile(s, f.dir / "report.txt", text));
  EXPECT_EQ(f.dir.Read("report.txt"), text + "\r\n");

  EXPECT_FALSE(SaveReportFile(s, f.dir / "missing/report.txt", text));
  ASSERT_EQ(f.ui.Texts(), std::vector<std::string>{"File not found"});
  EXPECT_EQ(f.ui.shown[0].caption, ReportCaption(s.model));
  EXPECT_EQ(f.ui.shown[0].icon, Icon::Exclamation);
}
