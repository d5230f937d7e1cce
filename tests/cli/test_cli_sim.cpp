// qm47-sim's own command line, and its link going when it goes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <regex>
#include <thread>

#include "run_cli.h"

namespace {

using namespace std::chrono_literals;
using qm47::testing::BinDir;
using qm47::testing::CliResult;
using qm47::testing::RunIn;
using qm47::testing::TempDir;

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

// qm47-sim with --link radio.pty, its standard streams on a terminal of ours, as when it
// runs in a terminal window. It is not the terminal's session, so a hang-up sends it no signal.
class SimOnTerminal {
 public:
  explicit SimOnTerminal(const TempDir& dir) {
    terminal_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal_ < 0 || ::grantpt(terminal_) != 0 || ::unlockpt(terminal_) != 0) return;
    const std::string side = ::ptsname(terminal_);
    const std::string program = BinDir() + "/qm47-sim";
    const std::string folder = dir.path().string();
    pid_ = ::fork();
    if (pid_ == 0) {
      const int fd = ::open(side.c_str(), O_RDWR | O_NOCTTY);
      if (fd < 0 || ::chdir(folder.c_str()) != 0) ::_exit(127);
      for (int std : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) ::dup2(fd, std);
      ::close(fd);
      ::close(terminal_);
      // As a program started in the foreground, whatever the test runner ignores.
      std::signal(SIGINT, SIG_DFL);
      ::execl(program.c_str(), "qm47-sim", "--link", "radio.pty", "--no-throttle", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // Listening once its first line, the device path, has come.
    pollfd p{terminal_, POLLIN, 0};
    char c = 0;
    while (::poll(&p, 1, 5000) > 0 && ::read(terminal_, &c, 1) == 1 && c != '\n') {
    }
  }
  ~SimOnTerminal() {
    CloseTerminal();
    if (pid_ > 0 && !status_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  SimOnTerminal(const SimOnTerminal&) = delete;
  SimOnTerminal& operator=(const SimOnTerminal&) = delete;

  void CloseTerminal() {
    if (terminal_ >= 0) ::close(terminal_);
    terminal_ = -1;
  }
  void Signal(int signal) const { ::kill(pid_, signal); }
  // True when it exited with status 0 within `limit`.
  bool EndsWithin(std::chrono::milliseconds limit) {
    for (auto waited = 0ms; waited < limit && !status_; waited += 10ms) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
      } else {
        std::this_thread::sleep_for(10ms);
      }
    }
    return status_ && WIFEXITED(*status_) && WEXITSTATUS(*status_) == 0;
  }

 private:
  int terminal_ = -1;
  pid_t pid_ = -1;
  std::optional<int> status_;
};

TEST(Sim, Link_RemovedWhenItsTerminalGoesAwayOrItIsStopped) {
  TempDir dir("sim-link");
  const auto link = dir.path() / "radio.pty";
  {
    SimOnTerminal sim(dir);
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    sim.CloseTerminal();
    EXPECT_TRUE(sim.EndsWithin(2s));
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << "terminal gone";
  }
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SimOnTerminal sim(dir);
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    sim.Signal(signal);
    EXPECT_TRUE(sim.EndsWithin(2s)) << signal;
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << signal;
  }
}

}  // namespace
