// What qm47-cli says about itself and about failures that are not a file's or a radio's.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "cli_fixture.h"

using namespace qm47::testing;

using Cli = CliFolder;

TEST(CliDiagnostics, CommandLineConventions) {
  Cli cli;
  // Usage errors, told apart by their status: file names are checked before anything is
  // read (a.dat does not exist yet), and one dash starts one option, not -h and -v.
  for (const char* args : {"", "frobnicate", "help frobnicate", "--bogus new a.hex", "--model x new a.hex",
                           "--model 11 new a.hex", "new", "new a.bin", "convert a.hex", "--model 1 convert a.dat a.txt",
                           "--model 1 report a.dat a.dat", "--model 1 report a.txt", "--model 1 report",
                           "--model 1 clear mmsi", "-hv"}) {
    EXPECT_EQ(cli(args).exitCode, 2) << "'" << args << "'";
  }
  EXPECT_FALSE(std::filesystem::exists(cli.dir.path() / "a.hex"));
  CliResult r = cli("--version");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.rfind("qm47-cli ", 0), 0u);
  for (const std::string asked : {"help read", "read --help", "--help read"}) {
    r = cli(asked);
    EXPECT_EQ(r.exitCode, 0) << asked;
    EXPECT_EQ(r.out.rfind("Usage: qm47-cli [OPTIONS] read --port DEV OUT\n", 0), 0u) << asked;
  }
  EXPECT_NE(cli("--help").out.find("convert [--accept-changes] IN OUT"), std::string::npos);

  // Global options after the command, and "--" before a name that looks like an option.
  r = cli("new a.dat --model 3 --debug");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(cli.dir.Read("a.dat").find("MODELTYPE=3\r\n"), std::string::npos);
  r = cli("--model 2 new -- --odd.dat");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(cli.dir.Read("--odd.dat").find("MODELTYPE=2\r\n"), std::string::npos);
  EXPECT_EQ(cli("--model 2 new --odd.dat").exitCode, 2);

  // A command refuses another command's options; "--verify" alone leaves the next word a
  // file, and a port that is not there is the port's error.
  r = cli("new --port 1 b.hex");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "qm47-cli new: unknown option --port");
  r = cli("program --port ./no-such-port --verify a.dat");
  EXPECT_EQ(r.exitCode, 1) << r.err;
  const std::vector<std::string> lines = Lines(r.err);
  ASSERT_GE(lines.size(), 2u) << r.err;
  EXPECT_EQ(lines[0], "port inicialize error!!");
  EXPECT_EQ(lines[1], "No such device (" + cli.dir / "no-such-port" +
                          "). Check that the programming cable and its USB adapter are plugged in, and that the port "
                          "is one 'qm47-cli ports' lists.");

  r = cli("raed --port 1 x.hex");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "qm47-cli raed: unknown command; did you mean 'read'?");
  r = cli("");
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "qm47-cli: no command given");
}

TEST(CliDiagnostics, UnknownModelsAndDestinationsSayWhatThereIs) {
  Cli cli;
  EXPECT_TRUE(SaysWhy(cli("--model 7 new a.hex"), "Unknown model!!",
                      {"model 7 is not in use", "model 1 (TK4100A), model 2 (TK520B)", "global.ini"}));
  const CliResult none = RunIn(cli.dir, "qm47-cli", "--data-dir " + Quote(cli.dir / "nowhere") + " new a.hex");
  EXPECT_TRUE(SaysWhy(none, "Unknown model!!", {"global.ini was not found", cli.dir / "nowhere"}));
  EXPECT_FALSE(std::filesystem::exists(cli.dir.path() / "a.hex"));

  // The tenth model is as usable as the first.
  std::string ten;
  for (int m = 1; m <= 10; ++m) ten += "[model" + std::to_string(m) + "]\nuse=1\natis=0\nscrambler=0\n";
  cli.dir.Write("global.ini", ten);
  const CliResult tenth = cli("--model 10 new ten.dat");
  ASSERT_EQ(tenth.exitCode, 0) << tenth.err;
  EXPECT_NE(cli.dir.Read("ten.dat").find("MODELTYPE=10\r\n"), std::string::npos);
}

TEST(CliDiagnostics, PipesGivenAsFilesAreRefusedWithoutWaiting) {
  Cli cli;
  for (const char* name : {"pipe.dat", "pipe.hex", "err.log"}) ASSERT_EQ(::mkfifo((cli.dir / name).c_str(), 0600), 0);
  EXPECT_TRUE(SaysWhy(cli("--model 1 convert pipe.dat out.hex"), "FileRead Error!!",
                      {"'pipe.dat'", cli.dir.path().string(), "not a regular file"}));
  EXPECT_TRUE(SaysWhy(cli("--model 1 dump pipe.hex"), "bad file!!", {"'pipe.hex' is not a file"}));
  // In debug mode the fault goes to err.log, which nobody reads here.
  EXPECT_EQ(cli("--debug --model 1 report pipe.dat").exitCode, 1);
}

TEST(CliDiagnostics, OutputThatCannotBeWrittenIsAFailure) {
  Cli cli;
  ASSERT_EQ(cli("--model 1 new a.dat").exitCode, 0);
  for (const std::string command : {"dump a.dat", "report a.dat"}) {
    const CliResult r = RunIn(cli.dir, "qm47-cli", cli.DataDir() + "--model 1 " + command, "exec >/dev/full; ");
    EXPECT_EQ(r.exitCode, 1) << command;
    EXPECT_NE(r.err.find("could not write to standard output: No space left on device"), std::string::npos)
        << command << ": " << r.err;
  }
}
