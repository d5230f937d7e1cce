#include "files/backups.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <regex>
#include <set>
#include <tuple>

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

struct BackupName {
  fs::path path;
  std::string label;
  std::string stamp;
  int number = 1;
};

std::optional<BackupName> ParseBackupName(const fs::path& path) {
  static const std::regex pattern("(.+)-([0-9]{8}-[0-9]{6})(?:-([0-9]{1,6}))?");
  std::smatch m;
  const std::string stem = path.stem().string();
  if (path.extension() != ".hex" || !std::regex_match(stem, m, pattern)) return std::nullopt;
  return BackupName{path, m[1].str(), m[2].str(), m[3].matched ? std::stoi(m[3].str()) : 1};
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

PrunedBackups PruneBackups(const std::string& folder, int keep) {
  PrunedBackups result;
  std::vector<BackupName> backups;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    if (auto name = ParseBackupName(it->path())) backups.push_back(std::move(*name));
  }
  if (ec) {
    result.error = IoErrorFromErrno(ec.value());
    return result;
  }
  // Newest first: the time in the name, then the number added for the same second.
  std::sort(backups.begin(), backups.end(), [](const BackupName& a, const BackupName& b) {
    return std::tie(a.stamp, a.number) > std::tie(b.stamp, b.number);
  });
  std::set<std::string> radios;
  std::vector<bool> kept(backups.size(), false);
  int count = 0;
  for (std::size_t i = 0; i < backups.size(); ++i) {
    if (radios.insert(backups[i].label).second) {
      kept[i] = true;
      ++count;
    }
  }
  for (std::size_t i = 0; i < backups.size() && count < keep; ++i) {
    if (!kept[i]) {
      kept[i] = true;
      ++count;
    }
  }
  for (std::size_t i = 0; i < backups.size(); ++i) {
    if (kept[i]) continue;
    if (fs::remove(backups[i].path, ec)) {
      ++result.removed;
    } else if (ec && !result.error) {
      result.error = IoErrorFromErrno(ec.value());
    }
  }
  return result;
}

}  // namespace qm47
