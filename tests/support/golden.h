// The report goldens in tests/report/golden, which the report, CLI and window tests share.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qm47::testing {

inline std::filesystem::path GoldenPath(const std::string& name) {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "report" / "golden" / name;
}

// The golden's bytes, or "" when it is missing.
inline std::string GoldenText(const std::string& name) {
  std::ifstream f(GoldenPath(name), std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

}  // namespace qm47::testing
