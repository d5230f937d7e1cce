// Runs a built executable in a scratch folder and captures what it says.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "temp_dir.h"

namespace qm47::testing {

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string BinDir() {
  const char* dir = std::getenv("QM47_BIN_DIR");
  return dir ? dir : QM47_BUILT_BIN_DIR;
}

inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs `program args` (args already quoted as needed) in `dir` with a private HOME there,
// after the shell commands in `prelude`.
inline CliResult RunIn(const TempDir& dir, const std::string& program, const std::string& args,
                       const std::string& prelude = "") {
  const std::string run = prelude + "exec " + Quote(BinDir() + "/" + program) + " " + args;
  const std::string cmd = "cd " + Quote(dir.path().string()) + " && HOME=" + Quote(dir / "home") +
                          " XDG_CONFIG_HOME=" + Quote(dir / "home/.config") + " sh -c " + Quote(run) + " >" +
                          Quote(dir / "stdout.txt") + " 2>" + Quote(dir / "stderr.txt") + " </dev/null";
  const int status = std::system(cmd.c_str());
  CliResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = dir.Read("stdout.txt");
  r.err = dir.Read("stderr.txt");
  return r;
}

}  // namespace qm47::testing
