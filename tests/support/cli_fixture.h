// A scratch data folder with the four catalogue models, and qm47-cli run against it.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "run_cli.h"

namespace qm47::testing {

inline constexpr const char* kCatalogue =
    "[model1]\nuse=1\natis=1\nscrambler=1\n[model2]\nuse=1\natis=1\nscrambler=0\n"
    "[model3]\nuse=1\natis=0\nscrambler=1\n[model4]\nuse=1\natis=0\nscrambler=0\n";

struct CliFolder {
  explicit CliFolder(const std::string& name = "cli") : dir(name) { dir.Write("global.ini", kCatalogue); }

  CliResult operator()(const std::string& args) const { return RunIn(dir, "qm47-cli", DataDir() + args); }

  std::string DataDir() const { return "--data-dir " + Quote(dir.path().string()) + " "; }

  TempDir dir;
};

// The documented message on a line of its own, then one line that holds every part
// (the file or folder, the reason, the advice).
inline ::testing::AssertionResult SaysWhy(const CliResult& r, const std::string& message,
                                          const std::vector<std::string>& parts) {
  const auto first = r.err.find('\n');
  if (first == std::string::npos || r.err.substr(0, first) != message) {
    return ::testing::AssertionFailure() << "first line is not '" << message << "' in:\n" << r.err;
  }
  const std::string detail = r.err.substr(first + 1);
  if (detail.empty() || detail.find('\n') != detail.size() - 1) {
    return ::testing::AssertionFailure() << "not one detail line after '" << message << "':\n" << r.err;
  }
  for (const auto& part : parts) {
    if (detail.find(part) == std::string::npos) return ::testing::AssertionFailure() << "no '" << part << "' in: " << detail;
  }
  return ::testing::AssertionSuccess();
}

inline int Byte(const std::string& bytes, std::size_t at) { return static_cast<unsigned char>(bytes.at(at)); }

}  // namespace qm47::testing
