#include "files/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#if __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>
#define QM47_HAVE_POSIX 1
#endif

namespace qm47 {

namespace fs = std::filesystem;

namespace {

std::string TemporaryNameBeside(const std::string& path) {
  std::random_device rd;
  const fs::path target(path);
  const std::string name = "." + target.filename().string() + ".tmp" + std::to_string(rd() % 1000000);
  return (target.parent_path() / name).string();
}

IoError LastError(int fallback = EIO) { return IoErrorFromErrno(errno != 0 ? errno : fallback); }

}  // namespace

std::optional<IoError> WriteFileAtomic(const std::string& path, const std::string& data) {
  const std::string temp = TemporaryNameBeside(path);
  errno = 0;
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return LastError();
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  ok = std::fflush(f) == 0 && ok;
#ifdef QM47_HAVE_POSIX
  ok = ok && ::fsync(::fileno(f)) == 0;
#endif
  const int writeErrno = errno;
  ok = std::fclose(f) == 0 && ok;
  if (ok) {
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (!ec) return std::nullopt;
    errno = ec.value();
  } else if (errno == 0) {
    errno = writeErrno;
  }
  const IoError error = LastError();
  std::error_code ignored;
  fs::remove(temp, ignored);
  return error;
}

std::optional<IoError> WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& data) {
  return WriteFileAtomic(path, std::string(data.begin(), data.end()));
}

FileBytes ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  FileBytes result;
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    result.error = LastError(ENOENT);
    return result;
  }
  std::uint8_t chunk[8192];
  while (true) {
    const std::size_t n = std::fread(chunk, 1, sizeof chunk, f);
    result.data.insert(result.data.end(), chunk, chunk + n);
    if (result.data.size() > maxBytes) {
      result.error = IoErrorFromErrno(EFBIG);
      break;
    }
    if (n < sizeof chunk) {
      if (std::ferror(f)) result.error = LastError();
      break;
    }
  }
  std::fclose(f);
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
