// A directory edited in a spreadsheet goes back into a settings file through qm47-cli; a
// refused cell writes nothing and says where (which cells are refused is the editor's test).
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"

using namespace qm47::testing;

TEST(CliCsv, ExportEditImportAndRefuseABadCell) {
  CliFolder cli("cli-csv");
  ASSERT_EQ(cli("--model 1 new radio.dat").exitCode, 0);
  CliResult r = cli("--model 1 export-csv --list individual radio.dat dir.csv");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string csv = cli.dir.Read("dir.csv");
  ASSERT_EQ(csv.substr(0, csv.find("\r\n")), "Enable,TagName,Mmsid");

  const std::size_t entry1 = csv.find("\r\n") + 2;
  csv.replace(entry1, csv.find("\r\n", entry1) - entry1, "1,\"HOME, PORT\",211234567");
  cli.dir.Write("dir.csv", csv);
  r = cli("--model 1 import-csv --list individual dir.csv radio.dat out.dat");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string dat = cli.dir.Read("out.dat");
  EXPECT_NE(dat.find("[CHMMSID1]\r\nEnable=1\r\nTagName=#HOME, PORT\r\nMmsid=2112345670\r\n"), std::string::npos);

  csv.replace(csv.find("211234567"), 9, "2112345");
  cli.dir.Write("dir.csv", csv);
  r = cli("--model 1 import-csv --list individual dir.csv radio.dat bad.dat");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Row 2, column Mmsid: \"2112345\""), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(cli.dir / "bad.dat"));
}
