// report: not built yet.
#include <iostream>

#include "cli/cli.h"

namespace qm47::cli {

int RunReport(Context&, const std::vector<std::string>&) {
  std::cerr << "qm47-cli report: the settings report is not available in this build." << std::endl;
  return kFailed;
}

}  // namespace qm47::cli
