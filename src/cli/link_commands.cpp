// read, program, clear, ports: not built yet.
#include <iostream>

#include "cli/cli.h"

namespace qm47::cli {

namespace {
int NotYet(const char* what) {
  std::cerr << "qm47-cli " << what << ": radio transfers are not available in this build." << std::endl;
  return kFailed;
}
}  // namespace

int RunRead(Context&, const std::vector<std::string>&) { return NotYet("read"); }
int RunProgram(Context&, const std::vector<std::string>&) { return NotYet("program"); }
int RunClear(Context&, const std::vector<std::string>&) { return NotYet("clear"); }
int RunPorts(Context&, const std::vector<std::string>&) { return NotYet("ports"); }

}  // namespace qm47::cli
