#include "editor/documents/settings_file.h"

#include "editor/session/fault_detail.h"
#include "editor/documents/image_file.h"
#include "files/dat_reader.h"
#include "files/dat_writer.h"

namespace qm47 {

namespace {

// "The file lacks 27 settings ...", or empty for a whole file.
std::string IncompleteText(const DatCompleteness& whole) {
  if (whole.missingKeys == 0) return "";
  std::string text = "The file lacks " + std::to_string(whole.missingKeys) +
                     (whole.missingKeys == 1 ? " setting" : " settings") +
                     " that a saved file holds: they kept the values they had, names became empty.";
  if (whole.missingSections.empty()) return text;
  constexpr std::size_t kNamed = 8;
  text += " Missing sections: ";
  for (std::size_t i = 0; i < whole.missingSections.size() && i < kNamed; ++i) {
    text += (i ? ", [" : "[") + whole.missingSections[i] + "]";
  }
  if (whole.missingSections.size() > kNamed) {
    text += " and " + std::to_string(whole.missingSections.size() - kNamed) + " more";
  }
  return text + ".";
}

}  // namespace

bool FileRead2(Session& s, const std::string& path, OpenReport* report) {
  std::optional<IoError> error;
  bool read = false;
  {
    const RecordBusy busy(s);
    const DatReadResult file = ReadDatFile(path);
    error = file.error;
    if (!error) {
      // A name that does not exist fails the model check like a file of another model.
      if (file.notFound || !DatModelMatches(*file.table, s.model.number)) {
        s.SayWhy(kDifferentModelMessage, DatModelDetail(path, file, s.model, s.catalogue, s.ui), Icon::Critical);
      } else {
        const DatCompleteness whole = ApplyDatSettings(*file.table, s.record, s.model);
        RecordCheck check = CheckRecord(s.record, s.model);
        s.record = std::move(check.mended);
        if (report) {
          report->problems = std::move(check.problems);
          report->incomplete = IncompleteText(whole);
        }
        s.Changed();
        read = true;
      }
    }
    s.ui.Pause(500);
  }
  if (error) {
    s.errorLog.WriteErrorLog("frmMain.FileRead2", *error);
    s.SayWhy(kFileReadErrorMessage, ReadFaultDetail(path, *error), Icon::Exclamation);
  }
  return read;
}

bool SaveFileAs(Session& s, const std::string& path) {
  std::optional<IoError> error;
  {
    const RecordBusy busy(s);
    error = WriteDatFile(path, s.record, s.model);
    s.ui.Pause(500);
  }
  if (error) {
    s.errorLog.WriteErrorLog("frmMain.SaveFileAs", *error);
    s.SayWhy(kFileSaveErrorMessage, SaveFaultDetail(path, *error), Icon::Exclamation);
    return false;
  }
  return true;
}

bool OpenSettingsFile(Session& s, const std::string& path, OpenReport* report) {
  OpenReport own;
  OpenReport& r = report ? *report : own;
  if (!FileRead2(s, path, &r)) return false;
  if (!r.empty()) s.MarkEdited();
  // The file merges into the record: what was unsaved before stays unsaved.
  s.history.Clear(!s.flags.dirty);
  s.currentFileName = path;
  s.currentFileIsImage = false;
  return true;
}

bool SaveSettingsFile(Session& s, const std::string& path) {
  if (!SaveFileAs(s, path)) return false;
  s.history.MarkSaved();
  s.flags.onFile = true;
  s.currentFileName = path;
  s.currentFileIsImage = false;
  return true;
}

}  // namespace qm47
