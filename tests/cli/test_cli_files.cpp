#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"

using namespace qm47::testing;

using Cli = CliFolder;

TEST(CliFiles, NewWritesTheExportedFreshImageOfTheModel) {
  Cli cli;
  const CliResult r = cli("--model 2 new radio.hex");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string img = cli.dir.Read("radio.hex");
  ASSERT_EQ(img.size(), 16384u);
  EXPECT_EQ(Byte(img, 0), 0x02);
  EXPECT_EQ(Byte(img, 1), 0x08);
  EXPECT_EQ(Byte(img, 0x3FFE), 0x02);
  EXPECT_EQ(Byte(img, 0x007A), 0x55) << "normalised for export (its checksum is the model tests')";
  // Channel 16 of the USA plan is enabled and named.
  EXPECT_EQ(img.substr(0x0C00 + 12 * 32, 8), "DISTRESS");

  ASSERT_EQ(cli("--model 3 new OTHER.HEX").exitCode, 0);
  EXPECT_EQ(Byte(cli.dir.Read("OTHER.HEX"), 1), 0xBC);
  // A name in another encoding than the user's reaches the disk byte for byte.
  ASSERT_EQ(cli("--model 3 new caf\xe9.hex").exitCode, 0);
  EXPECT_TRUE(std::filesystem::exists(cli.dir.path() / "caf\xe9.hex"));
}

TEST(CliFiles, ConvertReproducesAndNormalisesAnImage) {
  Cli cli;
  ASSERT_EQ(cli("--model 1 new a.hex").exitCode, 0);
  std::string crafted = cli.dir.Read("a.hex");
  crafted[0x0004] = 1;     // current group INTL ...
  crafted[0x00C0] = 0;     // ... which is not usable
  crafted[0x3FF0] = 0x42;  // bytes the program does not use travel unchanged
  cli.dir.Write("crafted.hex", crafted);
  const CliResult r = cli("--model 1 convert crafted.hex out.hex");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string out = cli.dir.Read("out.hex");
  EXPECT_EQ(Byte(out, 0x0004), 2);  // normalised: from INTL the next usable group is Canada
  EXPECT_EQ(Byte(out, 0x3FF0), 0x42);
  EXPECT_EQ(Byte(out, 0x00C0), 0);

  const CliResult dump = cli("--model 1 dump out.hex");
  ASSERT_EQ(dump.exitCode, 0);
  EXPECT_EQ(dump.out.rfind("       00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n ----  -- --", 0), 0u);
  EXPECT_NE(dump.out.find("\r\n 3FF0: 42 FF"), std::string::npos);
  EXPECT_NE(dump.out.find("\r\n 0000: 10 04 00 00 02 "), std::string::npos);
}

// The documented message on a line of its own, then the file, the reason and the advice.
TEST(CliFiles, RefusalsPrintTheMessageAndWhyAndLeaveTheOutputAlone) {
  Cli cli;
  ASSERT_EQ(cli("--model 1 new one.hex").exitCode, 0);
  ASSERT_EQ(cli("--model 2 new other.dat").exitCode, 0);
  cli.dir.Write("short.hex", std::string(100, '\0'));
  cli.dir.Write("keep.hex", "previous");
  cli.dir.Write("empty.dat", "");
  cli.dir.Write("notes.dat", "[MAIN]\r\nMODEL=TK520B\r\n");
  cli.dir.Write("image.dat", cli.dir.Read("one.hex"));
  const struct {
    std::string command;
    std::string message;
    std::vector<std::string> why;
  } refusals[] = {
      {"--model 2 convert one.hex keep.hex", "ModelType Error !!",
       {"'one.hex' holds model 1 (TK4100A)", "this is model 2", "--model 1"}},
      {"--model 1 convert short.hex keep.hex", "bad file!!", {"'short.hex' is 100 bytes", "16384"}},
      {"--model 1 convert missing.hex keep.hex", "bad file!!", {"'missing.hex' does not exist"}},
      {"--model 1 convert other.dat keep.hex", "different model!!", {"'other.dat'", "model 2 (TK520B)", "--model 2"}},
      {"--model 1 report other.dat", "different model!!", {"'other.dat'", "model 2 (TK520B)", "this is model 1"}},
      {"--model 1 convert missing.dat keep.hex", "different model!!", {"'missing.dat' does not exist"}},
      {"--model 1 convert empty.dat keep.hex", "different model!!", {"'empty.dat' is empty"}},
      {"--model 1 convert notes.dat keep.hex", "different model!!", {"'notes.dat'", "MODELTYPE"}},
      {"--model 1 convert image.dat keep.hex", "different model!!", {"'image.dat'", "radio image", "convert"}},
      // A full disk and the other storage faults are in the storage fault tests.
      {"--model 1 convert one.hex nofolder/new.hex", "FileSave Error!!",
       {"'new.hex'", "nofolder'", "No such file or directory"}},
      {"--model 1 new nofolder/new.dat", "FileSave Error!!", {"'new.dat'", "nofolder'", "folder does not exist"}},
      {"--model 1 report one.hex nofolder/report.txt", "File not found", {"'report.txt'", "nofolder'"}},
  };
  for (const auto& r : refusals) {
    const CliResult said = cli(r.command);
    EXPECT_EQ(said.exitCode, 1) << r.command;
    EXPECT_TRUE(SaysWhy(said, r.message, r.why)) << r.command;
    EXPECT_EQ(said.out, "") << r.command;
  }
  EXPECT_EQ(cli.dir.Read("keep.hex"), "previous");
  EXPECT_FALSE(std::filesystem::exists(cli.dir.path() / "nofolder"));
}

// A hand-edited .dat: values the pages refuse or the radio cannot hold are listed by
// section and key; convert and program write nothing unless told to accept the changes.
TEST(CliFiles, ValuesThatWouldNotReachTheOutputAsWrittenAreRefusedByName) {
  Cli cli;
  ASSERT_EQ(cli("--model 1 new a.dat").exitCode, 0);
  std::string text = cli.dir.Read("a.dat");
  const auto set = [&](const std::string& key, const std::string& value) {
    const auto at = text.find("\r\n" + key + "=");
    ASSERT_NE(at, std::string::npos) << key;
    const auto end = text.find("\r\n", at + 2);
    text.replace(at + 2, end - at - 2, key + "=" + value);
  };
  set("Resume Time", "99");
  set("User MMSI", "#12345");
  cli.dir.Write("edited.dat", text);

  for (const std::string command : {"convert edited.dat out.dat", "convert edited.dat out.hex",
                                    "program --no-backup --port /nonexistent/tty edited.dat"}) {
    const CliResult r = cli("--model 1 " + command);
    EXPECT_EQ(r.exitCode, 1) << command << "\n" << r.err;
    EXPECT_NE(r.err.find("[Common Setup] Resume Time: \"99\""), std::string::npos) << command << "\n" << r.err;
    EXPECT_NE(r.err.find("[DSC Setup (Basic Setup)] User MMSI"), std::string::npos) << command << "\n" << r.err;
    EXPECT_EQ(r.err.find("port inicialize"), std::string::npos) << "refused before the radio is asked";
  }
  EXPECT_FALSE(std::filesystem::exists(cli.dir / "out.dat"));
  EXPECT_FALSE(std::filesystem::exists(cli.dir / "out.hex"));

  const CliResult accepted = cli("--model 1 convert --accept-changes edited.dat out.dat");
  ASSERT_EQ(accepted.exitCode, 0) << accepted.err;
  EXPECT_NE(accepted.err.find("warning"), std::string::npos) << accepted.err;
  EXPECT_EQ(cli("--model 1 diff a.dat out.dat").exitCode, 0) << "the refused values keep the fresh settings";

  // A file cut short is a change too: what it lacks kept its value.
  cli.dir.Write("cut.dat", text.substr(0, 30000));
  const CliResult cut = cli("--model 1 convert cut.dat cut.hex");
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_NE(cut.err.find("The file lacks "), std::string::npos) << cut.err;
  EXPECT_FALSE(std::filesystem::exists(cli.dir / "cut.hex"));
}

TEST(CliFiles, NewFromADestinationFile) {
  Cli cli;
  ASSERT_EQ(cli("--model 1 new base.hex").exitCode, 0);
  std::string regional = cli.dir.Read("base.hex");
  regional.replace(0x0C00 + 12 * 32, 8, "REGIONAL");
  cli.dir.Write("Eur_1004.ini", regional);
  ASSERT_EQ(cli("--model 1 new --destination eur out.hex").exitCode, 0);
  EXPECT_EQ(cli.dir.Read("out.hex").substr(0x0C00 + 12 * 32, 8), "REGIONAL");
  const CliResult r = cli("--model 1 new --destination asia out2.hex");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(SaysWhy(r, "IniFileRead Error!!", {"'ASIA_1004.ini'", cli.dir.path().string(), "has: EUR"}));
  EXPECT_FALSE(std::filesystem::exists(cli.dir.path() / "out2.hex"));
}
