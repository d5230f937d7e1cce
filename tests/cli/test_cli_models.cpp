// Commands given no --model take the model from their file; diff compares two files of one model.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"

using namespace qm47::testing;

namespace {

using Cli = CliFolder;

// The file text with the first line that starts with `from` starting with `to` instead.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find("\r\n" + from);
  if (at != std::string::npos) text.replace(at + 2, from.size(), to);
  return text;
}

}  // namespace

TEST(CliModels, FilesOfEveryModelOpenWithoutNamingTheModel) {
  Cli cli;
  // The catalogue's default is model 1: the others open only when taken from the file.
  // A new settings file and a new image hold the same defaults.
  for (const std::string m : {"1", "2", "3", "4"}) {
    ASSERT_EQ(cli("--model " + m + " new a.hex").exitCode, 0);
    ASSERT_EQ(cli("--model " + m + " new a.dat").exitCode, 0);
    CliResult r = cli("convert a.hex b.dat");
    ASSERT_EQ(r.exitCode, 0) << "model " << m << ": " << r.err;
    EXPECT_TRUE(cli.dir.Read("b.dat") == cli.dir.Read("a.dat")) << "model " << m;
    r = cli("convert a.dat b.hex");
    ASSERT_EQ(r.exitCode, 0) << "model " << m << ": " << r.err;
    EXPECT_TRUE(cli.dir.Read("b.hex") == cli.dir.Read("a.hex")) << "model " << m;
  }
  // A name stands for its number, in any case; --model still overrides the file.
  ASSERT_EQ(cli("--model tk7100C new named.hex").exitCode, 0);
  ASSERT_EQ(cli("--model 3 new numbered.hex").exitCode, 0);
  EXPECT_EQ(cli.dir.Read("named.hex"), cli.dir.Read("numbered.hex"));
  EXPECT_TRUE(SaysWhy(cli("--model 1 dump named.hex"), "ModelType Error !!", {"'named.hex'", "model 3 (TK7100C)"}));
  EXPECT_EQ(cli("--model TK9 models").exitCode, 2);

  // An image whose two model code words differ fits no model, named or not.
  std::string mixed = cli.dir.Read("numbered.hex");
  mixed[0x3FFE] = '\x02';
  mixed[0x3FFF] = '\x08';  // 520 where the first word says 7100
  cli.dir.Write("mixed.hex", mixed);
  EXPECT_TRUE(SaysWhy(cli("convert mixed.hex mixed.dat"), "ModelType Error !!", {"two different model codes"}));
  EXPECT_FALSE(std::filesystem::exists(cli.dir / "mixed.dat"));

  const CliResult list = cli("models");
  ASSERT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out.substr(0, list.out.find("\n\n")),
            "MODEL\tNAME\tCODE\tATIS\tSCRAMBLER\n1\tTK4100A\t4100\tyes\tyes\n2\tTK520B\t520\tyes\tno\n"
            "3\tTK7100C\t7100\tno\tyes\n4\tTK-nnnn\t0\tno\tno");
}

TEST(CliModels, DiffNamesTheChangedKeysAndSaysByItsStatus) {
  Cli cli;
  ASSERT_EQ(cli("--model 2 new a.hex").exitCode, 0);
  ASSERT_EQ(cli("convert a.hex a.dat").exitCode, 0);
  CliResult r = cli("diff a.hex a.dat");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "");

  std::string edited = Replaced(cli.dir.Read("a.dat"), "Rotary=0", "Rotary=1");
  edited = Replaced(edited, "User MMSI=#", "User MMSI=#366123456");
  cli.dir.Write("b.dat", edited);
  r = cli("diff a.hex b.dat");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "");
  // Nine typed digits read as the MMSI the pages store for them.
  EXPECT_EQ(r.out, "[Common Setup] Rotary: 0 -> 1\n[DSC Setup (Basic Setup)] User MMSI: \"\" -> 3661234560\n");

  // Files of two models: said so on stderr, nothing on stdout, and no --model to try, which
  // would only lead from one file's model to the other's.
  ASSERT_EQ(cli("--model 3 new other.hex").exitCode, 0);
  r = cli("diff a.hex other.hex");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "qm47-cli diff: 'other.hex' holds settings of model 3 (TK7100C), 'a.hex' of model 2 (TK520B): "
                   "files of different models cannot be compared\n");
  EXPECT_EQ(cli("diff a.hex").exitCode, 2);
  EXPECT_EQ(cli("diff a.hex notes.txt").exitCode, 2);
}
