// The look at a save target before a read, and the folder that keeps a read whose save failed.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <regex>
#include <set>

#include "files/backups.h"
#include "files/preferences.h"
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

TEST(Backups, PruneBackups_KeepsTheCountButAlwaysTheNewestOfEachRadio) {
  TempDir dir("prune");
  const auto names = [&] {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir.path())) out.insert(e.path().filename().string());
    return out;
  };
  // Oldest first; the same second twice tells them apart by the number added.
  for (const char* name : {"TK4100A-366000001-20240101-090000.hex", "TK4100A-20240102-090000.hex",
                           "TK4100A-20240103-090000.hex", "TK4100A-20240103-090000-2.hex",
                           "TK4100A-20240103-090000-10.hex", "TK520B-20240104-090000.hex", "notes-20200101-000000.txt",
                           "mine.hex"}) {
    dir.Write(name, "x");
  }
  const PrunedBackups pruned = PruneBackups(dir.path().string(), 3);
  EXPECT_FALSE(pruned.error);
  EXPECT_EQ(pruned.removed, 3);
  EXPECT_EQ(names(), (std::set<std::string>{"TK4100A-366000001-20240101-090000.hex", "TK4100A-20240103-090000-10.hex",
                                            "TK520B-20240104-090000.hex", "notes-20200101-000000.txt", "mine.hex"}));

  MemoryPreferenceStore prefs;
  EXPECT_EQ(BackupsToKeep(prefs), 50);
  for (const char* bad : {"0", "-3", "many"}) {
    prefs.Save("Backups", "Keep", bad);
    EXPECT_EQ(BackupsToKeep(prefs), 50) << bad;
  }
  prefs.Save("Backups", "Keep", "7");
  EXPECT_EQ(BackupsToKeep(prefs), 7);
}

}  // namespace
}  // namespace qm47
