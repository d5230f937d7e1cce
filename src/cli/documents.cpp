// Files named on the command line: the extension decides the format.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>

#include "cli/cli.h"
#include "editor/image_file.h"
#include "editor/new_image.h"
#include "editor/settings_file.h"

namespace qm47::cli {

std::string Extension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

int UsageError(const std::string& command, const std::string& problem) {
  std::cerr << "qm47-cli " << command << ": " << problem << "\n"
            << "Try 'qm47-cli --help' for the commands and what they accept." << std::endl;
  return kUsage;
}

int OpenDocument(Context& ctx, const std::string& path) {
  const std::string ext = Extension(path);
  if (ext != ".hex" && ext != ".dat") return UsageError("open", "'" + path + "' is not a .hex or .dat file");
  NewImageSetup(ctx.session);
  if (ext == ".dat") return OpenSettingsFile(ctx.session, path) ? kSuccess : kFailed;
  return OpenImageFile(ctx.session, path) ? kSuccess : kFailed;
}

int SaveDocument(Context& ctx, const std::string& path) {
  const std::string ext = Extension(path);
  if (ext != ".hex" && ext != ".dat") return UsageError("save", "'" + path + "' is not a .hex or .dat file");
  if (ext == ".dat") return SaveSettingsFile(ctx.session, path) ? kSuccess : kFailed;
  return SaveImageFile(ctx.session, path) ? kSuccess : kFailed;
}

}  // namespace qm47::cli
