// What qm47-cli says about itself: the help texts, the version and advice on a misspelt command.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qm47::cli {

struct CommandHelp {
  const char* name;
  const char* synopsis;     // after "qm47-cli [OPTIONS] "
  const char* summary;  // one line for the command list
  const char* details;  // what it accepts, its own options
};

const std::vector<CommandHelp>& CommandHelps();
std::optional<CommandHelp> FindCommandHelp(const std::string& name);

std::string GeneralHelp();
std::string CommandHelpText(const CommandHelp& help);
std::string VersionText(const std::string& program);

// The command nearest to a misspelt one (at most two edits away), if any.
std::optional<std::string> SuggestCommand(const std::string& word);

}  // namespace qm47::cli
