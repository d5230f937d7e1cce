#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "files/data_folder.h"
#include "files/error_log.h"
#include "files/ini_file.h"
#include "files/preferences.h"
#include "temp_dir.h"

using namespace qm47;
using qm47::testing::TempDir;
namespace fs = std::filesystem;

TEST(Catalogue, ValuesFollowTheProfileRules) {
  const IniFile ini = IniFile::Parse(
      "[model1]\r\nuse=#1\r\natis = True \r\n"
      "[MODEL2]\nUSE=<NONE>\nlong=" + std::string(200, 'x') + "\nempty=\n"
      "; a comment\r[model3]\ruse=1\ruse=2\r");  // CR LF, LF and a lone CR each end a line
  EXPECT_EQ(ReadCatalogueValue(ini, "model1", "use"), "1");
  EXPECT_EQ(ReadCatalogueValue(ini, "model1", "atis"), "True");
  EXPECT_EQ(ReadCatalogueValue(ini, "model2", "use"), "");  // a literal <NONE> is missing
  EXPECT_EQ(ReadCatalogueValue(ini, "model2", "long").size(), 127u);
  EXPECT_EQ(ReadCatalogueValue(ini, "model2", "empty"), "");
  EXPECT_EQ(ReadCatalogueValue(ini, "model3", "use"), "1");  // the first of two keys
  EXPECT_EQ(ReadCatalogueValue(ini, "model9", "use"), "");
  EXPECT_EQ(ReadCatalogueValue(IniFile::Load("/nonexistent/global.ini"), "model1", "use"), "");
  const IniFile hashOnly = IniFile::Parse("[m]\nk=##x\n");
  EXPECT_EQ(ReadCatalogueValue(hashOnly, "m", "k"), "#x");  // only one "#" goes
}

TEST(Preferences, NumbersAndFlagsAreReadLeniently) {
  EXPECT_EQ(PreferenceInt("3", 1), 3);
  EXPECT_EQ(PreferenceInt(" 02x", 1), 2);
  EXPECT_EQ(PreferenceInt("abc", 1), 1);
  EXPECT_EQ(PreferenceInt("", 7), 7);
  EXPECT_EQ(PreferenceInt("99999999999999999999", 4), 4);
  EXPECT_TRUE(PreferenceFlag("True", false));
  EXPECT_TRUE(PreferenceFlag("1", false));
  EXPECT_TRUE(PreferenceFlag("-1", false));
  EXPECT_FALSE(PreferenceFlag("false", true));
  EXPECT_FALSE(PreferenceFlag("0", true));
  EXPECT_TRUE(PreferenceFlag("maybe", true));
}

TEST(ErrorLog, AppendsOneLinePerFaultOnlyInDebugMode) {
  const TempDir dir("files-log");
  const auto when = std::chrono::system_clock::now();
  ErrorLog quiet(dir / "err.log", false, [&] { return when; });
  quiet.WriteErrorLog("frmMain.SaveFileAs", {53, "File not found"});
  EXPECT_FALSE(fs::exists(dir / "err.log"));

  dir.Write("err.log", "old line\r\n");
  ErrorLog log(dir / "err.log", true, [&] { return when; });
  log.WriteErrorLog("frmMain.SaveFileAs", {53, "File not found"});
  log.WriteErrorLog("frmRadio.PortOpen", {70, "Permission denied"});
  const std::string text = dir.Read("err.log");
  EXPECT_EQ(text.rfind("old line\r\n", 0), 0u);
  const auto first = text.find(":frmMain.SaveFileAs -> 53File not found\r\n");
  const auto second = text.find(":frmRadio.PortOpen -> 70Permission denied\r\n");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  EXPECT_LT(first, second);
  EXPECT_NE(ErrorLog::FormatEntry(when, "s", {1, "x"}).find(','), std::string::npos);

  ErrorLog nowhere("/nonexistent/dir/err.log", true);
  nowhere.WriteErrorLog("frmMain.SaveFileAs", {1, "x"});  // never fails loudly
}

TEST(DataFolder, OverrideThenProgramFolderThenShareBesideItThenInstalledFolder) {
  const TempDir scratch("files-data");
  const fs::path& dir = scratch.path();
  const std::string bin = scratch / "bin";
  EXPECT_EQ(ResolveDataFolder("/override", bin, "/usr/share/qm47"), "/override");
  EXPECT_EQ(ResolveDataFolder("", bin, "/usr/share/qm47"), "/usr/share/qm47");
  fs::create_directories(dir / "share/qm47");
  scratch.Write("share/qm47/global.ini", "[model1]\nuse=1\n");
  EXPECT_EQ(ResolveDataFolder("", bin, "/usr/share/qm47"), (dir / "share/qm47").string());
  scratch.Write("global.ini", "[model1]\nuse=1\n");
  EXPECT_EQ(ResolveDataFolder("", dir.string(), "/usr/share/qm47"), dir.string());
  EXPECT_EQ(ErrorLogPath(dir.string(), "/state"), scratch / "err.log");
  EXPECT_EQ(ErrorLogPath("/nonexistent/data", scratch / "state"), (dir / "state" / "err.log").string());
}
