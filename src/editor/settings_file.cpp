#include "editor/settings_file.h"

#include "editor/fault_detail.h"
#include "editor/image_file.h"
#include "files/dat_reader.h"
#include "files/dat_writer.h"

namespace qm47 {

namespace {

// The hourglass, and the page handlers quiet while the file is read or written.
struct BusyWindow {
  explicit BusyWindow(Session& s) : s(s), busy(s.ui) { s.flags.pageLoading = true; }
  ~BusyWindow() { s.flags.pageLoading = false; }
  Session& s;
  BusyScope busy;
};

}  // namespace

bool FileRead2(Session& s, const std::string& path) {
  s.flags.error = false;
  std::optional<IoError> error;
  {
    BusyWindow busy(s);
    const DatReadResult file = ReadDatFile(path);
    error = file.error;
    if (!error) {
      // A name that does not exist fails the model check like a file of another model.
      if (file.notFound || !DatModelMatches(*file.table, s.model.number)) {
        s.SayWhy(kDifferentModelMessage, DatModelDetail(path, file, s.model, s.catalogue, s.ui), Icon::Critical);
        s.flags.error = true;
      } else {
        ApplyDatSettings(*file.table, s.record, s.model);
        s.Changed();
      }
    }
    s.ui.Pause(500);
  }
  if (error) {
    s.flags.error = true;
    s.errorLog.WriteErrorLog("frmMain.FileRead2", *error);
    s.SayWhy(kFileReadErrorMessage, ReadFaultDetail(path, *error), Icon::Exclamation);
    s.flags.cancel = true;
  }
  return !s.flags.error;
}

bool SaveFileAs(Session& s, const std::string& path) {
  s.flags.error = false;
  std::optional<IoError> error;
  {
    BusyWindow busy(s);
    error = WriteDatFile(path, s.record, s.model);
    s.ui.Pause(500);
  }
  if (error) {
    s.flags.error = true;
    s.errorLog.WriteErrorLog("frmMain.SaveFileAs", *error);
    s.SayWhy(kFileSaveErrorMessage, SaveFaultDetail(path, *error), Icon::Exclamation);
    s.flags.cancel = true;
    return false;
  }
  return true;
}

bool OpenSettingsFile(Session& s, const std::string& path) {
  s.flags.cancel = true;
  if (!FileRead2(s, path)) return false;
  // The file merges into the record: what was unsaved before stays unsaved.
  s.history.Clear(!s.flags.dirty);
  s.currentFileName = path;
  s.flags.cancel = false;
  return true;
}

bool SaveSettingsFile(Session& s, const std::string& path) {
  s.flags.cancel = true;
  if (!SaveFileAs(s, path)) return false;
  s.history.MarkSaved();
  s.currentFileName = path;
  s.flags.cancel = false;
  return true;
}

}  // namespace qm47
