// The look at a save target before a read, and the folder that keeps a read whose save failed.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <random>
#include <regex>
#include <set>

#include "files/backups.h"
#include "files/preferences.h"
#include "model/models.h"
#include "temp_dir.h"

namespace qm47 {
namespace {

namespace fs = std::filesystem;
using qm47::testing::TempDir;

// What a read of a radio of `model` leaves: its image, the model code in both code words.
std::string ImageOf(int model) {
  std::string bytes(kImageSize, '\xFF');
  const std::uint16_t code = ModelCode(model).value();
  for (const Address at : {ModelCodeAddresses().first, ModelCodeAddresses().second}) {
    bytes[at] = static_cast<char>(code >> 8);
    bytes[at + 1] = static_cast<char>(code & 0xFF);
  }
  return bytes;
}

std::set<std::string> Names(const fs::path& dir) {
  std::set<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
  return out;
}

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
  // Oldest first; the same second twice tells them apart by the number added.
  for (const char* name : {"TK4100A-366000001-20240101-090000.hex", "TK4100A-20240102-090000.hex",
                           "TK4100A-20240103-090000.hex", "TK4100A-20240103-090000-2.hex",
                           "TK4100A-20240103-090000-10.hex"}) {
    dir.Write(name, ImageOf(1));
  }
  dir.Write("TK520B-20240104-090000.hex", ImageOf(2));
  dir.Write("notes-20200101-000000.txt", ImageOf(1));
  dir.Write("mine.hex", ImageOf(1));
  const PrunedBackups pruned = PruneBackups(dir.path().string(), 3);
  EXPECT_FALSE(pruned.error);
  EXPECT_EQ(pruned.removed, 3);
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"TK4100A-366000001-20240101-090000.hex",
                                                      "TK4100A-20240103-090000-10.hex", "TK520B-20240104-090000.hex",
                                                      "notes-20200101-000000.txt", "mine.hex"}));

  MemoryPreferenceStore prefs;
  EXPECT_EQ(BackupsToKeep(prefs), 50);
  for (const char* bad : {"0", "-3", "many"}) {
    prefs.Save("Backups", "Keep", bad);
    EXPECT_EQ(BackupsToKeep(prefs), 50) << bad;
  }
  prefs.Save("Backups", "Keep", "7");
  EXPECT_EQ(BackupsToKeep(prefs), 7);
}

// Older than every real backup, each decoy would be the first to go if pruning took it
// for one of its own.
TEST(Backups, PruneBackups_RemovesOnlyWhatAReadWrote) {
  TempDir dir("decoys");
  const fs::path folder = dir.path() / "backups";
  const auto write = [&](const std::string& name, const std::string& bytes) { dir.Write("backups/" + name, bytes); };
  std::mt19937 random(47);
  std::string noise(kImageSize, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  const std::map<std::string, std::string> decoys = {
      {"TK4100A-19990101-000000.hex", "my notes on the radio\n"},
      {"TK4100A-19990102-000000.hex", noise},
      {"TK4100A-19990103-000000.hex", ImageOf(1)},  // made read-only below
      {"TK4100A-19991301-000000.hex", ImageOf(1)},
      {"TK4100A-19990230-000000.hex", ImageOf(1)},
      {"TK4100A-19990104-240000.hex", ImageOf(1)},
      {"TK4100A-19990105-006000.hex", ImageOf(1)},
      {"TK4100A-19990106-000060.hex", ImageOf(1)},
      {"TK4100A-19990107-000000.hex", ImageOf(2)},
      {"TK4100A-000000000-19990108-000000.hex", ImageOf(1)},
      {"TK4100A-000000000-19990109-000000.hex", ImageOf(1)},
      {"TK4100A-19990109-000000-1.hex", ImageOf(1)},
      {"TK4100A-19990111-000000.hex", ImageOf(1) + "more"},
  };
  for (const auto& [name, bytes] : decoys) write(name, bytes);
  fs::permissions(folder / "TK4100A-19990103-000000.hex", fs::perms::owner_read | fs::perms::group_read);
  // Another user's file, where this user may give one away (root in CI).
  write("TK4100A-19990112-000000.hex", ImageOf(1));
  const bool othersFile = ::chown((folder / "TK4100A-19990112-000000.hex").c_str(), 65534, 65534) == 0;
  if (!othersFile) fs::remove(folder / "TK4100A-19990112-000000.hex");
  dir.Write("elsewhere.hex", ImageOf(1));
  fs::create_symlink(dir.path() / "elsewhere.hex", folder / "TK4100A-19990110-000000.hex");
  for (const char* name : {"TK4100A-20240101-090000.hex", "TK4100A-20240102-090000.hex", "TK4100A-20240103-090000.hex",
                           "TK4100A-20240103-090000-2.hex"}) {
    write(name, ImageOf(1));
  }
  // Model 4's code is 0: an image of zeros is one of its backups, leap day and all.
  write("TK-nnnn-20240229-235959.hex", std::string(kImageSize, '\0'));
  write("TK-nnnn-366000001-20240228-000000.hex", std::string(kImageSize, '\0'));
  write("TK-nnnn-366000001-20240227-000000.hex", std::string(kImageSize, '\0'));

  const PrunedBackups pruned = PruneBackups(folder.string(), 1);
  EXPECT_FALSE(pruned.error);
  std::set<std::string> expected = {"TK4100A-19990110-000000.hex", "TK4100A-20240103-090000-2.hex",
                                    "TK-nnnn-20240229-235959.hex", "TK-nnnn-366000001-20240228-000000.hex"};
  for (const auto& decoy : decoys) expected.insert(decoy.first);
  if (othersFile) expected.insert("TK4100A-19990112-000000.hex");
  EXPECT_EQ(Names(folder), expected);
  EXPECT_EQ(pruned.removed, 4);
  EXPECT_EQ(dir.Read("elsewhere.hex"), ImageOf(1));
}

}  // namespace
}  // namespace qm47
