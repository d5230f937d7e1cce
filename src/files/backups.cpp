#include "files/backups.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <regex>
#include <set>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/atomic_file.h"
#include "model/models.h"

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

int Digits(const std::string& text, std::size_t at, std::size_t count) { return std::stoi(text.substr(at, count)); }

// "20240229", "235959": a day the calendar has and a time the clock shows.
bool IsRealMoment(const std::string& date, const std::string& time) {
  namespace c = std::chrono;
  const c::year_month_day day{c::year{Digits(date, 0, 4)}, c::month{static_cast<unsigned>(Digits(date, 4, 2))},
                              c::day{static_cast<unsigned>(Digits(date, 6, 2))}};
  return day.ok() && Digits(time, 0, 2) < 24 && Digits(time, 2, 2) < 60 && Digits(time, 4, 2) < 60;
}

// The name as SaveBackup writes it: a date and time that exist, and a number from 2 on.
std::optional<BackupName> ParseBackupName(const fs::path& path) {
  static const std::regex pattern("(.+)-([0-9]{8})-([0-9]{6})(?:-([2-9]|[1-9][0-9]{1,5}))?");
  std::smatch m;
  const std::string stem = path.stem().string();
  if (path.extension() != ".hex" || !std::regex_match(stem, m, pattern)) return std::nullopt;
  if (!IsRealMoment(m[2].str(), m[3].str())) return std::nullopt;
  return BackupName{path, m[1].str(), m[2].str() + "-" + m[3].str(), m[4].matched ? std::stoi(m[4].str()) : 1};
}

bool IsMmsi(const std::string& text) {
  return text.size() == 9 && text.find_first_not_of("0123456789") == std::string::npos &&
         text.find_first_not_of('0') != std::string::npos;
}

// The model a label names, as BackupLabel makes it.
std::optional<int> LabelledModel(const std::string& label) {
  const std::size_t dash = label.rfind('-');
  const std::string mmsi = dash == std::string::npos ? "" : label.substr(dash + 1);
  for (int n = 1; n <= kMaxModels; ++n) {
    if (label == BackupLabel(n, "") || (IsMmsi(mmsi) && label == BackupLabel(n, mmsi))) return n;
  }
  return std::nullopt;
}

// What a read of `model` leaves: a file of this user's, still writable (one made read-only
// is being kept on purpose), of an image's length and holding that model's code twice.
bool IsBackupOf(const fs::path& path, int model) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  std::uint8_t first[2] = {}, second[2] = {};
  const auto [a, b] = ModelCodeAddresses();
  const bool ours = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
                    (st.st_mode & S_IWUSR) != 0 && st.st_size == kImageSize && ::pread(fd, first, 2, a) == 2 &&
                    ::pread(fd, second, 2, b) == 2;
  ::close(fd);
  return ours && ModelCodeMatches(model, first[0] * 256 + first[1], second[0] * 256 + second[1]);
}

}  // namespace

std::string BackupFolder(const char* xdgDataHome, const char* home) {
  // Relative values are to be ignored, as the XDG base directory rules say.
  if (xdgDataHome && fs::path(xdgDataHome).is_absolute()) return (fs::path(xdgDataHome) / "QM47" / "backups").string();
  if (home && fs::path(home).is_absolute()) return (fs::path(home) / ".local/share/QM47/backups").string();
  return "";
}

std::string BackupLabel(int model, const std::string& mmsi) {
  const std::string name = ModelMenuName(model);
  std::string label = name.empty() ? "model" + std::to_string(model) : name;
  if (!mmsi.empty()) label += "-" + mmsi;
  return label;
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
    std::error_code entryError;
    if (!fs::is_regular_file(it->symlink_status(entryError))) continue;
    auto name = ParseBackupName(it->path());
    if (!name) continue;
    const auto model = LabelledModel(name->label);
    if (model && IsBackupOf(name->path, *model)) backups.push_back(std::move(*name));
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
