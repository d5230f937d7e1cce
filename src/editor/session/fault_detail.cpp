#include "editor/session/fault_detail.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "editor/documents/new_image.h"
#include "editor/session/startup.h"
#include "files/hex_file.h"
#include "model/memory_image.h"

namespace qm47 {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

std::string FolderOf(const std::string& path) {
  std::error_code ec;
  const fs::path full = fs::absolute(path, ec);
  return (ec ? fs::path(path) : full).parent_path().string();
}

bool InUse(const IniFile& catalogue, int number) {
  for (const int m : ModelsInUse(catalogue)) {
    if (m == number) return true;
  }
  return false;
}

std::string OtherModelAdvice(int number, const IniFile& catalogue, const UserInterface& ui) {
  if (!InUse(catalogue, number)) return "That model is not in use in global.ini.";
  return "To open it, " + ui.HowToChooseModel(number, ModelName(number)) + ".";
}

std::string What(const IoError& error) { return error.reason.empty() ? error.description : error.reason; }

}  // namespace

std::string ReadFaultDetail(const std::string& path, const IoError& error) {
  std::string advice;
  if (error.number == 70) advice = " Check the file's permissions.";
  if (error.reason == NotARegularFile().reason) advice = " Name a settings file, not a folder, pipe or device.";
  return "Could not read " + Quoted(fs::path(path).filename().string()) + " in the folder " + Quoted(FolderOf(path)) +
         ": " + What(error) + "." + advice;
}

std::string SaveFaultDetail(const std::string& path, const IoError& error) {
  std::string advice;
  switch (error.number) {
    case 53: advice = " The folder does not exist: create it or choose another."; break;
    case 70: advice = " Choose a folder you may write to, or make the file writable."; break;
    case 61: advice = " Free some space or choose another disk."; break;
    default:
      if (error.reason == IoErrorFromErrno(EFBIG).reason) advice = " The file-size limit (ulimit -f) is too small.";
      break;
  }
  return "Could not save " + Quoted(fs::path(path).filename().string()) + " in the folder " + Quoted(FolderOf(path)) +
         ": " + What(error) + "." + advice;
}

std::string SettingsNameDetail(const std::string& path) {
  return Quoted(path) + " is a name for radio images: settings are saved as .dat files. Nothing was written; save " +
         "again with a name ending in .dat.";
}

std::string ImageLengthDetail(const std::string& path) {
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (!fs::exists(status)) return Quoted(path) + " does not exist. Check the name and the folder.";
  if (!fs::is_regular_file(status)) return Quoted(path) + " is not a file.";
  const auto size = fs::file_size(path, ec);
  if (ec) return "Could not read " + Quoted(path) + ": " + ec.message() + ".";
  return Quoted(path) + " is " + std::to_string(size) + " bytes long; a radio image file is exactly " +
         std::to_string(kImageSize) + " bytes.";
}

std::string ImageModelDetail(const std::string& what, int first, int second, const ModelDescriptor& current,
                             const IniFile& catalogue, const UserInterface& ui) {
  const ModelCodeReport report = DescribeModelCodes(what, first, second, current.number);
  return report.fits ? report.text + " " + OtherModelAdvice(report.fits, catalogue, ui) : report.text;
}

std::string DatModelDetail(const std::string& path, const DatReadResult& file, const ModelDescriptor& current,
                           const IniFile& catalogue, const UserInterface& ui) {
  if (file.notFound) return Quoted(path) + " does not exist. Check the name and the folder.";
  if (!file.table || file.table->SectionCount() == 0) {
    if (HasImageLength(path)) {
      return Quoted(path) + " has the size of a radio image, not a settings file. Named *.hex, an image is " +
             "turned into one by qm47-cli convert, and opened by Ctrl+F2 in debug mode (/D).";
    }
    return Quoted(path) + " is empty or not a settings file.";
  }
  const auto type = DatNumber(file.table->Lookup("MAIN", "MODELTYPE"), INT32_MIN, INT32_MAX);
  if (!type) return Quoted(path) + " is not a settings file: [MAIN] has no model number (MODELTYPE).";
  if (*type < 1 || *type > kMaxModels) return Quoted(path) + " names model " + std::to_string(*type) + ", which does not exist.";
  return Quoted(path) + " holds the settings of " + ModelLabel(*type) + "; this is " + ModelLabel(current.number) +
         ". " + OtherModelAdvice(*type, catalogue, ui);
}

std::string DestinationFaultDetail(const Session& s, const std::string& name) {
  const std::string path = DestinationPath(s, name);
  std::error_code ec;
  if (fs::exists(path, ec)) {
    return Quoted(path) + " is not a " + std::to_string(kImageSize) + "-byte image of " + ModelLabel(s.model.number) +
           ".";
  }
  std::string offered;
  for (const auto& n : ScanDestinationNames(s.dataFolder, s.model)) offered += (offered.empty() ? "" : ", ") + n;
  return "No destination file " + Quoted(fs::path(path).filename().string()) + " in " + Quoted(s.dataFolder) + "; " +
         (offered.empty() ? "this model has none there." : "this model has: " + offered + ".");
}

std::string UnknownModelDetail(const std::vector<std::string>& searchedFolders, bool catalogueFound,
                               const std::string& cataloguePath, int requested, const std::vector<int>& inUse) {
  if (!catalogueFound) {
    std::string folders;
    for (const auto& f : searchedFolders) folders += (folders.empty() ? "" : ", ") + Quoted(f);
    return "The model list global.ini was not found; looked in " + folders +
           ". Set QM47_DATA_DIR (or give --data-dir) to the folder that holds it.";
  }
  if (inUse.empty()) return "No model has use=1 in " + Quoted(cataloguePath) + ".";
  std::string models;
  for (const int m : inUse) models += (models.empty() ? "" : ", ") + ModelLabel(m);
  const std::string asked = requested ? ModelLabel(requested) + " is not in use. " : "";
  return asked + "Models in use in " + Quoted(cataloguePath) + ": " + models + ".";
}

}  // namespace qm47
