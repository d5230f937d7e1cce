#include "editor/session/main_commands.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "editor/session/fault_detail.h"
#include "editor/documents/image_file.h"
#include "editor/documents/new_image.h"
#include "editor/documents/report_file.h"
#include "editor/documents/settings_file.h"
#include "files/atomic_file.h"
#include "files/data_folder.h"
#include "editor/radio/transfer_dialog.h"
#include "link/transfers.h"
#include "model/memory_map.h"
#include "report/hex_dump.h"
#include "model/text.h"

namespace qm47 {

namespace {
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kChangedOnlyKey = "ProgramChangedOnly";
constexpr const char* kCheckWrittenKey = "CheckWrittenOnly";
}  // namespace

namespace fs = std::filesystem;

namespace {

constexpr int kSerialPorts = 4;

}  // namespace

std::string WindowCaption(const Session& s) {
  std::string caption = std::string(kApplicationTitle) + "  " + s.model.title;
  if (!s.currentFileName.empty()) caption += " - " + Lower(fs::path(s.currentFileName).filename().string());
  return caption;
}

ImageChord ImageChordFor(bool debugMode, bool ctrl, bool shift, bool alt, bool f2, bool f3) {
  if (!debugMode || !ctrl || shift || alt) return ImageChord::None;
  if (f2) return ImageChord::Open;
  if (f3) return ImageChord::Save;
  return ImageChord::None;
}

MainCommands::MainCommands(Session& s, MainWindowView& view, std::function<bool()> validatePendingEntry)
    : s_(s), view_(view), validate_(std::move(validatePendingEntry)) {}

void MainCommands::Load() {
  const BusyScope busy(s_.ui);
  SelectSerialPort(PreferenceInt(s_.prefs.Get("ComPath", "ComNum", "1"), 1), false);
  state_.hexDumpVisible = s_.startup.debugMode && PreferenceFlag(s_.prefs.Get("Settings", "hexvisible", "0"), false);
  state_.programChangedOnly = PreferenceFlag(s_.prefs.Get(kSettingsSection, kChangedOnlyKey, "0"), false);
  NewImageSetup(s_, state_.destinations);
  s_.ForgetEdits();
  AfterNewImage();
}

void MainCommands::AfterNewImage() {
  view_.RebuildTree();
  view_.SelectNode("General");
  view_.SetCaption(WindowCaption(s_));
}

void MainCommands::New() {
  if (Validate() && CanClose()) view_.StartNewTimer();
}

void MainCommands::NewTimerFired() {
  const BusyScope busy(s_.ui);
  view_.SelectNode("General");
  s_.ui.Pause(500);
  NewImageSetup(s_, state_.destinations);
  s_.ForgetEdits();
  AfterNewImage();
}

std::string MainCommands::StartFolder() const {
  // Where the user was last; the window chooses a sensible folder when there is none.
  if (s_.currentFileName.empty()) return "";
  return fs::path(s_.currentFileName).parent_path().string();
}

Outcome MainCommands::MayReplace() {
  if (!Validate()) return Outcome::Failed;
  return CanClose() ? Outcome::Done : Outcome::Cancelled;
}

Outcome MainCommands::Open() {
  if (const Outcome may = MayReplace(); may != Outcome::Done) return may;
  const BusyScope busy(s_.ui);
  const auto path = s_.ui.ChooseFile({FileChoice::Mode::Open, "Open", kDatFilter, StartFolder(), "", false});
  if (!path || path->empty()) return Outcome::Cancelled;
  OpenReport report;
  if (!OpenSettingsFile(s_, *path, &report)) return Outcome::Failed;
  // Edits made before were saved or let go when asked: a whole file leaves nothing unsaved.
  if (report.empty()) s_.ForgetEdits();
  TellMended(report);
  view_.SetCaption(WindowCaption(s_));
  view_.ShowCurrentPageAgain();
  view_.RebuildTree();
  return Outcome::Done;
}

// Shown once, when a file had to be mended on its way in; the record is marked changed.
void MainCommands::TellMended(const OpenReport& report) {
  if (report.empty()) return;
  constexpr std::size_t kLinesShown = 20;
  s_.SayWhy(kFileChangedMessage,
            OpenReportText(report, kLinesShown) + "Save the settings to keep them as they are now.",
            Icon::Exclamation);
}

Outcome MainCommands::SaveTo(const std::string& path) {
  if (!SaveSettingsFile(s_, path)) return Outcome::Failed;
  view_.SetCaption(WindowCaption(s_));
  return Outcome::Done;
}

// A radio image opened as the current file (Ctrl+F2, a backup) must never be overwritten
// with settings text, whatever its name: its save asks for a settings file instead.
bool MainCommands::HasSettingsFile() const { return !s_.currentFileName.empty() && !s_.currentFileIsImage; }

Outcome MainCommands::Save() {
  if (!Validate()) return Outcome::Failed;
  return HasSettingsFile() ? SaveTo(s_.currentFileName) : SaveAs();
}

Outcome MainCommands::SaveAs() {
  if (!Validate()) return Outcome::Failed;
  // For an image, its name as a settings file: accepting the suggestion never replaces it.
  const fs::path current(s_.currentFileName);
  const std::string suggested = current.empty()               ? ""
                                : s_.currentFileIsImage ? current.stem().string() + ".dat"
                                                        : current.filename().string();
  const auto path = s_.ui.ChooseFile({FileChoice::Mode::Save, "Save As", kDatFilter, StartFolder(), suggested, false});
  if (!path || path->empty()) return Outcome::Cancelled;
  // A .hex name is a radio image's to every command and to qm47-cli: settings text there
  // would replace an image, or make a file nothing opens as one.
  if (Lower(fs::path(*path).extension().string()) == ".hex") {
    s_.SayWhy(kFileSaveErrorMessage, SettingsNameDetail(*path), Icon::Exclamation);
    return Outcome::Failed;
  }
  return SaveTo(*path);
}

Outcome MainCommands::Print() {
  if (!Validate()) return Outcome::Failed;
  const std::vector<PrintPage> pages = MakePrintedReport(s_);
  if (view_.PrinterInstalled()) {
    view_.PrintReport(pages);
    return Outcome::Done;
  }
  if (s_.SayWhy(kNoPrinterQuestion, kNoPrinterDetail, Icon::Question, Buttons::YesNo) != Answer::Yes) {
    return Outcome::Cancelled;
  }
  return SaveReportPdf(pages);
}

Outcome MainCommands::SaveReportPdf(const std::vector<PrintPage>& pages) {
  const std::string suggested =
      (s_.currentFileName.empty() ? s_.model.name : fs::path(s_.currentFileName).stem().string()) + ".pdf";
  const auto path = s_.ui.ChooseFile({FileChoice::Mode::Save, "Save As PDF", kPdfFilter, StartFolder(), suggested, false});
  if (!path || path->empty()) return Outcome::Cancelled;
  const std::string pdf = view_.ReportPdf(pages);
  if (const auto error = WriteFileAtomic(*path, pdf)) {
    s_.SayWhy(error->description, SaveFaultDetail(*path, *error), Icon::Exclamation);
    return Outcome::Failed;
  }
  return Outcome::Done;
}

void MainCommands::PrintPreview() {
  if (Validate()) view_.PreviewReport(MakePrintedReport(s_));
}

void MainCommands::PrintToFile() { view_.OpenReportWindow(); }

bool MainCommands::CanClose() {
  if (!s_.flags.dirty) return true;
  const Answer a = s_.Say(kSaveChangesQuestion, Icon::Exclamation, Buttons::YesNoCancel);
  if (a == Answer::Cancel) return false;
  if (a == Answer::No) return true;
  // A save that failed or was cancelled must never lose the edits.
  return Save() == Outcome::Done;
}

void MainCommands::SelectSerialPort(int number, bool store) {
  state_.serialPort = std::clamp(number, 1, kSerialPorts);
  if (store) s_.prefs.Save("ComPath", "ComNum", std::to_string(state_.serialPort));
}

void MainCommands::ToggleHexDump() { state_.hexDumpVisible = !state_.hexDumpVisible; }

void MainCommands::ToggleProgramChangedOnly() {
  state_.programChangedOnly = !state_.programChangedOnly;
  s_.prefs.Save(kSettingsSection, kChangedOnlyKey, state_.programChangedOnly ? "1" : "0");
}

std::string MainCommands::HexDump() const { return HexDumpText(s_.image); }

void MainCommands::ProgramToRadio() {
  if (!Validate()) return;
  if (!s_.radioImage && !BackUpBeforeProgram()) return;
  TransferJob job{transfer_mode::Program, false, true};
  job.changedOnly = state_.programChangedOnly;
  if (s_.radioImage) {
    const bool writtenOnly = PreferenceFlag(s_.prefs.Get(kSettingsSection, kCheckWrittenKey, "0"), false);
    const ReviewAnswer answer = view_.ReviewChanges(ReviewProgram(s_, job.changedOnly, writtenOnly));
    if (!answer.program) return;
    if (job.changedOnly && answer.checkWrittenOnly != writtenOnly) {
      s_.prefs.Save(kSettingsSection, kCheckWrittenKey, answer.checkWrittenOnly ? "1" : "0");
    }
    job.checkWrittenOnly = job.changedOnly && answer.checkWrittenOnly;
  }
  // What the image stores is what the radio will hold: the pages show it too.
  s_.TidyForStorage();
  for (;;) {
    const TransferOutcome out = view_.RunTransferDialog(job);
    s_.Changed(record_area::Image);  // encoded for the radio
    if (!out.readBack || out.readBack->differing.empty()) return;
    std::string unkept = SettingChangesText(UnkeptSettings(s_, s_.image, out.readBack->radio));
    if (!unkept.empty() && unkept.back() == '\n') unkept.pop_back();
    const std::string detail = "Written -> held by the radio:\n" + unkept;
    if (s_.SayWhy(kProgramAgainQuestion, detail, Icon::Exclamation, Buttons::YesNo) != Answer::Yes) return;
  }
}

bool MainCommands::BackUpBeforeProgram() {
  if (state_.programWithoutBackup) return true;
  const Answer a = s_.Say(kBackUpFirstQuestion, Icon::Question, Buttons::YesNoCancel);
  if (a == Answer::Cancel) return false;
  if (a == Answer::No) {
    state_.programWithoutBackup = true;
    return true;
  }
  const TransferOutcome read = view_.RunTransferDialog({transfer_mode::Read, true});
  if (!read.completed) return false;
  if (!read.backup || read.backup->problem.empty()) return true;
  return s_.SayWhy(kProgramWithoutBackupQuestion, read.backup->problem, Icon::Exclamation, Buttons::YesNo) ==
         Answer::Yes;
}

void MainCommands::ReadFromRadio() {
  if (!Validate() || !CanClose()) return;
  const TransferOutcome read = view_.RunTransferDialog({transfer_mode::Read});
  if (!read.completed) return;
  s_.Changed();
  view_.RebuildTree();
  view_.SelectNode("General");
  view_.ShowCurrentPageAgain();
  s_.ForgetCurrentFile();
  view_.SetCaption(WindowCaption(s_));
  s_.ForgetEdits();
  if (read.backup && !read.backup->problem.empty()) s_.SayWhy(kNotBackedUpMessage, read.backup->problem, Icon::Exclamation);
}

void MainCommands::OpenBackupsFolder() {
  const std::string& folder = s_.backupFolder;
  std::error_code ec;
  // Before the first read there is no folder yet; an empty one is what the user should see.
  if (!folder.empty()) fs::create_directories(folder, ec);
  if (folder.empty() || ec || !view_.OpenFolder(folder)) {
    s_.SayWhy("The backups folder could not be opened.",
              folder.empty() ? "Neither XDG_DATA_HOME nor HOME names a folder for backups; set HOME."
                             : "Open " + folder + " in a file manager" + (ec ? " (" + ec.message() + ")." : "."),
              Icon::Exclamation);
  }
}

ClearOutcome MainCommands::ClearRadio(int mode) {
  ClearOutcome out;
  if (mode >= transfer_mode::ClearMmsi && mode <= transfer_mode::ClearDistressLog && Validate()) {
    out.completed = view_.RunTransferDialog({mode}).completed;
    if (out.completed) {
      s_.Changed(record_area::Image);
      view_.ShowCurrentPageAgain();
      s_.MarkEdited();
      s_.history.ForgetSaved();
    }
  }
  out.count = std::to_string(s_.image.GetByte(addr::UserMmsiCount));
  return out;
}

Outcome MainCommands::SaveImage() {
  if (!Validate()) return Outcome::Failed;
  const auto path = s_.ui.ChooseFile({FileChoice::Mode::Save, "Save Image", kHexFilter, StartFolder(), "", false});
  if (!path || path->empty()) return Outcome::Cancelled;
  return SaveImageFile(s_, *path) ? Outcome::Done : Outcome::Failed;
}

Outcome MainCommands::OpenImage() {
  // No validation first (a service command), but unsaved edits are asked about as anywhere.
  if (!CanClose()) return Outcome::Cancelled;
  const auto path = s_.ui.ChooseFile({FileChoice::Mode::Open, "Open Image", kHexFilter, StartFolder(), "", true});
  if (!path || path->empty()) return Outcome::Cancelled;
  OpenReport report;
  if (!OpenImageFile(s_, *path, &report)) return Outcome::Failed;
  TellMended(report);
  view_.RebuildTree();
  view_.ShowCurrentPageAgain();
  view_.SetCaption(WindowCaption(s_));
  return Outcome::Done;
}

Outcome MainCommands::OpenBackup() {
  if (const Outcome may = MayReplace(); may != Outcome::Done) return may;
  const auto path =
      s_.ui.ChooseFile({FileChoice::Mode::Open, "Open Backup", kHexFilter, s_.backupFolder, "", true});
  if (!path || path->empty()) return Outcome::Cancelled;
  OpenReport report;
  if (!OpenImageFile(s_, *path, &report)) return Outcome::Failed;
  TellMended(report);
  view_.RebuildTree();
  view_.SelectNode("General");
  view_.ShowCurrentPageAgain();
  view_.SetCaption(WindowCaption(s_));
  return Outcome::Done;
}

void MainCommands::Contents(bool helpFileExists, int context) {
  if (!helpFileExists) {
    s_.ui.Message(kNoHelpMessage, s_.model.title, Icon::Information, Buttons::Ok);
    return;
  }
  view_.OpenHelp(context ? context : kContentsHelpTopic);
}

void MainCommands::SelectDestination(int menuIndex) {
  const BusyScope busy(s_.ui);
  if (qm47::SelectDestination(s_, state_.destinations, menuIndex, [this] { return CanClose(); }) ==
      DestinationChange::Unchanged) {
    return;
  }
  AfterNewImage();
}

void MainCommands::Undo() {
  if (Validate()) s_.Undo();
}

void MainCommands::Redo() {
  if (Validate()) s_.Redo();
}

void MainCommands::SelectModel(int menuIndex) {
  // Asked before the model changes: a save afterwards would write these settings as the new model's.
  if (qm47::SelectModel(s_, menuIndex, validate_, [this] { return CanClose(); }) != ModelChange::NewRequested) return;
  // Another model is another radio: what was read from the last one says nothing about it.
  s_.radioImage.reset();
  state_.programWithoutBackup = false;
  view_.StartNewTimer();
}

}  // namespace qm47
