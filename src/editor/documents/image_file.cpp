#include "editor/documents/image_file.h"

#include "editor/session/fault_detail.h"
#include "files/hex_file.h"
#include "model/codec.h"

namespace qm47 {

HexReadResult ReadImageWhileLoading(Session& s, const std::string& path) {
  const RaisedFlag held(s.flags.recordBusy);
  HexReadResult file = ReadHexFile(path);
  s.ui.Pause(500);
  return file;
}

bool ImageIsOfCurrentModel(const Session& s, const MemoryImage& img) {
  const auto [first, second] = ModelCodeAddresses();
  return ModelCodeMatches(s.model.number, img.GetWordBE(first), img.GetWordBE(second));
}

bool OpenImageFile(Session& s, const std::string& path, OpenReport* report) {
  const BusyScope busy(s.ui);

  if (!HasImageLength(path)) {
    s.SayWhy(kBadFileMessage, ImageLengthDetail(path), Icon::Critical);
    return false;
  }

  HexReadResult file = ReadImageWhileLoading(s, path);
  if (file.error) {
    s.errorLog.WriteErrorLog("frmMain.ReadHexFileAs", *file.error);
    s.SayWhy(kFileReadErrorMessage, ReadFaultDetail(path, *file.error), Icon::Exclamation);
    return false;
  }

  // The program never switches models to suit a file.
  if (!ImageIsOfCurrentModel(s, file.image)) {
    const auto [first, second] = ModelCodeAddresses();
    s.ui.MessageWithDetail(kModelTypeErrorMessage,
                           ImageModelDetail("'" + path + "'", file.image.GetWordBE(first), file.image.GetWordBE(second),
                                            s.model, s.catalogue, s.ui),
                           kReadFromRadioCaption, Icon::Critical, Buttons::Ok);
    return false;
  }

  s.image = file.image;
  DecodeImage(s.image, s.record);
  RecordCheck check = CheckRecord(s.record, s.model);
  s.record = std::move(check.mended);
  s.Changed();
  s.currentFileName = path;
  s.currentFileIsImage = true;
  s.ForgetEdits();
  if (!check.problems.empty()) {
    s.MarkEdited();
    s.history.ForgetSaved();
  }
  if (report) report->problems = std::move(check.problems);
  return true;
}

bool SaveImageFile(Session& s, const std::string& path) {
  const auto error = [&] {
    const RecordBusy busy(s);
    s.TidyForStorage();
    PrepareImageForExport(s.record, s.image, s.model.number);
    s.Changed(record_area::Image);
    auto written = WriteHexFile(path, s.image);
    s.ui.Pause(500);
    return written;
  }();
  if (error) {
    s.errorLog.WriteErrorLog("frmMain.SaveHexFileAs", *error);
    s.SayWhy(kFileSaveErrorMessage, SaveFaultDetail(path, *error), Icon::Exclamation);
    return false;
  }
  return true;
}

}  // namespace qm47
