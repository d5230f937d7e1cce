// qm47-sim's own command line, and its link going when it goes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <regex>
#include <thread>

#include "cli_process.h"

namespace {

using namespace std::chrono_literals;
using namespace qm47::testing;

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(Sim, CommandLine_VersionAndUnknownOptions) {
  TempDir dir("sim-options");
  CliResult r = RunIn(dir, "qm47-sim", "--version");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(std::regex_match(r.out, std::regex("qm47-sim [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << r.out;
  for (const std::string args : {"--bogus", "--bogus 3", "--model 1 --bogus"}) {
    r = RunIn(dir, "qm47-sim", args);
    EXPECT_EQ(r.exitCode, 2) << args;
    EXPECT_EQ(FirstLine(r.err), "qm47-sim: unknown option --bogus") << args;
  }
  r = RunIn(dir, "qm47-sim", "--link");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(FirstLine(r.err), "qm47-sim: --link needs a value");
}

// qm47-sim with --link radio.pty and its standard error on a terminal of ours, as when it
// runs in a terminal window. It is not the terminal's session, so a hang-up sends it no
// signal: it goes when the terminal goes (signal 0 here) or when it is stopped.
TEST(Sim, Link_RemovedWhenItsTerminalGoesAwayOrItIsStopped) {
  TempDir dir("sim-link");
  const auto link = dir.path() / "radio.pty";
  for (const int signal : {0, SIGINT, SIGTERM, SIGHUP}) {
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);  // not held by the child
    ASSERT_TRUE(terminal >= 0 && ::grantpt(terminal) == 0 && ::unlockpt(terminal) == 0);
    const int side = ::open(::ptsname(terminal), O_RDWR | O_NOCTTY);
    CliProcess sim(dir, {"--link", "radio.pty", "--no-throttle"}, side, {}, "qm47-sim");
    ::close(side);
    for (int i = 0; i < 500 && !std::filesystem::is_symlink(link); ++i) std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(std::filesystem::is_symlink(link)) << signal;
    if (signal) {
      sim.Signal(signal);
    } else {
      ::close(terminal);
    }
    EXPECT_EQ(sim.Wait(2s), 0) << signal;
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << signal;
    if (signal) ::close(terminal);
  }
}

}  // namespace
