// Saves replace only what the user may replace and keep what the file was.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/atomic_file.h"
#include "files/data_folder.h"
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

// A read-only file, a folder in its place and a missing folder are the CLI's storage tests.
TEST(Saves, KeepPrivateModesAndReplaceWhatALinkNames) {
  const TempDir dir("saves");
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
  EXPECT_EQ(FilesIn(dir.path()), 3) << "no temporary file is left behind";
}

TEST(Saves, ASaveRemovesTheLeftoversOfKilledSavesOfItsTarget) {
  const TempDir dir("leftovers");
  dir.Write("radio.hex", "old");
  // A save killed by SIGKILL halfway through: its temporary file stays.
  const pid_t killed = ::fork();
  if (killed == 0) {
    (void)WriteFileAtomic(dir / "radio.hex", std::string(std::size_t{64} << 20, 'x'));
    ::_exit(0);
  }
  ASSERT_GT(killed, 0);
  const std::string dead = std::to_string(killed);
  while (FilesIn(dir.path()) == 1 && ::waitpid(killed, nullptr, WNOHANG) == 0) ::usleep(200);
  ::kill(killed, SIGKILL);
  ::waitpid(killed, nullptr, 0);
  ASSERT_EQ(qm47::testing::Listing(dir.path()), (std::vector<std::string>{".radio.hex.tmp" + dead, "radio.hex"}))
      << "the save ended before it could be killed";

  for (const std::string& name : {".radio.hex.tmp" + dead + "-2", std::string(".radio.hex.tmp1"),
                                  ".other.hex.tmp" + dead, ".radio.hex.tmp" + dead + ".txt",
                                  ".radio.hex.tmp" + dead + "-old"}) {
    dir.Write(name, "partial");
  }
  ASSERT_FALSE(WriteFileAtomic(dir / "radio.hex", std::string("new")));
  EXPECT_EQ(dir.Read("radio.hex"), "new");
  // Process 1 still runs: its save may still be writing.
  const auto left = qm47::testing::Listing(dir.path());
  EXPECT_EQ(std::set<std::string>(left.begin(), left.end()),
            (std::set<std::string>{".other.hex.tmp" + dead, ".radio.hex.tmp" + dead + ".txt",
                                   ".radio.hex.tmp" + dead + "-old", ".radio.hex.tmp1", "radio.hex"}));
}

// Another user's link in /tmp must not send a save into a file of that user's choosing.
TEST(Saves, ALinkPlantedByAnotherUserInASharedFolderIsNotFollowed) {
  const TempDir dir("planted");
  const fs::path shared = dir.path() / "shared", open = dir.path() / "open";
  fs::create_directories(shared);
  fs::create_directories(open);
  fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
  fs::permissions(open, fs::perms::all);
  dir.Write("victim.dat", "precious");
  fs::create_symlink(dir.path() / "victim.dat", shared / "out.hex");
  fs::create_symlink(dir.path() / "victim.dat", open / "out.hex");
  const auto save = [&](const fs::path& link, const std::string& text) { return WriteFileAtomic(link, text); };

  // The user's own link is followed, in a shared folder of another user's too (/tmp is root's).
  ASSERT_FALSE(save(shared / "out.hex", "mine"));
  EXPECT_EQ(dir.Read("victim.dat"), "mine");
  const uid_t owner = ::geteuid() == 65534 ? 65533 : 65534, other = owner - 2;
  if (::chown(shared.c_str(), owner, owner) != 0) GTEST_SKIP() << "only root can give files to other users";
  ASSERT_FALSE(save(shared / "out.hex", "still mine"));
  EXPECT_EQ(dir.Read("victim.dat"), "still mine");

  // Another user's: followed only from the folder's owner, or where no one else may write.
  ASSERT_EQ(::lchown((shared / "out.hex").c_str(), other, other), 0);
  for (const auto& refused : {CheckWritable(shared / "out.hex"), save(shared / "out.hex", "redirected")}) {
    ASSERT_TRUE(refused);
    for (const char* part : {"symbolic link another user owns in a shared folder", "a folder of your own"}) {
      EXPECT_NE(refused->reason.find(part), std::string::npos) << refused->reason;
    }
  }
  EXPECT_EQ(dir.Read("victim.dat"), "still mine");
  EXPECT_TRUE(fs::is_symlink(shared / "out.hex"));
  EXPECT_EQ(FilesIn(shared), 1);

  ASSERT_EQ(::lchown((shared / "out.hex").c_str(), owner, owner), 0);
  ASSERT_FALSE(save(shared / "out.hex", "the folder owner's"));
  EXPECT_EQ(dir.Read("victim.dat"), "the folder owner's");
  ASSERT_EQ(::lchown((open / "out.hex").c_str(), other, other), 0);
  ASSERT_FALSE(save(open / "out.hex", "not shared"));
  EXPECT_EQ(dir.Read("victim.dat"), "not shared");
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

// Pipes given as files are the CLI's diagnostics test.
TEST(Inputs, FindingWhetherTheDataFolderIsWritableLeavesTheUsersFilesAlone) {
  const TempDir dir("inputs");
  dir.Write(".qm47-write-probe", "mine");
  EXPECT_EQ(ErrorLogPath(dir.path().string(), dir / "state"), dir / "err.log");
  EXPECT_EQ(dir.Read(".qm47-write-probe"), "mine");
  EXPECT_EQ(FilesIn(dir.path()), 1);
}
