// Files named on the command line: the extension decides the format.
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "cli/cli.h"
#include "editor/documents/image_file.h"
#include "editor/documents/new_image.h"
#include "editor/documents/settings_file.h"
#include "model/text.h"

namespace qm47::cli {

std::string Extension(const std::string& path) {
  return Lower(std::filesystem::path(path).extension().string());
}

int UsageError(const std::string& command, const std::string& problem) {
  std::cerr << "qm47-cli" << (command.empty() ? "" : " " + command) << ": " << problem << "\n"
            << "Try 'qm47-cli --help' for the commands and what they accept." << std::endl;
  return kUsage;
}

int WriteStandardOutput(const std::string& command, const std::string& text) {
  errno = 0;
  std::cout << text << std::flush;
  if (std::cout) return kSuccess;
  const int err = errno;
  std::cerr << "qm47-cli " << command << ": could not write to standard output"
            << (err != 0 ? std::string(": ") + std::strerror(err) : std::string()) << std::endl;
  return kFailed;
}

int OpenDocument(Context& ctx, const std::string& path, MendedFile mended) {
  const std::string ext = Extension(path);
  if (ext != ".hex" && ext != ".dat") return UsageError("open", "'" + path + "' is not a .hex or .dat file");
  if (!ctx.options.model) {
    if (const int taken = TakeFileModel(ctx, path); taken != kSuccess) return taken;
  }
  NewImageSetup(ctx.session);
  OpenReport report;
  const bool opened =
      ext == ".dat" ? OpenSettingsFile(ctx.session, path, &report) : OpenImageFile(ctx.session, path, &report);
  if (!opened) return kFailed;
  if (report.empty()) return kSuccess;
  std::string lines = OpenReportText(report);
  if (!lines.empty() && lines.back() == '\n') lines.pop_back();
  if (mended == MendedFile::Refuse) {
    ctx.ui.Show({kFileChangedMessage, "", Icon::Exclamation, Buttons::Ok, DefaultButton::First, lines});
    ctx.ui.Line("qm47-cli: nothing was written from " + path + "; correct the file as listed above, or give "
                "--accept-changes to go on with the changes listed");
    return kFailed;
  }
  ctx.ui.Line("qm47-cli: warning: " + path + " could not be used as it stands:");
  ctx.ui.Line(lines);
  return kSuccess;
}

int SaveDocument(Context& ctx, const std::string& path) {
  const std::string ext = Extension(path);
  if (ext != ".hex" && ext != ".dat") return UsageError("save", "'" + path + "' is not a .hex or .dat file");
  if (ext == ".dat") return SaveSettingsFile(ctx.session, path) ? kSuccess : kFailed;
  return SaveImageFile(ctx.session, path) ? kSuccess : kFailed;
}

}  // namespace qm47::cli
