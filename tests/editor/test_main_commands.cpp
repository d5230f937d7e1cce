// The main window's commands as a user meets them: the exit question never loses
// edits, file names follow the documented rules, and every change reaches the views.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "editor/session/main_commands.h"
#include "editor/documents/new_image.h"
#include "editor/radio/program_review.h"
#include "editor/documents/settings_file.h"
#include "editor/radio/transfer.h"
#include "link/transfers.h"
#include "model/codec.h"
#include "model/memory_map.h"
#include "session_fixture.h"
#include "virtual_radio.h"

using namespace qm47;
using qm47::testing::SessionFixture;
using qm47::testing::VirtualRadio;

namespace {

struct FakeView : MainWindowView {
  void RebuildTree() override { ++rebuilt; }
  void SelectNode(const std::string& key) override { selected = key; }
  void ShowCurrentPageAgain() override { ++shownAgain; }
  void SetCaption(const std::string& c) override { caption = c; }
  void StartNewTimer() override { ++newTimers; }
  TransferOutcome RunTransferDialog(const TransferJob& job) override {
    modes.push_back(job.mode);
    if (radio) return radio(job);
    if (transfer) transfer();
    TransferOutcome out;
    out.completed = transferSucceeds;
    return out;
  }
  bool OpenFolder(const std::string&) override { return true; }
  ReviewAnswer ReviewChanges(const ProgramReview& review) override {
    reviews.push_back(review.changes);
    plans.push_back(review.plan);
    return {reviewOk, checkWrittenOnly};
  }
  bool PrinterInstalled() const override { return printerInstalled; }
  void PrintReport(const std::vector<PrintPage>& pages) override { printed.push_back(pages.size()); }
  void PreviewReport(const std::vector<PrintPage>& pages) override { previewed.push_back(pages.size()); }
  std::string ReportPdf(const std::vector<PrintPage>& pages) override {
    return "%PDF " + std::to_string(pages.size()) + " pages";
  }
  void OpenReportWindow() override {}
  bool OpenHelp(int) override { return true; }
  void ShowAbout() override {}

  int rebuilt = 0;
  int shownAgain = 0;
  int newTimers = 0;
  std::string selected;
  std::string caption;
  std::vector<int> modes;
  std::function<void()> transfer;
  std::function<TransferOutcome(const TransferJob& job)> radio;  // a whole transfer, OK pressed once
  bool transferSucceeds = true;
  std::vector<std::vector<SettingChange>> reviews;
  bool reviewOk = true;
  bool checkWrittenOnly = false;
  std::vector<std::string> plans;
  bool printerInstalled = true;
  std::vector<std::size_t> printed;
  std::vector<std::size_t> previewed;
};

struct Window : SessionFixture {
  Window() : commands(session, view, [this] { return entryValid; }) { commands.Load(); }
  void Edit() {
    session.Edit(record_area::Channels, [](SettingsRecord& r) { r.CHUSA[32].ChTag = "EDITED"; });
  }
  void ToggleRotary() {
    session.Edit(record_area::Common, [](SettingsRecord& r) { r.CommonSetup.Rotary = !r.CommonSetup.Rotary; });
  }
  std::string SavedFile() const { return (dir / "boat.dat"); }

  FakeView view;
  bool entryValid = true;
  MainCommands commands;
};

// The window on the in-process radio, every read kept in a scratch backups folder.
struct RadioWindow : Window {
  RadioWindow() : radio(1) {
    // A radio this program has written before: reading it and programming it back changes nothing.
    const MemoryImage written = ImageToProgram(session);
    std::copy(written.bytes().begin(), written.bytes().end(), radio.radio.memory().begin());
    radio.radio.SetModelCode(*ModelCode(1));
    session.backupFolder = dir / "backups";
    view.radio = [this](const TransferJob& job) {
      RadioTransfer transfer(session, radio.pipe, radio.clock, job, session.ui);
      transfer.dialog().Ok();
      return transfer.outcome();
    };
  }
  std::string Held() const { return {radio.radio.memory().begin(), radio.radio.memory().end()}; }
  SettingsRecord HeldRecord() const {
    MemoryImage img;
    std::copy(radio.radio.memory().begin(), radio.radio.memory().end(), img.bytes().begin());
    SettingsRecord rec = session.record;  // the channel tables the image has no room for
    DecodeImage(img, rec);
    return rec;
  }
  // The contents of every backup file.
  std::multiset<std::string> Backups() const {
    std::multiset<std::string> out;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(session.backupFolder, ec)) {
      out.insert(dir.Read(std::filesystem::relative(e.path(), dir.path()).string()));
    }
    return out;
  }
  VirtualRadio radio;
};

}  // namespace

TEST(ExitPrompt, AsksOnlyWithEditsAndNeverLosesThemToAFailedOrCancelledSave) {
  Window w;
  EXPECT_TRUE(w.commands.CanClose());
  EXPECT_TRUE(w.ui.shown.empty());

  w.Edit();
  w.ui.answers = {Answer::Cancel};
  EXPECT_FALSE(w.commands.CanClose());
  ASSERT_EQ(w.ui.shown.size(), 1u);
  EXPECT_EQ(w.ui.shown[0].text, "KVX data has changed.\nDo you want to save changes?");
  EXPECT_EQ(w.ui.shown[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(w.ui.shown[0].icon, Icon::Exclamation);
  EXPECT_EQ(w.ui.shown[0].caption, "PC Program for TK4100A");

  // A failed save and No are every command's (below); Yes, then Cancel in the Save As
  // dialog: stay open.
  w.ui.answers = {Answer::Yes};
  EXPECT_FALSE(w.commands.CanClose());
  // Yes with a pending entry that is refused: stay open, nothing asked for.
  w.entryValid = false;
  w.ui.answers = {Answer::Yes};
  EXPECT_FALSE(w.commands.CanClose());
  EXPECT_EQ(w.ui.fileChoices.size(), 1u);
  w.entryValid = true;
  // Yes and a good name: saved, may close.
  w.ui.answers = {Answer::Yes};
  w.ui.files = {w.SavedFile()};
  EXPECT_TRUE(w.commands.CanClose());
  EXPECT_NE(w.dir.Read("boat.dat").find("ChTag=#EDITED"), std::string::npos);
}

TEST(FileCommands, FileNamesAndTheDirtyFlagFollowTheCommands) {
  Window w;
  Session& s = w.session;
  w.ui.files = {w.SavedFile()};
  w.commands.SaveAs();
  EXPECT_EQ(w.view.caption, "QM47  PC Program for TK4100A - boat.dat");
  EXPECT_EQ(w.ui.fileChoices.back().filter, "dat files(*.dat)|*.dat|All files(*.*)|*.*");
  w.ui.files = {w.SavedFile()};
  EXPECT_EQ(w.commands.Open(), Outcome::Done);  // what it does to unsaved edits is below

  // New forgets the file: a later Save asks for a name instead of overwriting boat.dat.
  w.commands.New();
  EXPECT_EQ(w.view.newTimers, 1);
  w.commands.NewTimerFired();
  EXPECT_FALSE(s.flags.dirty);
  EXPECT_EQ(w.view.caption, "QM47  PC Program for TK4100A");
  const std::string before = w.dir.Read("boat.dat");
  w.Edit();
  const auto asked = w.ui.fileChoices.size();
  w.commands.Save();
  EXPECT_EQ(w.ui.fileChoices.size(), asked + 1) << "Save asks for a name";
  EXPECT_EQ(w.dir.Read("boat.dat"), before);

  // A refused pending entry stops every command before it asks anything.
  w.entryValid = false;
  w.commands.Open();
  w.commands.New();
  w.commands.ReadFromRadio();
  EXPECT_EQ(w.ui.fileChoices.size(), asked + 1);
  EXPECT_EQ(w.view.newTimers, 1);
  EXPECT_TRUE(w.view.modes.empty());
}

TEST(UnsavedEdits, EveryCommandThatReplacesTheRecordAsksFirstAndNeverLosesThem) {
  struct Command {
    std::string name;
    std::vector<Answer> ownQuestion;  // the command's own question, asked before ours
    std::string file;                 // what its file dialog chooses
    std::function<void(MainCommands&)> run;
  };
  const std::vector<Command> commands = {
      {"New", {}, "", [](MainCommands& c) { c.New(); }},
      {"Open", {}, "other.dat", [](MainCommands& c) { c.Open(); }},
      {"Open Backup", {}, "radio.hex", [](MainCommands& c) { c.OpenBackup(); }},
      {"Open Image", {}, "radio.hex", [](MainCommands& c) { c.OpenImage(); }},
      {"Read from Radio", {}, "", [](MainCommands& c) { c.ReadFromRadio(); }},
      {"model", {Answer::Ok}, "", [](MainCommands& c) { c.SelectModel(1); }},
      {"destination", {Answer::Ok}, "", [](MainCommands& c) { c.SelectDestination(0); }},
  };
  enum class User { NoEdits, Yes, No, Cancel, SaveFails };
  const std::vector<std::pair<User, std::string>> users = {
      {User::NoEdits, "no edits"}, {User::Yes, "Yes"}, {User::No, "No"}, {User::Cancel, "Cancel"},
      {User::SaveFails, "Yes, save fails"}};

  for (const Command& c : commands) {
    for (const auto& [user, said] : users) {
      const std::string where = c.name + ", " + said;
      Window w;
      Session& s = w.session;
      w.dir.Write("EUR" + DestinationSuffix(s.model) + ".ini", w.Image(1));
      w.dir.Write("radio.hex", w.Image(1));
      w.commands.Load();
      ASSERT_TRUE(SaveSettingsFile(s, w.dir / "other.dat"));
      s.currentFileName.clear();
      s.backupFolder = w.dir.path().string();
      w.view.transfer = [&s] { s.record.CHUSA[32].ChTag = "FROMRADIO"; };
      if (user != User::NoEdits) w.Edit();

      w.ui.answers = {c.ownQuestion.begin(), c.ownQuestion.end()};
      if (user == User::Yes) w.ui.files.push_back(w.SavedFile());
      if (user == User::SaveFails) w.ui.files.push_back(w.dir / "missing/boat.dat");
      w.ui.answers.push_back(user == User::No ? Answer::No : user == User::Cancel ? Answer::Cancel : Answer::Yes);
      if (!c.file.empty()) w.ui.files.push_back(w.dir / c.file);
      w.ui.shown.clear();
      c.run(w.commands);
      if (w.view.newTimers > 0) w.commands.NewTimerFired();

      const auto questions = std::count_if(w.ui.shown.begin(), w.ui.shown.end(), [](const MessageBox& m) {
        return m.text == kSaveChangesQuestion && m.buttons == Buttons::YesNoCancel;
      });
      EXPECT_EQ(questions, user == User::NoEdits ? 0 : 1) << where;
      const bool kept = user == User::Cancel || user == User::SaveFails;
      EXPECT_EQ(s.record.CHUSA[32].ChTag == "EDITED", kept) << where;
      EXPECT_EQ(s.flags.dirty, kept) << where;
      EXPECT_EQ(s.history.CanUndo(), kept) << where << ": a replaced record leaves nothing to undo";
      EXPECT_EQ(w.dir.Read("boat.dat").find("ChTag=#EDITED") != std::string::npos, user == User::Yes) << where;
      // Kept: the command went no further than the question.
      EXPECT_EQ(w.ui.files.size(), kept && !c.file.empty() ? 1u : 0u) << where;
      EXPECT_EQ(w.view.modes.empty(), kept || c.name != "Read from Radio") << where;
      EXPECT_EQ(s.model.number, c.name == "model" && !kept ? 2 : 1) << where;
    }
  }
}

TEST(FileCommands, OpeningAFileThatHadToBeMendedSaysSoOnceAndMarksItChanged) {
  Window w;
  Session& s = w.session;
  w.ui.files = {w.SavedFile()};
  w.commands.SaveAs();
  std::string text = w.dir.Read("boat.dat");
  const auto at = text.find("Resume Time=");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, text.find("\r\n", at) - at, "Resume Time=99");
  w.dir.Write("boat.dat", text);
  s.flags.dirty = false;
  const auto shown = w.ui.shown.size();

  w.ui.files = {w.SavedFile()};
  w.commands.Open();
  ASSERT_EQ(w.ui.shown.size(), shown + 1);
  EXPECT_EQ(w.ui.shown.back().text, kFileChangedMessage);
  EXPECT_NE(w.ui.shown.back().detail.find("[Common Setup] Resume Time: \"99\""), std::string::npos)
      << w.ui.shown.back().detail;
  EXPECT_TRUE(s.flags.dirty);
  EXPECT_NE(s.record.CommonSetup.ResumeTime, 99);
}

TEST(RadioCommands, AReadReplacesTheSettingsAndForgetsTheFile) {
  Window w;
  Session& s = w.session;
  s.currentFileName = w.SavedFile();
  w.Edit();
  w.view.transfer = [&] { s.record.CHUSA[32].ChTag = "FROMRADIO"; };
  w.view.transferSucceeds = false;
  w.ui.answers = {Answer::No, Answer::No};  // the edits may go, twice
  w.commands.ReadFromRadio();
  EXPECT_TRUE(s.flags.dirty) << "a failed read changes no flag";
  EXPECT_EQ(s.currentFileName, w.SavedFile());

  w.view.transferSucceeds = true;
  w.commands.ReadFromRadio();
  EXPECT_EQ(w.view.modes, (std::vector<int>{transfer_mode::Read, transfer_mode::Read}));
  EXPECT_FALSE(s.flags.dirty);
  EXPECT_TRUE(s.currentFileName.empty());
  EXPECT_EQ(w.view.selected, "General");
  EXPECT_EQ(w.view.caption, "QM47  PC Program for TK4100A");
}

TEST(RadioCommands, AClearShowsTheRadiosCountAfterwardsAndMarksTheSettingsEdited) {
  RadioWindow w;
  Session& s = w.session;
  VirtualRadio& radio = w.radio;
  s.image.SetByte(addr::UserMmsiCount, 7);
  s.flags.dirty = false;
  const ClearOutcome cleared = w.commands.ClearRadio(transfer_mode::ClearMmsi);
  EXPECT_TRUE(cleared.completed);
  EXPECT_EQ(cleared.count, "0");
  EXPECT_EQ(radio.radio.memory()[addr::UserMmsiCount], 0);
  EXPECT_TRUE(s.flags.dirty);
  EXPECT_EQ(w.view.shownAgain, 1);

  // A radio that stops answering at the write (after two syncs, the status request and two
  // model reads; the rate command at 19200 is noise to a radio already fast): the count is
  // what it was, nothing else changes.
  s.image.SetByte(addr::UserMmsiCount, 7);
  s.flags.dirty = false;
  radio.radio.SetFaults({.silentAtCommand = radio.radio.commandCount() + 6, .silentCount = -1});
  const ClearOutcome failed = w.commands.ClearRadio(transfer_mode::ClearMmsi);
  EXPECT_FALSE(failed.completed);
  ASSERT_GE(w.ui.shown.size(), 2u);
  EXPECT_EQ(w.ui.shown[w.ui.shown.size() - 2].caption, "Clear Data") << "the write failed, not the connect";
  EXPECT_EQ(failed.count, "7");
  EXPECT_FALSE(s.flags.dirty);
  EXPECT_EQ(w.view.shownAgain, 1);

  // A log clear with a refused pending entry opens no dialog; the count box is drawn all the same.
  w.entryValid = false;
  const auto dialogs = w.view.modes.size();
  EXPECT_EQ(w.commands.ClearRadio(transfer_mode::ClearDscLog).count, "7");
  EXPECT_EQ(w.view.modes.size(), dialogs);
}

TEST(PrintCommands, WithoutAPrinterTheReportCanBeSavedAsAPdfInstead) {
  Window w;
  w.commands.Print();
  ASSERT_EQ(w.view.printed.size(), 1u);
  EXPECT_GE(w.view.printed[0], 6u) << "general settings, three channel regions, weather, directories, EXP";
  EXPECT_TRUE(w.ui.shown.empty());

  w.view.printerInstalled = false;
  w.ui.answers = {Answer::No};
  w.commands.Print();
  ASSERT_EQ(w.ui.shown.size(), 1u);
  EXPECT_EQ(w.ui.shown[0].text, "No printer is installed on this computer.\nSave the report as a PDF file instead?");
  EXPECT_EQ(w.ui.shown[0].buttons, Buttons::YesNo);
  EXPECT_TRUE(w.ui.fileChoices.empty());

  w.ui.answers = {Answer::Yes};
  w.ui.files = {w.dir / "report.pdf"};
  w.commands.Print();
  ASSERT_EQ(w.ui.fileChoices.size(), 1u);
  EXPECT_EQ(w.ui.fileChoices[0].filter, "PDF files(*.pdf)|*.pdf|All files(*.*)|*.*");
  EXPECT_EQ(w.ui.fileChoices[0].suggestedName, "TK4100A.pdf");
  EXPECT_EQ(w.dir.Read("report.pdf"), "%PDF " + std::to_string(w.view.printed[0]) + " pages");

  // A folder that does not exist: said so, and the file saved before stays.
  w.ui.answers = {Answer::Yes};
  w.ui.files = {w.dir / "missing/report.pdf"};
  EXPECT_EQ(w.commands.Print(), Outcome::Failed);
  ASSERT_EQ(w.ui.shown.size(), 4u);
  EXPECT_EQ(w.ui.shown[3].icon, Icon::Exclamation);
  EXPECT_NE(w.ui.shown[3].detail.find("missing"), std::string::npos) << w.ui.shown[3].detail;

  w.entryValid = false;
  w.commands.Print();
  w.commands.PrintPreview();
  EXPECT_EQ(w.ui.shown.size(), 4u);
  EXPECT_TRUE(w.view.previewed.empty());
}

// Edits while a page loads are the entry outcome's test.
TEST(SessionEdits, SavingAnImageTidiesTheRecordAndTheEncoderIsHeardToo) {
  Window w;
  Session& s = w.session;
  std::vector<RecordChange> heard;
  s.Observe([&](const RecordChange& c) { heard.push_back(c); });
  s.flags.dirty = false;

  // The expansion group is usable without one enabled channel: saving the image tidies it.
  ASSERT_TRUE(s.Edit(record_area::Usable, [](SettingsRecord& r) { r.UsableGroup[kEXP].Usable = true; }));
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_TRUE(heard[0].byUser);
  EXPECT_TRUE(s.flags.dirty);
  w.ui.files = {w.dir / "radio.hex"};
  w.commands.SaveImage();
  EXPECT_FALSE(s.record.UsableGroup[kEXP].Usable);
  // The tidying, then the encoded image: each heard, neither the user's.
  ASSERT_EQ(heard.size(), 3u);
  EXPECT_FALSE(heard[1].byUser);
  EXPECT_NE(heard[1].areas & record_area::Usable, 0u);
  EXPECT_EQ(heard[2].areas, record_area::Image);
}

TEST(ImageChords, OnlyCtrlAloneAndOnlyInDebugMode) {
  EXPECT_EQ(ImageChordFor(true, true, false, false, true, false), ImageChord::Open);
  EXPECT_EQ(ImageChordFor(true, true, false, false, false, true), ImageChord::Save);
  EXPECT_EQ(ImageChordFor(false, true, false, false, true, false), ImageChord::None);
  EXPECT_EQ(ImageChordFor(true, true, true, false, false, true), ImageChord::None);
  EXPECT_EQ(ImageChordFor(true, true, false, true, true, false), ImageChord::None);
  EXPECT_EQ(ImageChordFor(true, false, false, false, true, false), ImageChord::None);
}

TEST(UndoCommands, UndoingBackToTheStateOnFileLeavesTheDirtyFlagWhenSomethingElseIsUnsaved) {
  Window w;
  Session& s = w.session;
  w.ui.files = {w.SavedFile()};
  w.commands.SaveAs();
  // A refused pending entry stops the undo as it stops every command.
  w.ToggleRotary();
  w.entryValid = false;
  w.commands.Undo();
  EXPECT_TRUE(s.history.CanUndo());
  w.entryValid = true;

  // A clear of the radio changed the image: undoing the edits after it leaves that unsaved.
  w.commands.NewTimerFired();
  w.commands.ClearRadio(transfer_mode::ClearMmsi);
  w.ToggleRotary();
  w.commands.Undo();
  EXPECT_TRUE(s.flags.dirty);
}

TEST(RadioBackups, EveryReadIsKeptAFailedReadIsNotAndABackupOpensAgain) {
  RadioWindow w;
  Session& s = w.session;
  w.radio.radio.memory()[0x3700] = 0x42;  // a DSC log entry: kept too, though never taken over
  w.Edit();
  const std::string beforeProgram = w.Held();

  // Programming a radio not read yet: asked, read into a scratch image, kept; the edits stay.
  w.ui.answers = {Answer::Yes};
  w.commands.ProgramToRadio();
  EXPECT_EQ(w.ui.shown.at(0).text, kBackUpFirstQuestion);
  EXPECT_EQ(w.view.modes, (std::vector<int>{transfer_mode::Read, transfer_mode::Program}));
  EXPECT_EQ(w.Backups(), std::multiset<std::string>{beforeProgram});
  EXPECT_EQ(s.record.CHUSA[32].ChTag, "EDITED");
  EXPECT_TRUE(s.flags.dirty);
  EXPECT_EQ(w.HeldRecord().CHUSA[32].ChTag, "EDITED");

  // The read of the Transfer menu (the edits are in the radio now); the next program
  // transfer asks nothing.
  const std::string programmed = w.Held();
  w.ui.answers = {Answer::No};
  w.commands.ReadFromRadio();
  EXPECT_EQ(w.Backups(), (std::multiset<std::string>{beforeProgram, programmed}));
  const auto asked = w.ui.shown.size();
  w.commands.ProgramToRadio();
  EXPECT_EQ(w.ui.shown.at(asked).text, "Complete!!");

  // A radio that falls silent in the block loop: no backup.
  w.radio.radio.SetFaults({.silentAtCommand = w.radio.radio.commandCount() + 20, .silentCount = -1});
  w.commands.ReadFromRadio();
  EXPECT_EQ(w.ui.shown.back().text, "The radio is unchanged.");
  EXPECT_EQ(w.ui.shown[w.ui.shown.size() - 2].text, "Communication Error!!");
  EXPECT_EQ(w.Backups().size(), 2u);

  // File > Open Backup gives back the settings the radio held before it was programmed; a
  // save then asks for a settings file instead of writing text over the image.
  std::string kept;
  for (const auto& e : std::filesystem::directory_iterator(s.backupFolder)) {
    if (w.dir.Read(std::filesystem::relative(e.path(), w.dir.path()).string()) == beforeProgram) kept = e.path();
  }
  w.Edit();
  w.ui.answers = {Answer::No};  // the unsaved edits may go
  w.ui.files = {kept};
  w.commands.OpenBackup();
  EXPECT_EQ(w.ui.fileChoices.back().startFolder, s.backupFolder);
  EXPECT_NE(s.record.CHUSA[32].ChTag, "EDITED");
  EXPECT_FALSE(s.flags.dirty);
  const auto choices = w.ui.fileChoices.size();
  w.commands.Save();
  EXPECT_EQ(w.ui.fileChoices.size(), choices + 1) << "Save asks for a .dat file";
  EXPECT_EQ(w.ui.fileChoices.back().suggestedName, std::filesystem::path(kept).stem().string() + ".dat");
  EXPECT_EQ(w.dir.Read(std::filesystem::relative(kept, w.dir.path()).string()), beforeProgram);
  // So does an image of any other name, opened by Ctrl+F2.
  w.dir.Write("radio.img", beforeProgram);
  w.ui.files = {w.dir / "radio.img"};
  w.commands.OpenImage();
  w.commands.Save();
  EXPECT_EQ(w.ui.fileChoices.back().suggestedName, "radio.dat");
  EXPECT_EQ(w.dir.Read("radio.img"), beforeProgram);
  // Nor is settings text saved under a name for radio images, new or not.
  for (const char* name : {"radio.HEX", "copy.hex"}) {
    w.dir.Write("radio.HEX", beforeProgram);
    w.ui.files = {w.dir / name};
    w.commands.SaveAs();
    EXPECT_EQ(w.ui.shown.back().text, "FileSave Error!!") << name;
    EXPECT_NE(w.ui.shown.back().detail.find("is a name for radio images"), std::string::npos);
    EXPECT_EQ(w.dir.Read("radio.HEX"), beforeProgram);
    EXPECT_FALSE(std::filesystem::exists(w.dir / "copy.hex"));
  }

  // Each read prunes to the count the preferences keep.
  w.radio.radio.SetFaults({});
  w.prefs.Save("Backups", "Keep", "1");
  w.commands.ReadFromRadio();
  EXPECT_EQ(w.Backups(), std::multiset<std::string>{w.Held()});
}

TEST(ProgramReview, ListsExactlyTheSettingsThatWillChangeAndCancelWritesNothing) {
  RadioWindow w;
  Session& s = w.session;
  w.commands.ReadFromRadio();
  const SettingsRecord read = s.record;
  w.Edit();
  w.ToggleRotary();
  const int writes = w.radio.radio.writeCount();

  w.view.reviewOk = false;
  w.commands.ProgramToRadio();
  const std::string flag = read.CommonSetup.Rotary ? "1" : "0";
  const std::string flipped = read.CommonSetup.Rotary ? "0" : "1";
  ASSERT_EQ(w.view.reviews.size(), 1u);
  std::vector<std::vector<std::string>> listed;
  for (const SettingChange& c : w.view.reviews[0]) listed.push_back({c.section, c.key, c.before, c.after});
  EXPECT_EQ(listed, (std::vector<std::vector<std::string>>{{"Common Setup", "Rotary", flag, flipped},
                                                           {"CHUSA32", "ChTag", read.CHUSA[32].ChTag, "EDITED"}}));
  EXPECT_EQ(w.view.modes, std::vector<int>{transfer_mode::Read});
  EXPECT_EQ(w.radio.radio.writeCount(), writes);
}

TEST(ProgramReview, ThePersonCheckingSeesChannelsAndMmsisAsThePagesShowThem) {
  const auto shown = [](const SettingChange& c) {
    const SettingChange s = ShownChange(c);
    return std::vector<std::string>{s.section, s.key, s.before, s.after};
  };
  EXPECT_EQ(shown({"CHUSA32", "ChTag", "DISTRESS", "MAYDAY"}),
            (std::vector<std::string>{"USA CH16", "CH Name", "DISTRESS", "MAYDAY"}));
  EXPECT_EQ(shown({"CHMMSID3", "Mmsid", "", "3661234560"}),
            (std::vector<std::string>{"Individual Directory 3", "MMSI", "", "366123456"}));
  EXPECT_EQ(shown({"CHUSA32", "ScanMemory", "0", "1"}), (std::vector<std::string>{"USA CH16", "Scan Memory", "Off", "On"}));
  EXPECT_EQ(shown({"CHGRPID2", "Enable", "1", "0"}), (std::vector<std::string>{"Group Directory 2", "In use", "On", "Off"}));
  EXPECT_EQ(shown({"Common Setup", "Rotary", "0", "1"}), (std::vector<std::string>{"Common Setup", "Rotary", "0", "1"}));
}

TEST(ProgramReview, SaysSoWhenProgrammingWouldEraseTheRadiosOwnMmsi) {
  SessionFixture f(1);
  Session& s = f.session;
  s.record.DscBasic.UserMmsi = "3661234560";
  s.radioImage = ImageToProgram(s);
  EXPECT_EQ(MmsiLossWarning(s), "");
  s.record.DscBasic.UserMmsi = "";
  EXPECT_EQ(ReviewProgram(s, false, false).warning,
            "The radio's own MMSI 366123456 will be erased: the settings to program hold none.");
  s.record.DscBasic.UserMmsi = "2111111110";
  EXPECT_EQ(MmsiLossWarning(s), "") << "another MMSI is listed like any other change";
}

TEST(ProgramVerify, ADroppedWriteIsNamedByItsSettingAndProgrammingAgainMendsIt) {
  RadioWindow w;
  Session& s = w.session;
  w.commands.ReadFromRadio();
  w.Edit();
  // The radio answers the write of the edited name but keeps the old bytes.
  const MemoryImage sent = ImageToProgram(s);
  Address at = 0;
  while (at < kImageSize && sent.GetByte(at) == w.radio.radio.memory()[static_cast<std::size_t>(at)]) ++at;
  ASSERT_LT(at, kImageSize);
  w.radio.radio.SetFaults({.dropWriteAt = at});
  const std::string old = w.HeldRecord().CHUSA[32].ChTag;

  w.ui.shown.clear();
  w.ui.answers = {Answer::Yes};
  w.commands.ProgramToRadio();
  ASSERT_EQ(w.ui.Texts(), (std::vector<std::string>{kProgramAgainQuestion, "Complete!!"}));
  EXPECT_EQ(w.ui.shown[0].buttons, Buttons::YesNo);
  EXPECT_EQ(w.ui.shown[0].detail, "Written -> held by the radio:\n[CHUSA32] ChTag: EDITED -> " + old);
  EXPECT_EQ(w.view.modes, (std::vector<int>{transfer_mode::Read, transfer_mode::Program, transfer_mode::Program}));
  EXPECT_EQ(w.HeldRecord().CHUSA[32].ChTag, "EDITED");
}

namespace {

// Options > Program only changed settings: remembered, said in the change list, and given up
// after a transfer that left the radio unknown.
TEST(ProgramChangedOnly, WritesWhatDiffersFromTheLastReadAndForgetsThatReadAfterAFailure) {
  RadioWindow w;
  Session& s = w.session;
  w.commands.ToggleProgramChangedOnly();
  EXPECT_EQ(s.prefs.Get("Settings", "ProgramChangedOnly", ""), "1");
  w.commands.ReadFromRadio();
  w.Edit();
  int writes = w.radio.radio.writeCount();
  w.view.checkWrittenOnly = true;
  w.commands.ProgramToRadio();
  EXPECT_EQ(w.view.plans.back(),
            "Only what differs from the radio as last read is written (1 write of 273), then the whole radio is "
            "read back.");
  EXPECT_EQ(s.prefs.Get("Settings", "CheckWrittenOnly", ""), "1");
  EXPECT_EQ(w.radio.radio.writeCount() - writes, 1);
  EXPECT_EQ(w.HeldRecord().CHUSA[32].ChTag, "EDITED");

  // A program whose check cannot finish: the radio's settings are no longer known, so the
  // next program asks to read it first, and then writes only what differs from that read.
  s.Edit(record_area::Channels, [](SettingsRecord& r) {
    r.CHUSA[33].ChTag = "AGAIN";
    r.CHUSA[50].ChTag = "AGAIN";
  });
  // Silent from the read-back on, after both writes.
  w.radio.radio.SetFaults({.silentAtCommand = w.radio.radio.commandCount() + 9, .silentCount = -1});
  writes = w.radio.radio.writeCount();
  w.commands.ProgramToRadio();
  EXPECT_EQ(w.radio.radio.writeCount() - writes, 2);
  EXPECT_EQ(w.ui.shown.back().text,
            "Every write reached the radio, but the check could not finish: verify it or program it again.");
  EXPECT_FALSE(s.radioImage.has_value());
  w.radio.radio.SetFaults({});
  w.ui.answers = {Answer::Yes};  // read and back up first
  writes = w.radio.radio.writeCount();
  w.commands.ProgramToRadio();
  EXPECT_EQ(w.view.modes.back(), transfer_mode::Program);
  EXPECT_EQ(w.view.plans.back(),
            "Nothing differs from the radio as last read, so nothing is written or read back.");
  EXPECT_EQ(w.radio.radio.writeCount() - writes, 0);
  EXPECT_EQ(w.ui.shown.back().text, "The radio already holds these settings.");
  EXPECT_EQ(w.HeldRecord().CHUSA[50].ChTag, "AGAIN");
}

}  // namespace
