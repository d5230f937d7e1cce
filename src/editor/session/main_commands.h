// The main window's commands without widgets: what each menu item, tool bar button and
// key chord does to the session, and what the window must redraw afterwards.
#pragma once

#include "editor/documents/record_check.h"

#include <functional>
#include <string>

#include "editor/documents/destinations.h"
#include "editor/session/help_topics.h"
#include "editor/radio/program_review.h"
#include "editor/session/session.h"
#include "editor/radio/transfer.h"
#include "editor/pages/tree.h"
#include "report/printed_report.h"

namespace qm47 {

inline constexpr const char* kSaveChangesQuestion = "KVX data has changed.\nDo you want to save changes?";
inline constexpr const char* kDatFilter = "dat files(*.dat)|*.dat|All files(*.*)|*.*";
inline constexpr const char* kHexFilter = "hex files(*.hex)|*.hex|All files(*.*)|*.*";
inline constexpr const char* kPdfFilter = "PDF files(*.pdf)|*.pdf|All files(*.*)|*.*";
inline constexpr const char* kNoPrinterQuestion =
    "No printer is installed on this computer.\nSave the report as a PDF file instead?";
inline constexpr const char* kNoPrinterDetail =
    "A PDF file can be printed later or on another computer. To print from here, add a printer in the "
    "system's printer settings.";
inline constexpr const char* kBackUpFirstQuestion =
    "The radio has not been read since the program started.\nRead and back up the settings it holds before "
    "programming it?";
inline constexpr const char* kNotBackedUpMessage = "The radio's settings were read but could not be backed up.";
inline constexpr const char* kProgramWithoutBackupQuestion =
    "The radio's settings could not be backed up.\nProgram the radio all the same?";
inline constexpr const char* kProgramAgainQuestion =
    "The radio did not keep everything that was written.\nProgram it again?";

// What the window does for the commands: the widgets' side of each step.
class MainWindowView {
 public:
  virtual ~MainWindowView() = default;
  // The tree, the page and the caption drawn again from the session.
  virtual void RebuildTree() = 0;
  virtual void SelectNode(const std::string& key) = 0;
  virtual void ShowCurrentPageAgain() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // File > New waits 100 ms before it runs (so the menu closes first), then calls NewTimerFired.
  virtual void StartNewTimer() = 0;
  // The transfer dialog, modal, for `job`; what it left once closed.
  virtual TransferOutcome RunTransferDialog(const TransferJob& job) = 0;
  // The settings programming will change in the radio, with OK and Cancel; true for OK.
  virtual ReviewAnswer ReviewChanges(const ProgramReview& review) = 0;
  // The folder in the system's file manager; false when none could be started.
  virtual bool OpenFolder(const std::string& path) = 0;
  // The printed report on a printer the user picks in the print dialog, or in a preview.
  virtual bool PrinterInstalled() const = 0;
  virtual void PrintReport(const std::vector<PrintPage>& pages) = 0;
  virtual void PreviewReport(const std::vector<PrintPage>& pages) = 0;
  // The printed report as a PDF document, for a computer without a printer.
  virtual std::string ReportPdf(const std::vector<PrintPage>& pages) = 0;
  virtual void OpenReportWindow() = 0;
  virtual bool OpenHelp(int topic) = 0;  // false when the help viewer could not be started
  virtual void ShowAbout() = 0;
};

// Window state the commands keep: which port, whether the hex dump shows, the menus.
struct MainWindowState {
  int serialPort = 1;
  bool programWithoutBackup = false;  // the user declined the backup before programming
  bool hexDumpVisible = false;
  bool programChangedOnly = false;  // Options > Program only changed settings
  DestinationMenu destinations;
};

// What a clear of the radio leaves for the DSC page: whether it completed, and the text of
// the count box (image byte 0x0085, as it was when the clear failed).
struct ClearOutcome {
  bool completed = false;
  std::string count;
};

// What a file command came to. Cancelled: the user said no (to a question or a file
// chooser) and nothing changed; Failed: a refused entry or a file that could not be used,
// already told to the user.
enum class Outcome { Done, Cancelled, Failed };

// "QM47  PC Program for TK4100A - boat.dat": the file name without its folder, lower case.
std::string WindowCaption(const Session& s);

// The key chords of the image file: Ctrl alone with F2 (open) or F3 (save), debug mode only.
enum class ImageChord { None, Open, Save };
ImageChord ImageChordFor(bool debugMode, bool ctrl, bool shift, bool alt, bool f2, bool f3);

class MainCommands {
 public:
  MainCommands(Session& s, MainWindowView& view, std::function<bool()> validatePendingEntry);

  MainWindowState& state() { return state_; }

  // The window's load: port from the preferences, the new image with its destination.
  void Load();

  void New();
  void NewTimerFired();
  Outcome Open();
  // Done only when the settings reached their file.
  Outcome Save();
  Outcome SaveAs();
  // On the printer; where none is installed, offers a PDF file instead.
  Outcome Print();
  void PrintPreview();
  void PrintToFile();
  // The unsaved-changes question, on exit and before every command that replaces the
  // record: true when the window may close or the record may go (saved, or let go).
  bool CanClose();
  void SelectSerialPort(int number, bool store);
  void ToggleHexDump();
  void ToggleProgramChangedOnly();
  std::string HexDump() const;
  void ProgramToRadio();
  void ReadFromRadio();
  void OpenBackupsFolder();
  // A clear of the radio's MMSI count, DSC log or distress log (the DSC page's buttons).
  ClearOutcome ClearRadio(int mode);
  Outcome SaveImage();
  Outcome OpenImage();
  // A radio's settings as a backup kept them; asks about unsaved edits first.
  Outcome OpenBackup();
  // Help > Contents, or F1 on a control with a help context number (0: none).
  void Contents(bool helpFileExists, int context = 0);
  void SelectDestination(int menuIndex);
  void SelectModel(int menuIndex);
  // Edit > Undo and Redo. A pending entry is checked first, so typing is a step of its own.
  void Undo();
  void Redo();

 private:
  bool Validate() { return validate_(); }
  Outcome SaveTo(const std::string& path);
  // Validation, then the unsaved-changes question: Done when the record may be replaced.
  Outcome MayReplace();
  void TellMended(const OpenReport& report);
  bool HasSettingsFile() const;
  std::string StartFolder() const;
  void AfterNewImage();
  Outcome SaveReportPdf(const std::vector<PrintPage>& pages);
  // Before the first program transfer of a session; false when programming must not go on.
  bool BackUpBeforeProgram();

  Session& s_;
  MainWindowView& view_;
  std::function<bool()> validate_;
  MainWindowState state_;
};

}  // namespace qm47
