#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"
#include "golden.h"

using namespace qm47::testing;

using Cli = CliFolder;

TEST(CliDat, ReportOfAFreshFileIsTheGoldenTextAndCrLf) {
  Cli cli;
  ASSERT_EQ(cli("--model 1 new fresh1.dat").exitCode, 0);
  ASSERT_EQ(cli("--model 4 new fresh4.DAT").exitCode, 0);
  const std::string golden1 = GoldenText("fresh_model1.txt");
  const std::string golden4 = GoldenText("fresh_model4.txt");
  ASSERT_FALSE(golden1.empty());
  ASSERT_FALSE(golden4.empty());

  CliResult r = cli("--model 1 report fresh1.dat");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(r.out == golden1 + "\r\n");
  EXPECT_EQ(r.err, "");

  r = cli("--model 4 report fresh4.DAT out.txt");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(cli.dir.Read("out.txt") == golden4 + "\r\n");

  // An image of the same settings reports the same text.
  ASSERT_EQ(cli("--model 1 convert fresh1.dat fresh1.hex").exitCode, 0);
  r = cli("--model 1 report fresh1.hex");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(r.out == golden1 + "\r\n");
}

TEST(CliDat, FileOfAnotherModelIsRefused) {
  Cli cli;
  ASSERT_EQ(cli("--model 2 new other.dat").exitCode, 0);
  cli.dir.Write("empty.dat", "");
  cli.dir.Write("notes.dat", "[MAIN]\r\nMODEL=TK520B\r\n");
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"convert other.dat out.hex", {"'other.dat'", "model 2 (TK520B)", "--model 2"}},
      {"report other.dat", {"'other.dat'", "model 2 (TK520B)", "this is model 1"}},
      {"convert missing.dat out.hex", {"'missing.dat' does not exist"}},
      {"convert empty.dat out.hex", {"'empty.dat' is empty"}},
      {"convert notes.dat out.hex", {"'notes.dat'", "MODELTYPE"}},
  };
  for (const auto& [command, why] : cases) {
    const CliResult r = cli("--model 1 " + command);
    EXPECT_EQ(r.exitCode, 1) << command;
    EXPECT_TRUE(SaysWhy(r, "different model!!", why)) << command;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(cli.dir / "out.hex"));
}

// A full disk and the other storage faults are in the storage fault tests.
TEST(CliDat, SavingIntoAMissingFolderSaysSo) {
  Cli cli;
  ASSERT_EQ(cli("--model 1 new big.dat").exitCode, 0);
  CliResult r = cli("--model 1 new missing/new.dat");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(SaysWhy(r, "FileSave Error!!", {"'new.dat'", "missing'", "folder does not exist"}));
  r = cli("--model 1 report big.dat missing/report.txt");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(SaysWhy(r, "File not found", {"'report.txt'", "missing'"}));
}

TEST(CliDat, DumpOfASettingsFileShowsTheImageAHexSaveWouldWrite) {
  Cli cli;
  ASSERT_EQ(cli("--model 2 new a.dat").exitCode, 0);
  ASSERT_EQ(cli("--model 2 convert a.dat a.hex").exitCode, 0);
  const CliResult fromDat = cli("--model 2 dump a.dat");
  const CliResult fromHex = cli("--model 2 dump a.hex");
  ASSERT_EQ(fromDat.exitCode, 0) << fromDat.err;
  EXPECT_FALSE(fromDat.out.empty());
  EXPECT_EQ(fromDat.out, fromHex.out);
}
