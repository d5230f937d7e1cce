#include "editor/documents/new_image.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "files/data_folder.h"
#include "editor/documents/image_file.h"
#include "files/hex_file.h"
#include "model/codec.h"
#include "model/fresh_image.h"
#include "model/text.h"

namespace qm47 {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxDestinations = 10;

}  // namespace

std::string DestinationSuffix(const ModelDescriptor& model) {
  const auto code = ModelCode(model.number);
  if (!code) return "_";
  char text[8];
  std::snprintf(text, sizeof text, "_%04X", static_cast<unsigned>(*code));
  return text;
}

std::vector<std::string> ScanDestinationNames(const std::string& dataFolder, const ModelDescriptor& model) {
  // Matched without regard to case, so "usa_1004.ini" is offered as "USA".
  const std::string tail = Upper(DestinationSuffix(model) + ".ini");
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(dataFolder, ec), end; !ec && it != end && names.size() < kMaxDestinations;
       it.increment(ec)) {
    const std::string file = it->path().filename().string();
    const std::string upper = Upper(file);
    if (upper.size() < tail.size() || upper.compare(upper.size() - tail.size(), tail.size(), tail) != 0) continue;
    names.push_back(upper.substr(0, upper.find('_')));
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool LoadDestinationFile(Session& s, const std::string& path) {
  if (!HasImageLength(path)) return false;
  HexReadResult file = ReadImageWhileLoading(s, path);
  if (file.error) {
    s.errorLog.WriteErrorLog("frmMain.FileReadIni", *file.error);
    return false;
  }
  if (!ImageIsOfCurrentModel(s, file.image)) return false;
  s.image = file.image;
  DecodeImage(s.image, s.record);
  s.Changed();
  return true;
}

std::string DestinationPath(const Session& s, const std::string& name) {
  const std::string wanted = Upper(name) + DestinationSuffix(s.model) + ".ini";
  // The file may be stored in any case; take the one the scan would have offered.
  std::error_code ec;
  for (fs::directory_iterator it(s.dataFolder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (Upper(file) == Upper(wanted)) return it->path().string();
  }
  return JoinPath(s.dataFolder, wanted);
}

bool NewImageSetup(Session& s, const std::string& destination) {
  bool loaded = false;
  {
    const RaisedFlag held(s.flags.recordBusy);
    NewImageData(s.record, s.image, s.model.number);
    if (!destination.empty()) loaded = LoadDestinationFile(s, DestinationPath(s, destination));
    s.ForgetCurrentFile();
  }
  s.Changed();
  return loaded;
}

}  // namespace qm47
