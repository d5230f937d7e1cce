#include "files/atomic_file.h"

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm47 {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinkHops = 40;

struct Target {
  std::string path;        // the file a save replaces, after following links
  std::optional<struct stat> existing;
};

// As the kernel's protected-symlink rule has it: in a sticky folder anyone may write to
// (/tmp), only a link of the user's or of the folder's owner is followed, so no other
// user can plant one that sends a save into a file of their choosing.
bool IsPlantedLink(const fs::path& link, const struct stat& linkStat) {
  if (linkStat.st_uid == ::geteuid()) return false;
  const fs::path folder = link.parent_path();
  struct stat dir {};
  if (::stat(folder.empty() ? "." : folder.c_str(), &dir) != 0) return false;
  return (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0 && dir.st_uid != linkStat.st_uid;
}

IoError PlantedLink() {
  return {75, "Path/File access error",
          "it is a symbolic link another user owns in a shared folder, and such links are not followed; "
          "save under another name or into a folder of your own"};
}

// A symbolic link is followed, so the save replaces the file it names and the link stays.
std::optional<IoError> ResolveTarget(const std::string& path, Target& out) {
  fs::path p(path);
  for (int hop = 0;; ++hop) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0) {
      if (errno != ENOENT) return IoErrorFromErrno(errno);
      out.path = p.string();
      return std::nullopt;
    }
    if (!S_ISLNK(st.st_mode)) {
      out.path = p.string();
      out.existing = st;
      return std::nullopt;
    }
    if (hop == kMaxLinkHops) return IoErrorFromErrno(ELOOP);
    if (IsPlantedLink(p, st)) return PlantedLink();
    std::error_code ec;
    const fs::path to = fs::read_symlink(p, ec);
    if (ec) return IoErrorFromErrno(ec.value());
    p = to.is_absolute() ? to : p.parent_path() / to;
  }
}

std::optional<IoError> CheckTarget(const Target& t) {
  if (t.existing) {
    if (S_ISDIR(t.existing->st_mode)) return IoErrorFromErrno(EISDIR);
    if (!S_ISREG(t.existing->st_mode)) return NotARegularFile();
    // A file without any write bit is read-only even to root, who access() would let through.
    if (::access(t.path.c_str(), W_OK) != 0) return IoErrorFromErrno(errno);
    if ((t.existing->st_mode & 0222) == 0) return IoErrorFromErrno(EACCES);
  }
  // The new file is written beside the target, so even a writable file needs a writable folder.
  const fs::path folder = fs::path(t.path).parent_path();
  const std::string dir = folder.empty() ? "." : folder.string();
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0) return IoErrorFromErrno(errno);
  if (!S_ISDIR(st.st_mode)) return IoErrorFromErrno(ENOTDIR);
  if (::access(dir.c_str(), W_OK | X_OK) != 0) return IoErrorFromErrno(errno);
  return std::nullopt;
}

// Writing past the file-size limit would kill the process with SIGXFSZ mid-write.
bool ExceedsFileSizeLimit(std::size_t size) {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return false;
  return size > limit.rlim_cur;
}

// ".NAME.tmpPID", or ".NAME.tmpPID-N" when this process saves NAME twice at once: the
// pid says whether the save that left it behind may still be writing.
std::string TemporaryName(const std::string& path, int attempt) {
  const fs::path target(path);
  std::string name = "." + target.filename().string() + ".tmp" + std::to_string(::getpid());
  if (attempt > 0) name += "-" + std::to_string(attempt);
  return (target.parent_path() / name).string();
}

// The pid in a temporary file name of `target`'s, 0 for any other name.
pid_t TemporaryNamePid(const std::string& name, const std::string& target) {
  const std::string prefix = "." + target + ".tmp";
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
  const auto number = [](const std::string& t) {
    return !t.empty() && t.size() <= 9 && t[0] != '0' && t.find_first_not_of("0123456789") == std::string::npos;
  };
  const std::string rest = name.substr(prefix.size());
  const std::size_t dash = rest.find('-');
  const std::string pid = rest.substr(0, dash);
  if (!number(pid) || (dash != std::string::npos && !number(rest.substr(dash + 1)))) return 0;
  return static_cast<pid_t>(std::stol(pid));
}

// A save killed before its rename leaves its temporary file; the next save of the same
// target removes those whose process is gone. Others' targets, and saves still running,
// are not touched.
void RemoveLeftovers(const std::string& path) {
  const fs::path target(path);
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  const std::string name = target.filename().string();
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const pid_t pid = TemporaryNamePid(it->path().filename().string(), name);
    if (pid <= 0) continue;
    std::error_code entryError;
    if (!fs::is_regular_file(it->symlink_status(entryError))) continue;
    if (::kill(pid, 0) != 0 && errno == ESRCH) ::unlink(it->path().c_str());
  }
}

bool WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The replacement takes over the old file's permission bits and owner (the owner only
// where the system lets this user give it away).
void CopyOwnerAndMode(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)!::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  (void)::fchmod(fd, old.st_mode & 07777);
}

}  // namespace

std::optional<IoError> CheckWritable(const std::string& path) {
  Target t;
  if (auto error = ResolveTarget(path, t)) return error;
  return CheckTarget(t);
}

std::optional<IoError> WriteFileAtomic(const std::string& path, const std::string& data) {
  Target t;
  if (auto error = ResolveTarget(path, t)) return error;
  if (auto error = CheckTarget(t)) return error;
  if (ExceedsFileSizeLimit(data.size())) return IoErrorFromErrno(EFBIG);

  RemoveLeftovers(t.path);

  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 10; ++attempt) {
    temp = TemporaryName(t.path, attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return IoErrorFromErrno(errno);
  }
  if (fd < 0) return IoErrorFromErrno(EEXIST);
  if (t.existing) CopyOwnerAndMode(fd, *t.existing);

  bool ok = WriteAll(fd, data) && ::fsync(fd) == 0;
  int err = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(temp.c_str(), t.path.c_str()) == 0) return std::nullopt;
  if (ok) err = errno;
  ::unlink(temp.c_str());
  return IoErrorFromErrno(err != 0 ? err : EIO);
}

std::optional<IoError> WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& data) {
  return WriteFileAtomic(path, std::string(data.begin(), data.end()));
}

FileBytes ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  FileBytes result;
  // Non-blocking open: a FIFO with no writer would otherwise wait for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    result.error = IoErrorFromErrno(errno);
    return result;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    result.error = IoErrorFromErrno(errno);
  } else if (S_ISDIR(st.st_mode)) {
    result.error = IoErrorFromErrno(EISDIR);
  } else if (!S_ISREG(st.st_mode)) {
    result.error = NotARegularFile();
  }
  std::uint8_t chunk[8192];
  while (!result.error) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.error = IoErrorFromErrno(errno);
      break;
    }
    if (n == 0) break;
    result.data.insert(result.data.end(), chunk, chunk + n);
    if (result.data.size() > maxBytes) result.error = IoErrorFromErrno(EFBIG);
  }
  ::close(fd);
  if (result.error) result.data.clear();
  return result;
}

std::optional<std::uintmax_t> FileLength(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec) || ec) return std::nullopt;
  const auto size = fs::file_size(path, ec);
  if (ec) return std::nullopt;
  return size;
}

}  // namespace qm47
