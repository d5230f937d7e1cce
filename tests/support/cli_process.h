// qm47-cli (or qm47-sim) started in the background, for a test to interrupt while it works.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "run_cli.h"

namespace qm47::testing {

class CliProcess {
 public:
  // `name` `args` in `dir` with a private HOME there, as RunIn runs it; standard error
  // goes to `errFd` (a file or a terminal), standard output to dir/stdout.txt; `env` adds
  // NAME=VALUE words to its environment.
  CliProcess(const TempDir& dir, const std::vector<std::string>& args, int errFd,
             std::vector<std::string> env = {}, const std::string& name = "qm47-cli") {
    const std::string program = BinDir() + "/" + name;
    const std::string folder = dir.path().string();
    const std::string home = dir / "home";
    const std::string config = dir / "home/.config";
    const std::string out = dir / "stdout.txt";
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int in = ::open("/dev/null", O_RDONLY);
      if (o < 0 || in < 0 || ::chdir(folder.c_str()) != 0) ::_exit(127);
      ::dup2(in, STDIN_FILENO);
      ::dup2(o, STDOUT_FILENO);
      ::dup2(errFd, STDERR_FILENO);
      ::setenv("HOME", home.c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
      ::unsetenv("XDG_DATA_HOME");
      for (auto& e : env) ::putenv(e.data());
      // As a program in the foreground, whatever the test runner ignores.
      std::signal(SIGINT, SIG_DFL);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
  }
  ~CliProcess() {
    if (pid_ > 0 && !ended_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  void Signal(int signal) const { ::kill(pid_, signal); }

  // Its exit status once it has ended within `limit`; -1 when it has not, or died of a signal.
  int Wait(std::chrono::milliseconds limit) {
    using namespace std::chrono_literals;
    for (auto waited = 0ms; !ended_ && waited < limit; waited += 10ms) {
      if (::waitpid(pid_, &status_, WNOHANG) == pid_) {
        ended_ = true;
      } else {
        std::this_thread::sleep_for(10ms);
      }
    }
    return ended_ && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  }

 private:
  pid_t pid_ = -1;
  bool ended_ = false;
  int status_ = 0;
};

}  // namespace qm47::testing
