// Saves replace only what the user may replace and keep what the file was;
// inputs that are not files are refused at once instead of blocking.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <sys/stat.h>

#include "files/atomic_file.h"
#include "files/data_folder.h"
#include "files/error_log.h"
#include "temp_dir.h"

using namespace qm47;
using qm47::testing::TempDir;
namespace fs = std::filesystem;

namespace {

fs::perms Mode(const std::string& path) { return fs::status(path).permissions(); }

int FilesIn(const fs::path& dir) {
  return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

}  // namespace

TEST(Saves, RespectReadOnlyPrivateAndLinkedTargets) {
  const TempDir dir("saves");
  dir.Write("locked.dat", "locked");
  fs::permissions(dir / "locked.dat", fs::perms::owner_read | fs::perms::group_read);
  const auto refused = WriteFileAtomic(dir / "locked.dat", std::string("new"));
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->number, 70);
  EXPECT_EQ(dir.Read("locked.dat"), "locked");
  EXPECT_TRUE(CheckWritable(dir / "locked.dat"));

  dir.Write("private.dat", "old");
  fs::permissions(dir / "private.dat", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_FALSE(CheckWritable(dir / "private.dat"));
  ASSERT_FALSE(WriteFileAtomic(dir / "private.dat", std::string("new")));
  EXPECT_EQ(dir.Read("private.dat"), "new");
  EXPECT_EQ(Mode(dir / "private.dat"), fs::perms::owner_read | fs::perms::owner_write);

  // A relative link into another folder: the file it names is replaced, the link stays.
  fs::create_directories(dir.path() / "real");
  dir.Write("real/radio.hex", "old");
  fs::create_symlink("real/radio.hex", dir.path() / "radio.hex");
  ASSERT_FALSE(WriteFileAtomic(dir / "radio.hex", std::string("new")));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "radio.hex"));
  EXPECT_EQ(dir.Read("real/radio.hex"), "new");

  const auto noFolder = CheckWritable(dir / "missing/radio.hex");
  ASSERT_TRUE(noFolder);
  EXPECT_EQ(noFolder->number, 53);
  EXPECT_EQ(FilesIn(dir.path()), 4) << "no temporary file is left behind";
}

TEST(Saves, FileSizeLimitIsAnErrorWithNothingLeftBehind) {
  const TempDir dir("fsize");
  dir.Write("kept.hex", "previous");
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  // Without the check the write would end the process with SIGXFSZ.
  const auto error = WriteFileAtomic(dir / "kept.hex", std::string(16384, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &old);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->reason, "File too large");
  EXPECT_EQ(dir.Read("kept.hex"), "previous");
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

TEST(Inputs, PipesAndFoldersAreRefusedWithoutBlocking) {
  const TempDir dir("inputs");
  ASSERT_EQ(::mkfifo((dir / "pipe.dat").c_str(), 0600), 0);
  const FileBytes read = ReadWholeFile(dir / "pipe.dat", 1000);
  ASSERT_TRUE(read.error);
  EXPECT_EQ(read.error->reason, NotARegularFile().reason);
  EXPECT_FALSE(FileLength(dir / "pipe.dat"));
  EXPECT_TRUE(ReadWholeFile(dir.path().string(), 1000).error);

  // An err.log that is a pipe nobody reads is skipped, as any log fault is.
  ASSERT_EQ(::mkfifo((dir / "err.log").c_str(), 0600), 0);
  ErrorLog(dir / "err.log", true).WriteErrorLog("frmMain.SaveFileAs", {53, "File not found"});

  // Finding out whether the folder is writable leaves the user's own files alone.
  dir.Write(".qm47-write-probe", "mine");
  EXPECT_EQ(ErrorLogPath(dir.path().string(), dir / "state"), dir / "err.log");
  EXPECT_EQ(dir.Read(".qm47-write-probe"), "mine");
  EXPECT_EQ(FilesIn(dir.path()), 3);
}
