// The one application session: image, record, model, flags and the services
// every command needs. Handed to whoever works on them; nothing is global.
//
// Beside it in session/: the undo history, the start-up that builds a session from the
// data folder and the preferences, and the window's commands (New, Open, Save, the radio
// transfers, model and destination) as plain calls over it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/session/edit_history.h"
#include "editor/session/startup.h"
#include "files/error_log.h"
#include "files/ini_file.h"
#include "files/preferences.h"
#include "model/memory_image.h"
#include "model/models.h"
#include "model/settings_record.h"
#include "seams/user_interface.h"

namespace qm47 {

struct WindowFlags {
  bool dirty = false;
  // The program itself fills the controls: their change handlers store nothing.
  bool pageLoading = false;
  // A file is read into or written from the record: edits wait until it is done.
  bool recordBusy = false;
  // The settings reached their file and nothing changed since. Saving leaves the dirty
  // flag (and so the question on closing) as it was; the caption's mark follows this.
  bool onFile = false;
};

// Raises a flag for a scope and puts it back as it was, so a fill inside a fill (or a
// load inside a load) keeps it raised.
class RaisedFlag {
 public:
  explicit RaisedFlag(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~RaisedFlag() { flag_ = was_; }
  RaisedFlag(const RaisedFlag&) = delete;
  RaisedFlag& operator=(const RaisedFlag&) = delete;

 private:
  bool& flag_;
  bool was_;
};

struct PageLoading : RaisedFlag {
  explicit PageLoading(WindowFlags& flags) : RaisedFlag(flags.pageLoading) {}
};

// Which parts of the record a change touched, so each view redraws only what it shows.
namespace record_area {
inline constexpr unsigned Usable = 1u << 0;
inline constexpr unsigned Common = 1u << 1;
inline constexpr unsigned Dsc = 1u << 2;
inline constexpr unsigned Atis = 1u << 3;
inline constexpr unsigned Channels = 1u << 4;  // USA, INTL and Canada lists
inline constexpr unsigned Weather = 1u << 5;
inline constexpr unsigned Expansion = 1u << 6;
inline constexpr unsigned Directories = 1u << 7;
inline constexpr unsigned Image = 1u << 8;  // the memory image itself (hex dump)
inline constexpr unsigned All = ~0u;
}  // namespace record_area

struct RecordChange {
  unsigned areas = record_area::All;
  bool byUser = false;  // an edit on a page, as opposed to a load, a read or the encoder
  std::uint64_t revision = 0;
};
using RecordObserver = std::function<void(const RecordChange&)>;

struct Session {
  Session(std::string dataFolder, IniFile catalogue, PreferenceStore& prefs, UserInterface& ui,
          StartupFlags flags, ErrorLog log);

  std::string dataFolder;
  IniFile catalogue;
  PreferenceStore& prefs;
  UserInterface& ui;
  StartupFlags startup;
  ErrorLog errorLog;

  ModelDescriptor model;
  MemoryImage image;
  SettingsRecord record;
  WindowFlags flags;
  std::string currentFileName;
  // The current file is a radio image (Ctrl+F2, a backup), whatever its name: a save must
  // not write settings text over it.
  bool currentFileIsImage = false;
  void ForgetCurrentFile() {
    currentFileName.clear();
    currentFileIsImage = false;
  }
  EditHistory history;
  // Where every read from the radio is kept ("" when the user has no such folder).
  std::string backupFolder;
  // All the radio sent at the last read of this session (a verify's read-back included).
  std::optional<MemoryImage> radioImage;

  // True while the program fills the controls or a file replaces the record: a
  // control's change then stores nothing.
  bool EditsHeld() const { return flags.pageLoading || flags.recordBusy; }
  // The one way pages change the record. Does nothing while edits are held (see
  // EditsHeld); otherwise applies `change`,
  // records it as a step (see EditHistory::Record for `typing`), raises the dirty flag
  // and tells the observers. True when the change was applied.
  bool Edit(unsigned areas, const std::function<void(SettingsRecord&)>& change, std::string_view typing = {});
  // Takes back the last step, or does the next undone one again: the observers redraw
  // and the dirty flag is raised unless the record is back at the state on file.
  bool Undo();
  bool Redo();
  // A load replaced the record: no unsaved edits, nothing to undo.
  void ForgetEdits();
  // An edit, typed or made by a command: the dirty flag is raised.
  void MarkEdited();
  // What the caption marks: edits that did not reach a file yet.
  bool UnsavedChanges() const { return flags.dirty && !flags.onFile; }
  // The program itself replaced or changed record or image (a load, a read, the
  // encoder): observers redraw, the dirty flag is left to the command.
  void Changed(unsigned areas = record_area::All);
  // A change the program makes on its own, to what the image can store (snapped
  // frequencies, the stored form before encoding): applied in place and told to the
  // observers when it changes something; `change` must give the same result twice. Not a step to undo (a page showing the record again would only
  // make it again), and not unsaved work: the settings mean the same. True when it did.
  bool Tidy(unsigned areas, const std::function<void(SettingsRecord&)>& change);
  // The record in the form the image stores (see StoredForm), before it is encoded.
  bool TidyForStorage();

  int Observe(RecordObserver observer);
  void Forget(int observerId);
  std::uint64_t revision() const { return revision_; }

  // Editor message box: the model title as caption.
  Answer Say(const std::string& text, Icon icon, Buttons buttons = Buttons::Ok);
  // The same with a line under the text that says what failed, where and what to do.
  Answer SayWhy(const std::string& text, const std::string& detail, Icon icon, Buttons buttons = Buttons::Ok);

 private:
  void Notify(unsigned areas, bool byUser);
  bool AfterStep(const std::optional<unsigned>& areas);

  std::uint64_t revision_ = 0;
  int nextObserver_ = 0;
  std::vector<std::pair<int, RecordObserver>> observers_;
};

// The hourglass, and edits held off while a file is read into or written from the record.
class RecordBusy {
 public:
  explicit RecordBusy(Session& s) : busy_(s.ui), held_(s.flags.recordBusy) {}

 private:
  BusyScope busy_;
  RaisedFlag held_;
};

// Makes `number` the current model (descriptor only; callers run the set-up).
void SetModel(Session& s, int number);

}  // namespace qm47
