// A scratch data folder with the four catalogue models, and qm47-cli run against it.
#pragma once

#include <string>

#include "run_cli.h"

namespace qm47::testing {

inline constexpr const char* kCatalogue =
    "[model1]\nuse=1\natis=1\nscrambler=1\n[model2]\nuse=1\natis=1\nscrambler=0\n"
    "[model3]\nuse=1\natis=0\nscrambler=1\n[model4]\nuse=1\natis=0\nscrambler=0\n";

struct CliFolder {
  explicit CliFolder(const std::string& name) : dir(name) { dir.Write("global.ini", kCatalogue); }

  CliResult operator()(const std::string& args) const { return RunIn(dir, "qm47-cli", DataDir() + args); }

  // As above, with every file the program writes capped at `kilobytes` (a full disk).
  CliResult WithFileSizeLimit(int kilobytes, const std::string& args) const {
    return RunIn(dir, "qm47-cli", DataDir() + args, "trap '' XFSZ; ulimit -f " + std::to_string(kilobytes) + "; ");
  }

  std::string DataDir() const { return "--data-dir " + Quote(dir.path().string()) + " "; }

  TempDir dir;
};

inline int Byte(const std::string& bytes, std::size_t at) { return static_cast<unsigned char>(bytes.at(at)); }

}  // namespace qm47::testing
