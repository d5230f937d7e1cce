// qm47-sim as a child process, up and listening once constructed.
#pragma once

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace qm47::testing {

class SimProcess {
 public:
  // Runs `program args` in `folder`; the device path on its first line says it is listening.
  // Its standard error goes to the file `errPath` when one is named (for --trace).
  SimProcess(const std::string& program, const std::string& folder, std::vector<std::string> args,
             const std::string& errPath = {}) {
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      if (!errPath.empty()) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err < 0) ::_exit(127);
        ::dup2(err, STDERR_FILENO);
        ::close(err);
      }
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(127);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    pollfd p{out[0], POLLIN, 0};
    char c = 0;
    while (::poll(&p, 1, 5000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') device_.push_back(c);
    ::close(out[0]);
  }
  ~SimProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool ok() const { return !device_.empty(); }
  const std::string& device() const { return device_; }

 private:
  pid_t pid_ = -1;
  std::string device_;
};

// Waits up to `limit` for the trace at `tracePath` to show the tool sending `request`.
inline bool ToolSent(const std::string& tracePath, const std::string& request, std::chrono::milliseconds limit) {
  using namespace std::chrono_literals;
  for (auto waited = 0ms; waited < limit; waited += 10ms) {
    std::ifstream f(tracePath, std::ios::binary);
    if (std::string(std::istreambuf_iterator<char>(f), {}).find("tool  > " + request) != std::string::npos) return true;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

}  // namespace qm47::testing
