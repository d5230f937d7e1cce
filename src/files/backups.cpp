#include "files/backups.h"

#include <cctype>
#include <ctime>
#include <filesystem>

#include "files/atomic_file.h"


namespace qm47 {

namespace fs = std::filesystem;

namespace {

std::string Timestamp(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

std::string FileNamePart(const std::string& label) {
  std::string out;
  for (const char c : label) {
    const bool fits = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
    out.push_back(fits ? c : '_');
  }
  return out.empty() ? "radio" : out;
}

}  // namespace

std::string BackupFolder(const char* xdgDataHome, const char* home) {
  // Relative values are to be ignored, as the XDG base directory rules say.
  if (xdgDataHome && fs::path(xdgDataHome).is_absolute()) return (fs::path(xdgDataHome) / "QM47" / "backups").string();
  if (home && fs::path(home).is_absolute()) return (fs::path(home) / ".local/share/QM47/backups").string();
  return "";
}

SavedBackup SaveBackup(const std::string& folder, const std::string& label, const std::string& extension,
                       const std::vector<std::uint8_t>& bytes, std::chrono::system_clock::time_point when) {
  SavedBackup result;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    result.error = IoErrorFromErrno(ec.value());
    return result;
  }
  const std::string stem = FileNamePart(label) + "-" + Timestamp(when);
  fs::path path = fs::path(folder) / (stem + extension);
  for (int n = 2; fs::exists(fs::symlink_status(path, ec)); ++n) {
    path = fs::path(folder) / (stem + "-" + std::to_string(n) + extension);
  }
  result.path = path.string();
  result.error = WriteFileAtomic(result.path, bytes);
  return result;
}

}  // namespace qm47
