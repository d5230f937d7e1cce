// The look at a save target before a read, and the folder that keeps a read whose save failed.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "files/backups.h"
#include "temp_dir.h"

namespace qm47 {
namespace {

namespace fs = std::filesystem;
using qm47::testing::TempDir;

TEST(Backups, SaveBackup_InTheXdgDataFolderNeverOverAnEarlierOne) {
  EXPECT_EQ(BackupFolder("/data", "/home/u"), "/data/QM47/backups");
  EXPECT_EQ(BackupFolder(nullptr, "/home/u"), "/home/u/.local/share/QM47/backups");
  EXPECT_EQ(BackupFolder("relative", "/home/u"), "/home/u/.local/share/QM47/backups");
  EXPECT_EQ(BackupFolder(nullptr, nullptr), "");

  TempDir dir("backups");
  const std::string folder = dir / "QM47/backups";
  const auto when = std::chrono::system_clock::now();
  const SavedBackup first = SaveBackup(folder, "TK4100A", ".hex", {1, 2, 3}, when);
  const SavedBackup second = SaveBackup(folder, "Unknown model", ".hex", {4}, when);
  const SavedBackup third = SaveBackup(folder, "TK4100A", ".hex", {5}, when);
  ASSERT_FALSE(first.error || second.error || third.error);
  const std::string stamp = "-[0-9]{8}-[0-9]{6}";
  EXPECT_TRUE(std::regex_match(first.path, std::regex(folder + "/TK4100A" + stamp + "\\.hex"))) << first.path;
  EXPECT_TRUE(std::regex_match(second.path, std::regex(folder + "/Unknown_model" + stamp + "\\.hex"))) << second.path;
  EXPECT_EQ(third.path, first.path.substr(0, first.path.size() - 4) + "-2.hex");
  EXPECT_EQ(dir.Read(fs::relative(first.path, dir.path()).string()), "\x01\x02\x03");
  EXPECT_EQ(dir.Read(fs::relative(third.path, dir.path()).string()), "\x05");

  dir.Write("file", "x");
  EXPECT_TRUE(SaveBackup(dir / "file/QM47", "TK4100A", ".hex", {1}, when).error.has_value());
}

}  // namespace
}  // namespace qm47
