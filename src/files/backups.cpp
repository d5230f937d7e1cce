#include "files/backups.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "files/atomic_file.h"

#if __has_include(<unistd.h>)
#include <unistd.h>
#define QM47_HAVE_POSIX 1
#endif

namespace qm47 {

namespace fs = std::filesystem;

namespace {

// Whether this user may create files in `folder`. Permission bits alone do not tell
// (ACLs, read-only mounts), the system does.
std::string FolderProblem(const fs::path& folder) {
  std::error_code ec;
  const fs::file_status st = fs::status(folder, ec);
  if (!fs::exists(st)) return "the folder " + folder.string() + " does not exist";
  if (!fs::is_directory(st)) return folder.string() + " is not a folder";
#ifdef QM47_HAVE_POSIX
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    return "the folder " + folder.string() + " is not writable (" + std::strerror(errno) + ")";
  }
#endif
  return "";
}

bool ReadOnly(const fs::path& file, fs::perms perms) {
  // No write bit at all counts even for root, who could write it anyway.
  constexpr fs::perms kAnyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((perms & kAnyWrite) == fs::perms::none) return true;
#ifdef QM47_HAVE_POSIX
  return ::access(file.c_str(), W_OK) != 0;
#else
  (void)file;
  return false;
#endif
}

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

std::string SaveTargetProblem(const std::string& path) {
  if (path.empty()) return "no file name was given";
  std::error_code ec;
  // Through a symbolic link, the file it points to is the one that gets replaced.
  const fs::path target = fs::weakly_canonical(fs::absolute(path, ec), ec);
  if (ec) return "its folder cannot be looked at (" + ec.message() + ")";
  const fs::file_status st = fs::status(target, ec);
  if (fs::exists(st)) {
    if (fs::is_directory(st)) return "it is a folder";
    if (!fs::is_regular_file(st)) return "it is not a regular file";
    if (ReadOnly(target, st.permissions())) return "it is read-only";
  }
  return FolderProblem(target.parent_path());
}

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
