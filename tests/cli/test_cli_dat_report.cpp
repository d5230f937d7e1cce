#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "golden.h"

using namespace qm47::testing;

using Cli = CliFolder;

TEST(CliDat, ReportOfAFreshFileIsTheGoldenTextAndCrLfAndItsImageReportsAndDumpsTheSame) {
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

  // An image of the same settings reports the same text, and a dump of the settings file
  // shows the image a hex save would write.
  ASSERT_EQ(cli("--model 1 convert fresh1.dat fresh1.hex").exitCode, 0);
  r = cli("--model 1 report fresh1.hex");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(r.out == golden1 + "\r\n");
  r = cli("--model 1 dump fresh1.hex");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(r.out.empty());
  EXPECT_EQ(cli("--model 1 dump fresh1.dat").out, r.out);
}

